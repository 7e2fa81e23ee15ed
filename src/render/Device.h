#pragma once

#include "render/Math.h"
#include "render/MeshData.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The drawing device, in the vocabulary of the fixed-function pipeline the game
// is written against: world/view/projection transforms, a handful of render
// states, one directional light, a material, one texture stage, static meshes
// and small user primitives. GlDevice draws with OpenGL; NullDevice draws
// nothing (headless battles); RecordingDevice remembers every call (tests).

// The colour of a surface under the light (ColorValue and MeshVertex come
// with the mesh data).
struct Material {
    ColorValue diffuse, ambient, specular, emissive;
    float power = 0;
};

struct DirectionalLight {
    // Normalised direction the light travels, in world space.
    Vector3 direction{0, 0, 1};
    ColorValue diffuse;
};

// A picture read back from the back buffer at its own size: ARGB, the rows
// from the bottom up as OpenGL keeps them (turning them is left to whoever
// takes the picture, off the frame).
struct CapturedPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> argbBottomUp;
};

enum class TransformType { World, View, Projection };

// Render states with the values the game uses (numbers as the original API).
enum class RenderState {
    Lighting,         // 0/1
    Ambient,          // ARGB
    SpecularEnable,   // 0/1
    CullMode,         // Cull
    ZEnable,          // 0/1
    ZWriteEnable,     // 0/1
    ZFunc,            // Compare
    AlphaBlendEnable, // 0/1
    SrcBlend,         // Blend
    DestBlend,        // Blend
    NormalizeNormals, // 0/1
    Count
};

enum Cull : uint32_t { CullNone = 1, CullCW = 2, CullCCW = 3 };
enum Compare : uint32_t { CmpNever = 1, CmpLess, CmpEqual, CmpLessEqual, CmpGreater, CmpNotEqual, CmpGreaterEqual, CmpAlways };
enum Blend : uint32_t {
    BlendZero = 1, BlendOne, BlendSrcColor, BlendInvSrcColor, BlendSrcAlpha, BlendInvSrcAlpha, BlendDestAlpha,
    BlendInvDestAlpha, BlendDestColor, BlendInvDestColor
};

enum class PrimitiveType { LineList, LineStrip, TriangleList, TriangleFan };

// Flexible vertex formats: which components a user vertex carries, in this
// order: position (3 floats, or 4 with rhw for screen-space vertices), normal
// (3 floats), diffuse (ARGB uint32), texture coordinates (2 floats per set).
namespace Fvf {
constexpr uint32_t Xyz = 0x002;
constexpr uint32_t XyzRhw = 0x004;
constexpr uint32_t Normal = 0x010;
constexpr uint32_t Diffuse = 0x040;
constexpr uint32_t Tex1 = 0x100;
constexpr uint32_t Tex2 = 0x200;
// Bytes per vertex of the formats the game draws; 0 for any other format.
uint32_t Stride(uint32_t fvf);
} // namespace Fvf

// Integer rectangle, right and bottom exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

// A texture the device made. Width and height are the image's own.
class DeviceTexture {
public:
    DeviceTexture(int width, int height) : width(width), height(height) {}
    virtual ~DeviceTexture() = default;
    const int width, height;
};

struct IndexRange {
    // Range of the index list this subset draws (three per triangle).
    uint32_t firstIndex = 0;
    uint32_t indexCount = 0;
};

// Vertex and index buffers of a static mesh on the device.
class DeviceMesh {
public:
    virtual ~DeviceMesh() = default;
    size_t subsetCount = 0;
};

// One sprite draw as the sprite batch takes it: the part of the texture, its
// scale, the rotation centre (in scaled pixels), the rotation in radians and
// the screen position of the unrotated top-left corner.
struct SpriteDraw {
    DeviceTexture* texture = nullptr;
    Rect source;
    float scaleX = 1, scaleY = 1;
    float centerX = 0, centerY = 0;
    float rotation = 0;
    float x = 0, y = 0;
    uint32_t color = 0xFFFFFFFF;
};

// What a draw belongs to, for pictures between steps (Device::SetDrawTag):
// an object's serial number and which of its parts. Serials start at 1, so
// tags below 65536 are free for the few things there is only one of.
constexpr uint64_t MakeDrawTag(uint64_t serial, uint32_t part) { return serial << 16 | part; }
// The parts of an object's screen-space draws placed by its position: its
// meter (and target frame), and its marker.
constexpr uint32_t ScreenPart = 0xFFFF;
constexpr uint32_t MarkerPart = 0xFFFE;
// The game's own pointer (its anchor: its position in screen pixels), the
// sun and its flare, the flown fighter's sight and arrows, the loading pieces.
constexpr uint64_t PointerTag = 1;
constexpr uint64_t SunTag = 2;
constexpr uint64_t SightTag = 3;
constexpr uint64_t FighterArrowTag = 4;
constexpr uint64_t StationArrowTag = 5;
constexpr uint64_t LoadingPieceTag = 16;

class Device {
public:
    enum ClearFlags : uint32_t { ClearTarget = 1, ClearZBuffer = 2 };

    virtual ~Device() = default;

    // Frame bracket: BeginScene, draws, EndScene, Present.
    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;
    // Clears the back buffer: colour is ARGB, z the depth to fill.
    virtual void Clear(uint32_t flags, uint32_t color, float z) = 0;
    virtual void Present() = 0;

    virtual void SetTransform(TransformType type, const Matrix& matrix) = 0;
    virtual void SetRenderState(RenderState state, uint32_t value) = 0;
    virtual void SetLight(const DirectionalLight& light) = 0;
    virtual void LightEnable(bool enable) = 0;
    virtual void SetMaterial(const Material& material) = 0;
    // Stage 0; nullptr unbinds.
    virtual void SetTexture(DeviceTexture* texture) = 0;

    // Pixels are ARGB, row by row from the top. Null when the device can't.
    virtual std::unique_ptr<DeviceTexture> CreateTexture(int width, int height, std::span<const uint32_t> argb) = 0;
    virtual std::unique_ptr<DeviceMesh> CreateMesh(std::span<const MeshVertex> vertices,
                                                   std::span<const uint16_t> indices,
                                                   std::span<const IndexRange> subsets) = 0;
    // Draws one subset under the current world transform, material and texture.
    virtual void DrawSubset(DeviceMesh& mesh, size_t subset) = 0;
    // Draws user vertices in one of the formats of Fvf::Stride.
    virtual void DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) = 0;

    // Sprite batch: screen-space images with alpha blending, no lighting, no depth.
    virtual void BeginSprites() = 0;
    virtual void DrawSprite(const SpriteDraw& sprite) = 0;
    virtual void EndSprites() = 0;

    // Screen-space draws (pre-transformed vertices, sprites) are given in
    // pixels of a screen this many times smaller than the back buffer and
    // drawn that many times larger, each pixel a crisp square. 1: as given.
    virtual void SetScreenScale(int /*scale*/) {}

    // Names what the draws that follow belong to (a unit's part, a shot, an
    // effect), 0 for nobody, so that a device that draws pictures between the
    // game's steps can tell which draw of one step is which of the next. With
    // an anchor, the screen-space draws that follow were placed by that world
    // point (a unit's meter): between steps they move with it.
    virtual void SetDrawTag(uint64_t /*tag*/, const Vector3* /*anchor*/) {}

    // Pictures between the game's steps, for a device that keeps draw lists:
    // while stepped, Present keeps each frame as the newest step instead of
    // showing it, and PresentBetween shows the picture at fraction t (0..1)
    // of the way from the step before to the newest, on a width x height
    // back buffer, with the game's pointer moved by (pointerDx, pointerDy).
    // SetStepped answers whether the device can.
    virtual bool SetStepped(bool /*stepped*/) { return false; }
    virtual void PresentBetween(float /*t*/, int /*width*/, int /*height*/, float /*pointerDx*/, float /*pointerDy*/) {}

    // Reads back the next picture that is shown, just before it is shown
    // (with pictures between steps, the next picture between them), and
    // hands it to `take` on the drawing thread. False when the device can't
    // read its pictures back.
    virtual bool CaptureNextPicture(std::function<void(CapturedPicture&&)> /*take*/) { return false; }

    // What the device is, for the start-up log.
    virtual std::string AdapterName() const { return ""; }

    // Vertices a user primitive of this type and count needs.
    static uint32_t VertexCount(PrimitiveType type, uint32_t primitiveCount);
};
