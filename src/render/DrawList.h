#pragma once

#include "render/Device.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

class ListMesh;
class ListTexture;
class StepBlender;

// DrawRecord::anchor of a draw that has none.
constexpr uint32_t NoAnchor = UINT32_MAX;

// The render states in force for a draw, indexed by RenderState.
using RenderStateSet = std::array<uint32_t, size_t(RenderState::Count)>;

// The camera and light in force for a draw: they change a few times a frame.
struct DrawCamera {
    Matrix view = MatrixIdentity();
    Matrix projection = MatrixIdentity();
    DirectionalLight light;
    bool lightEnabled = true;
    // Device::SetScreenScale.
    int screenScale = 1;
};

// One draw as the game issued it. The state it was made under lives in the
// list's tables; the record holds their indices.
struct DrawRecord {
    enum class Kind : uint8_t { Clear, Subset, Primitive, Sprite };
    Kind kind = Kind::Subset;
    PrimitiveType primitive = PrimitiveType::TriangleList;
    // Primitive: the vertex format.
    uint32_t fvf = 0;
    // Indices into DrawList::states, worlds, materials and cameras.
    uint32_t states = 0, world = 0, material = 0, camera = 0;
    // Stage 0's texture (null: none); a sprite's own texture.
    const ListTexture* texture = nullptr;
    // Subset: the mesh and its subset.
    const ListMesh* mesh = nullptr;
    // Subset: the subset; Primitive: the first byte in vertexBytes; Sprite:
    // the index in sprites; Clear: the flags.
    uint32_t item = 0;
    // Primitive: the primitive count; Clear: the colour.
    uint32_t count = 0;
    // Clear: the depth to fill.
    float clearZ = 1.0f;
    // What the draw belongs to (Device::SetDrawTag), 0 for nobody; and the
    // index in DrawList::anchors of the point its screen-space vertices were
    // placed by.
    uint64_t tag = 0;
    uint32_t anchor = NoAnchor;
};

// One frame's drawing in the order the game issued it, with the state every
// draw was made under. It refers to no graphics library: a renderer turns it
// into pictures, batching what it can, and tests read it as it is.
struct DrawList {
    std::vector<DrawRecord> records;
    std::vector<RenderStateSet> states;
    std::vector<Matrix> worlds;
    std::vector<Material> materials;
    std::vector<DrawCamera> cameras;
    // The user primitives' vertices, copied as they were given.
    std::vector<unsigned char> vertexBytes;
    std::vector<SpriteDraw> sprites;
    // World points (screen pixels for the pointer) that screen-space draws
    // were placed by.
    std::vector<Vector3> anchors;
    // The meshes and textures the records use, kept for as long as the list
    // is, even when the game lets go of them meanwhile.
    std::vector<std::shared_ptr<const ListMesh>> meshes;
    std::vector<std::shared_ptr<const ListTexture>> textures;

    // Empties the list; the memory stays for the next frame.
    void Clear();
    bool Empty() const { return records.empty(); }
};

// Told when a texture or mesh of a list device goes away, so that whatever a
// renderer made for it on the GPU can go too. Shared between the device and
// everything it made, so a resource that outlives its device forgets safely.
class ListResources {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void Forget(ListTexture& texture) = 0;
        virtual void Forget(ListMesh& mesh) = 0;
    };
    // Null while no renderer listens (or after it went away).
    Listener* listener = nullptr;
};

// A texture kept as its pixels; a renderer uploads its own copy on first use.
class ListTexture {
public:
    ListTexture(int width, int height, std::span<const uint32_t> argb, std::shared_ptr<ListResources> owner);
    ~ListTexture();
    ListTexture(const ListTexture&) = delete;
    ListTexture& operator=(const ListTexture&) = delete;

    const int width, height;
    // ARGB, rows from the top.
    std::vector<uint32_t> argb;
    // The renderer's name for its GPU copy; 0 until it makes one.
    mutable uint32_t gpuName = 0;
    // The stamp of the last list that keeps it (DrawListDevice).
    mutable uint64_t keptBy = 0;

private:
    std::shared_ptr<ListResources> owner;
};

// A static mesh kept on the CPU: the vertices and indices as given, and each
// subset again as a compact part of its own (only the vertices it uses, its
// indices counted from its first vertex, its bounding sphere), which is what
// a renderer that transforms on the CPU reads.
class ListMesh {
public:
    struct Part {
        uint32_t firstVertex = 0, vertexCount = 0;
        uint32_t firstIndex = 0, indexCount = 0;
        Vector3 center;
        float radius = 0;
    };

    ListMesh(std::span<const MeshVertex> vertices, std::span<const uint16_t> indices,
             std::span<const IndexRange> subsets, std::shared_ptr<ListResources> owner);
    ~ListMesh();
    ListMesh(const ListMesh&) = delete;
    ListMesh& operator=(const ListMesh&) = delete;

    std::vector<MeshVertex> vertices;
    std::vector<uint16_t> indices;
    std::vector<IndexRange> subsets;
    // One per subset; their vertices and indices follow each other.
    std::vector<Part> parts;
    std::vector<MeshVertex> partVertices;
    std::vector<uint16_t> partIndices;
    // Every normal is of unit length (within a thousandth).
    bool unitNormals = true;
    // A renderer's buffers for the mesh as given; 0 until it makes them.
    mutable uint32_t gpuVertexBuffer = 0, gpuIndexBuffer = 0;
    // The stamp of the last list that keeps it (DrawListDevice).
    mutable uint64_t keptBy = 0;

private:
    std::shared_ptr<ListResources> owner;
};

// What the game holds of a list device's texture or mesh: a handle sharing it
// with every list that draws it.
class ListTextureHandle : public DeviceTexture {
public:
    explicit ListTextureHandle(std::shared_ptr<const ListTexture> texture)
        : DeviceTexture(texture->width, texture->height), texture(std::move(texture)) {}
    const std::shared_ptr<const ListTexture> texture;
};
class ListMeshHandle : public DeviceMesh {
public:
    explicit ListMeshHandle(std::shared_ptr<const ListMesh> mesh) : mesh(std::move(mesh)) {
        subsetCount = this->mesh->subsets.size();
    }
    const std::shared_ptr<const ListMesh> mesh;
};

// What one frame asked of a device, and what a renderer made of it.
struct DrawStats {
    // Draw and state calls the game made on the device.
    uint32_t drawCalls = 0, stateCalls = 0;
    // Draws and state changes the renderer issued to the graphics library.
    uint32_t draws = 0, stateChanges = 0;
    // Draws left out because they were wholly off the screen.
    uint32_t culled = 0;
    uint32_t vertices = 0, triangles = 0;
};

// A device that keeps what the game draws as a DrawList instead of drawing
// it. Textures and meshes stay on the CPU (ListTexture, ListMesh). As with
// the original API, draws outside BeginScene ... EndScene are refused.
// Flush hands what was recorded to RenderList; Present flushes, shows the
// picture and starts the next frame's counts.
class DrawListDevice : public Device {
public:
    DrawListDevice();
    ~DrawListDevice() override;

    bool BeginScene() override;
    void EndScene() override;
    void Clear(uint32_t flags, uint32_t color, float z) override;
    void Present() override;

    void SetTransform(TransformType type, const Matrix& matrix) override;
    void SetRenderState(RenderState state, uint32_t value) override;
    void SetLight(const DirectionalLight& light) override;
    void LightEnable(bool enable) override;
    void SetMaterial(const Material& material) override;
    void SetTexture(DeviceTexture* texture) override;

    std::unique_ptr<DeviceTexture> CreateTexture(int width, int height, std::span<const uint32_t> argb) override;
    std::unique_ptr<DeviceMesh> CreateMesh(std::span<const MeshVertex> vertices, std::span<const uint16_t> indices,
                                           std::span<const IndexRange> subsets) override;
    void DrawSubset(DeviceMesh& mesh, size_t subset) override;
    void DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) override;

    void BeginSprites() override {}
    void DrawSprite(const SpriteDraw& sprite) override;
    void EndSprites() override {}

    void SetDrawTag(uint64_t tag, const Vector3* anchor) override;
    void SetScreenScale(int scale) override;
    bool SetStepped(bool stepped) override;
    void PresentBetween(float t, int width, int height, float pointerDx, float pointerDy) override;
    bool Stepped() const { return stepped; }

    // The frame being recorded.
    const DrawList& List() const { return list; }
    // The counts of the last presented frame (the last picture, when stepped).
    const DrawStats& LastFrameStats() const { return lastStats; }

    // Renders what was recorded so far (a picture read in mid-frame needs
    // it). While stepped it does nothing: the back buffer holds the last picture.
    void Flush();

protected:
    // Draws the list onto the back buffer, adding to the frame's counts.
    virtual void RenderList(const DrawList& list, DrawStats& stats) = 0;
    // Shows the back buffer (after the frame's last RenderList).
    virtual void ShowPicture() = 0;
    // The listener told when resources go away (the renderer).
    void SetResourceListener(ListResources::Listener* listener) { resources->listener = listener; }
    // Renders what was recorded whenever this many draws are waiting (0:
    // only when the frame is presented), so that a renderer working on other
    // threads starts on them while the game goes on.
    void RenderEvery(size_t records) { renderEvery = records; }

    DrawList list;
    DrawStats stats;

private:
    DrawRecord& Add(DrawRecord::Kind kind);
    // Empties the list for the next draws.
    void StartList();
    // The texture of a record, kept by the list.
    const ListTexture* Keep(const DeviceTexture* texture);

    std::shared_ptr<ListResources> resources;
    bool inScene = false;
    size_t renderEvery = 0;
    bool stepped = false;
    // The last two steps, and the picture made between them.
    std::unique_ptr<StepBlender> steps;
    DrawList picture;
    // The calls of the newest step, for the pictures' counts.
    DrawStats stepStats;

    // The state in force, and whether it changed since it was last written
    // into the list's tables.
    RenderStateSet states{};
    Matrix world = MatrixIdentity();
    DrawCamera camera;
    Material material;
    DeviceTexture* texture = nullptr;
    uint64_t tag = 0;
    // An anchor given with the tag and not yet written into the list.
    std::optional<Vector3> anchorPoint;
    uint32_t anchor = NoAnchor;
    bool statesChanged = true, worldChanged = true, cameraChanged = true, materialChanged = true;
    // Tells one list from the next, for the meshes and textures it keeps.
    uint64_t listStamp = 1;
    DrawStats lastStats;
};
