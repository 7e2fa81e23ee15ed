#include "render/Draw2D.h"

#include "platform/Random.h"
#include "render/Graphics.h"
#include "render/VertexBuffer.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t color;
};
static_assert(sizeof(ScreenVertex) == 20);

struct ColorVertex {
    float x, y, z;
    uint32_t color;
};
static_assert(sizeof(ColorVertex) == 16);

struct TexturedVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(TexturedVertex) == 24);

constexpr uint32_t ScreenFvf = Fvf::XyzRhw | Fvf::Diffuse;
constexpr uint32_t ColorFvf = Fvf::Xyz | Fvf::Diffuse;
constexpr uint32_t TexturedFvf = Fvf::Xyz | Fvf::Diffuse | Fvf::Tex1;

// A fan from the centre to rim points at k x step degrees, k from count down to 0.
template <size_t RimPoints>
void DrawFan(Device& device, float x, float y, float z, float radius, uint32_t centerColor, uint32_t rimColor) {
    std::array<ColorVertex, RimPoints + 1> v;
    v[0] = {x, y, z, centerColor};
    constexpr int steps = int(RimPoints) - 1;
    for (int i = 0; i <= steps; ++i) {
        float angle = float(steps - i) * (2.0f * std::numbers::pi_v<float> / float(steps));
        v[size_t(i) + 1] = {x + radius * std::cos(angle), y + radius * std::sin(angle), z, rimColor};
    }
    VertexBuffer buffer;
    if (buffer.Create(v.data(), ColorFvf, uint32_t(sizeof v))) buffer.DrawTriangleFan(device, uint32_t(steps));
}

uint32_t Argb(int a, int r, int g, int b) {
    return uint32_t(a & 0xFF) << 24 | uint32_t(r & 0xFF) << 16 | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF);
}

} // namespace

void DrawLine2D(Device& device, float x1, float y1, float x2, float y2, uint32_t color1, uint32_t color2) {
    if (color2 == 0) color2 = color1;
    ScreenVertex v[2] = {{x1, y1, 0, 1, color1}, {x2, y2, 0, 1, color2}};
    VertexBuffer buffer;
    if (buffer.Create(v, ScreenFvf, sizeof v)) buffer.DrawLineList(device);
}

void DrawRect2D(Device& device, float left, float top, float right, float bottom, uint32_t color) {
    ScreenVertex v[5] = {{left, top, 0, 1, color},
                         {left, bottom, 0, 1, color},
                         {right, bottom, 0, 1, color},
                         {right, top, 0, 1, color},
                         {left, top, 0, 1, color}};
    VertexBuffer buffer;
    if (buffer.Create(v, ScreenFvf, sizeof v)) buffer.DrawLineStrip(device, 4);
}

void FillRect2D(Device& device, float left, float top, float right, float bottom, uint32_t color) {
    ScreenVertex v[4] = {{left, bottom, 0, 1, color},
                         {left, top, 0, 1, color},
                         {right, top, 0, 1, color},
                         {right, bottom, 0, 1, color}};
    VertexBuffer buffer;
    if (buffer.Create(v, ScreenFvf, sizeof v)) buffer.DrawTriangleFan(device, 2);
}

void DrawQuad(Device& device, float x, float y, float z, float width, float height, uint32_t color) {
    float hw = width / 2, hh = height / 2;
    TexturedVertex v[4] = {{x - hw, y - hh, z, color, 0, 1},
                           {x - hw, y + hh, z, color, 0, 0},
                           {x + hw, y + hh, z, color, 1, 0},
                           {x + hw, y - hh, z, color, 1, 1}};
    VertexBuffer buffer;
    if (buffer.Create(v, TexturedFvf, sizeof v)) buffer.DrawTriangleFan(device, 2);
}

void DrawHexagon(Device& device, float x, float y, float z, float radius, uint32_t centerColor, uint32_t rimColor) {
    DrawFan<7>(device, x, y, z, radius, centerColor, rimColor);
}

void DrawDisc(Device& device, float x, float y, float z, float radius, uint32_t centerColor, uint32_t rimColor) {
    DrawFan<37>(device, x, y, z, radius, centerColor, rimColor);
}

void SetAlphaBlend(Device& device, bool enable, uint32_t src, uint32_t dest) {
    device.SetRenderState(RenderState::AlphaBlendEnable, enable ? 1 : 0);
    if (!enable) return;
    device.SetRenderState(RenderState::SrcBlend, src);
    device.SetRenderState(RenderState::DestBlend, dest);
}

void SetBillboardWorld(Graphics& graphics, float x, float y, float z) {
    Matrix world = graphics.cameraMatrix;
    world.m[3][0] = x;
    world.m[3][1] = y;
    world.m[3][2] = z;
    world.m[3][3] = 1;
    if (graphics.device()) graphics.device()->SetTransform(TransformType::World, world);
}

void DrawSunAndFlare(Graphics& graphics, RandomGenerator& random, const Vector3& sun, const Vector3& eye,
                     const Vector3& viewDirection, float size) {
    Device* device = graphics.device();
    if (!device) return;
    SetAlphaBlend(*device, true, BlendSrcAlpha, BlendOne);
    SetBillboardWorld(graphics, sun.x, sun.y, sun.z);
    DrawQuad(*device, 0, 0, 0, size, size, uint32_t(0xC0 + random.Random(64)) << 24 | 0xFFE080u);

    Vector3 toSun = sun - eye;
    Vector3 step = toSun * (1.0f / 7.0f) - viewDirection * 5.0f;
    float cosAngle = Vec3Dot(Vec3Normalize(toSun), Vec3Normalize(viewDirection));
    if (cosAngle <= 0.76f) {
        SetAlphaBlend(*device, true, BlendSrcAlpha, BlendInvSrcAlpha);
        return;
    }
    int a = 0;
    if (cosAngle >= 0.9f) a = int((cosAngle - 0.9f) * (1400.0f + 800.0f * float(random.Rand()) / 32767.0f));

    struct FlareRow {
        bool disc;
        float factor;
        uint32_t centerRgb, rimRgb;
        int centerAlphaAdd, rimAlphaAdd;
        bool centerTransparent;
    };
    static constexpr FlareRow rows[] = {
        {true, 0.1f, 0x000000, 0x804000, 0, 0, false},       {false, 0.125f, 0x000000, 0x806000, 0, 0, false},
        {true, 1.0f / 13.0f, 0x000000, 0x001040, 0, 8, false}, {true, 1.0f / 7.0f, 0x000000, 0x006020, 0, 8, false},
        {true, 0.05f, 0x008040, 0x000000, 0, 0, false},      {true, 0.5f, 0x000000, 0x002000, 0, 0, true},
    };
    device->SetTexture(nullptr);
    Vector3 p = sun;
    for (const FlareRow& row : rows) {
        p = p - step;
        SetBillboardWorld(graphics, p.x, p.y, p.z);
        uint32_t center = Argb(row.centerTransparent ? 0 : a + row.centerAlphaAdd, int(row.centerRgb >> 16),
                               int(row.centerRgb >> 8) & 0xFF, int(row.centerRgb) & 0xFF);
        uint32_t rim = Argb(a + row.rimAlphaAdd, int(row.rimRgb >> 16), int(row.rimRgb >> 8) & 0xFF, int(row.rimRgb) & 0xFF);
        float radius = size * row.factor;
        if (row.disc)
            DrawDisc(*device, 0, 0, 0, radius, center, rim);
        else
            DrawHexagon(*device, 0, 0, 0, radius, center, rim);
    }
    SetAlphaBlend(*device, true, BlendSrcAlpha, BlendInvSrcAlpha);
}
