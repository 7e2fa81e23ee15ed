#include "render/DrawList.h"

#include "render/StepBlender.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void DrawList::Clear() {
    records.clear();
    states.clear();
    worlds.clear();
    materials.clear();
    cameras.clear();
    vertexBytes.clear();
    sprites.clear();
    anchors.clear();
    meshes.clear();
    textures.clear();
}

ListTexture::ListTexture(int width, int height, std::span<const uint32_t> pixels, std::shared_ptr<ListResources> owner)
    : width(width), height(height), argb(pixels.begin(), pixels.end()), owner(std::move(owner)) {}

ListTexture::~ListTexture() {
    if (owner && owner->listener) owner->listener->Forget(*this);
}

ListMesh::ListMesh(std::span<const MeshVertex> allVertices, std::span<const uint16_t> allIndices,
                   std::span<const IndexRange> ranges, std::shared_ptr<ListResources> owner)
    : vertices(allVertices.begin(), allVertices.end()), indices(allIndices.begin(), allIndices.end()),
      subsets(ranges.begin(), ranges.end()), owner(std::move(owner)) {
    for (const MeshVertex& vertex : vertices)
        if (std::abs(Vec3LengthSq(vertex.normal) - 1.0f) > 2e-3f) unitNormals = false;
    // Where each vertex went in the part being built; -1 when not yet used.
    std::vector<int> local(vertices.size(), -1);
    for (const IndexRange& range : subsets) {
        Part part;
        part.firstVertex = uint32_t(partVertices.size());
        part.firstIndex = uint32_t(partIndices.size());
        const size_t end = std::min(size_t(range.firstIndex) + range.indexCount, indices.size());
        for (size_t i = range.firstIndex; i + 2 < end; i += 3) {
            // A triangle naming a vertex the mesh doesn't have is left out.
            if (indices[i] >= vertices.size() || indices[i + 1] >= vertices.size() || indices[i + 2] >= vertices.size())
                continue;
            for (size_t k = 0; k < 3; ++k) {
                uint16_t index = indices[i + k];
                if (local[index] < 0) {
                    local[index] = int(partVertices.size() - part.firstVertex);
                    partVertices.push_back(vertices[index]);
                }
                partIndices.push_back(uint16_t(local[index]));
            }
        }
        part.vertexCount = uint32_t(partVertices.size()) - part.firstVertex;
        part.indexCount = uint32_t(partIndices.size()) - part.firstIndex;
        // The sphere about the box's centre through its farthest vertex.
        if (part.vertexCount > 0) {
            Vector3 low = partVertices[part.firstVertex].position, high = low;
            for (uint32_t v = part.firstVertex; v < part.firstVertex + part.vertexCount; ++v) {
                const Vector3& p = partVertices[v].position;
                low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
                high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
            }
            part.center = (low + high) * 0.5f;
            float farthest = 0;
            for (uint32_t v = part.firstVertex; v < part.firstVertex + part.vertexCount; ++v)
                farthest = std::max(farthest, Vec3LengthSq(partVertices[v].position - part.center));
            part.radius = std::sqrt(farthest);
        }
        std::fill(local.begin(), local.end(), -1);
        parts.push_back(part);
    }
}

ListMesh::~ListMesh() {
    if (owner && owner->listener) owner->listener->Forget(*this);
}

DrawListDevice::DrawListDevice() : resources(std::make_shared<ListResources>()) {
    // What a new device starts with before anyone sets a state.
    states[size_t(RenderState::Lighting)] = 1;
    states[size_t(RenderState::CullMode)] = CullCCW;
    states[size_t(RenderState::ZEnable)] = 1;
    states[size_t(RenderState::ZWriteEnable)] = 1;
    states[size_t(RenderState::ZFunc)] = CmpLessEqual;
    states[size_t(RenderState::SrcBlend)] = BlendOne;
    states[size_t(RenderState::DestBlend)] = BlendZero;
}

DrawListDevice::~DrawListDevice() { resources->listener = nullptr; }

bool DrawListDevice::BeginScene() {
    inScene = true;
    return true;
}

void DrawListDevice::EndScene() { inScene = false; }

void DrawListDevice::Flush() {
    if (stepped) return;
    if (!list.Empty()) RenderList(list, stats);
    StartList();
}

void DrawListDevice::StartList() {
    list.Clear();
    ++listStamp;
    statesChanged = worldChanged = cameraChanged = materialChanged = true;
    anchor = NoAnchor;
}

void DrawListDevice::Present() {
    inScene = false;
    if (stepped) {
        steps->Push(list);
        StartList();
        stepStats = stats;
        stats = {};
        return;
    }
    Flush();
    ShowPicture();
    lastStats = stats;
    stats = {};
}

bool DrawListDevice::SetStepped(bool on) {
    stepped = on;
    if (stepped && !steps) steps = std::make_unique<StepBlender>();
    if (steps) steps->Reset();
    return true;
}

void DrawListDevice::PresentBetween(float t, int width, int height, float pointerDx, float pointerDy) {
    if (!stepped || steps->Empty()) return;
    steps->Blend(t, width, height, pointerDx, pointerDy, picture);
    DrawStats counts;
    counts.drawCalls = stepStats.drawCalls;
    counts.stateCalls = stepStats.stateCalls;
    RenderList(picture, counts);
    ShowPicture();
    lastStats = counts;
}

DrawRecord& DrawListDevice::Add(DrawRecord::Kind kind) {
    if (renderEvery && !stepped && list.records.size() >= renderEvery) Flush();
    // Each table gets a new entry only when its state changed since the last draw.
    if (statesChanged) {
        list.states.push_back(states);
        statesChanged = false;
    }
    if (worldChanged) {
        list.worlds.push_back(world);
        worldChanged = false;
    }
    if (cameraChanged) {
        list.cameras.push_back(camera);
        cameraChanged = false;
    }
    if (materialChanged) {
        list.materials.push_back(material);
        materialChanged = false;
    }
    if (anchorPoint) {
        anchor = uint32_t(list.anchors.size());
        list.anchors.push_back(*anchorPoint);
        anchorPoint.reset();
    }
    DrawRecord& record = list.records.emplace_back();
    record.kind = kind;
    record.states = uint32_t(list.states.size() - 1);
    record.world = uint32_t(list.worlds.size() - 1);
    record.camera = uint32_t(list.cameras.size() - 1);
    record.material = uint32_t(list.materials.size() - 1);
    record.texture = Keep(texture);
    record.tag = tag;
    record.anchor = anchor;
    return record;
}

const ListTexture* DrawListDevice::Keep(const DeviceTexture* handle) {
    if (!handle) return nullptr;
    const auto& shared = static_cast<const ListTextureHandle*>(handle)->texture;
    if (shared->keptBy != listStamp) {
        shared->keptBy = listStamp;
        list.textures.push_back(shared);
    }
    return shared.get();
}

void DrawListDevice::SetScreenScale(int scale) {
    scale = std::max(scale, 1);
    if (camera.screenScale == scale) return;
    camera.screenScale = scale;
    cameraChanged = true;
}

void DrawListDevice::SetDrawTag(uint64_t newTag, const Vector3* at) {
    tag = newTag;
    anchor = NoAnchor;
    anchorPoint.reset();
    if (at) anchorPoint = *at;
}

void DrawListDevice::Clear(uint32_t flags, uint32_t color, float z) {
    DrawRecord& record = Add(DrawRecord::Kind::Clear);
    record.item = flags;
    record.count = color;
    record.clearZ = z;
}

void DrawListDevice::SetTransform(TransformType type, const Matrix& matrix) {
    ++stats.stateCalls;
    switch (type) {
    case TransformType::World:
        // Every model sets its world matrix before each of its subsets.
        if (!worldChanged && matrix == world) return;
        world = matrix;
        worldChanged = true;
        break;
    case TransformType::View:
        camera.view = matrix;
        cameraChanged = true;
        break;
    case TransformType::Projection:
        camera.projection = matrix;
        cameraChanged = true;
        break;
    }
}

void DrawListDevice::SetRenderState(RenderState state, uint32_t value) {
    ++stats.stateCalls;
    if (state >= RenderState::Count || states[size_t(state)] == value) return;
    states[size_t(state)] = value;
    statesChanged = true;
}

void DrawListDevice::SetLight(const DirectionalLight& light) {
    ++stats.stateCalls;
    camera.light = light;
    cameraChanged = true;
}

void DrawListDevice::LightEnable(bool enable) {
    ++stats.stateCalls;
    if (camera.lightEnabled == enable) return;
    camera.lightEnabled = enable;
    cameraChanged = true;
}

void DrawListDevice::SetMaterial(const Material& newMaterial) {
    ++stats.stateCalls;
    // Each subset of a model sets its material; most are the one before.
    if (!materialChanged && std::memcmp(&newMaterial, &material, sizeof material) == 0) return;
    material = newMaterial;
    materialChanged = true;
}

void DrawListDevice::SetTexture(DeviceTexture* newTexture) {
    ++stats.stateCalls;
    texture = newTexture;
}

std::unique_ptr<DeviceTexture> DrawListDevice::CreateTexture(int width, int height, std::span<const uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() < size_t(width) * size_t(height)) return nullptr;
    return std::make_unique<ListTextureHandle>(
        std::make_shared<ListTexture>(width, height, argb.first(size_t(width) * size_t(height)), resources));
}

std::unique_ptr<DeviceMesh> DrawListDevice::CreateMesh(std::span<const MeshVertex> vertices,
                                                       std::span<const uint16_t> indices,
                                                       std::span<const IndexRange> subsets) {
    for (const IndexRange& subset : subsets)
        if (size_t(subset.firstIndex) + subset.indexCount > indices.size()) return nullptr;
    return std::make_unique<ListMeshHandle>(std::make_shared<ListMesh>(vertices, indices, subsets, resources));
}

void DrawListDevice::DrawSubset(DeviceMesh& mesh, size_t subset) {
    ++stats.drawCalls;
    const auto& shared = static_cast<ListMeshHandle&>(mesh).mesh;
    if (!inScene || subset >= shared->parts.size() || shared->parts[subset].indexCount == 0) return;
    DrawRecord& record = Add(DrawRecord::Kind::Subset);
    record.mesh = shared.get();
    record.item = uint32_t(subset);
    if (shared->keptBy != listStamp) {
        shared->keptBy = listStamp;
        list.meshes.push_back(shared);
    }
}

void DrawListDevice::DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) {
    ++stats.drawCalls;
    uint32_t stride = Fvf::Stride(fvf);
    if (!inScene || !stride || !vertices || primitiveCount == 0) return;
    size_t bytes = size_t(VertexCount(type, primitiveCount)) * stride;
    DrawRecord& record = Add(DrawRecord::Kind::Primitive);
    record.primitive = type;
    record.fvf = fvf;
    record.item = uint32_t(list.vertexBytes.size());
    record.count = primitiveCount;
    const auto* first = static_cast<const unsigned char*>(vertices);
    list.vertexBytes.insert(list.vertexBytes.end(), first, first + bytes);
}

void DrawListDevice::DrawSprite(const SpriteDraw& sprite) {
    ++stats.drawCalls;
    if (!inScene || !sprite.texture) return;
    DrawRecord& record = Add(DrawRecord::Kind::Sprite);
    record.item = uint32_t(list.sprites.size());
    record.texture = Keep(sprite.texture);
    list.sprites.push_back(sprite);
}
