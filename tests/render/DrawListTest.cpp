#include "render/Batcher.h"
#include "render/Draw2D.h"
#include "render/DrawList.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

constexpr int W = 200, H = 100;

// A list device whose presented lists the test keeps.
class KeepingDevice : public DrawListDevice {
public:
    std::vector<DrawList> presented;

protected:
    void RenderList(const DrawList& list, DrawStats&) override { presented.push_back(list); }
    void ShowPicture() override {}
};

// One triangle facing the camera of the default view (looking along +z),
// wound clockwise as the player sees it, around (x, y) at depth z.
std::unique_ptr<DeviceMesh> Triangle(Device& device, float x, float y, float z) {
    const MeshVertex vertices[3] = {{{x - 1, y - 1, z}, {0, 0, -1}, 0, 0},
                                    {{x, y + 1, z}, {0, 0, -1}, 0, 0},
                                    {{x + 1, y - 1, z}, {0, 0, -1}, 0, 0}};
    const uint16_t indices[3] = {0, 1, 2};
    const IndexRange subset{0, 3};
    return device.CreateMesh(vertices, indices, {&subset, 1});
}

Material Colored(float r, float g, float b, float a = 1) {
    Material m;
    m.diffuse = {r, g, b, a};
    m.ambient = {r, g, b, a};
    return m;
}

// Camera at the origin looking along +z; the light shines along +z too.
void StartFrame(KeepingDevice& device) {
    device.BeginScene();
    device.SetTransform(TransformType::View, MatrixLookAtLH({0, 0, 0}, {0, 0, 1}, {0, 1, 0}));
    device.SetTransform(TransformType::Projection, MatrixPerspectiveFovLH(1.0f, float(W) / float(H), 0.1f, 100.0f));
    DirectionalLight light;
    light.direction = {0, 0, 1};
    light.diffuse = {1, 1, 1, 1};
    device.SetLight(light);
    device.SetRenderState(RenderState::Ambient, 0xFF000000);
    device.SetRenderState(RenderState::NormalizeNormals, 1);
    device.SetRenderState(RenderState::AlphaBlendEnable, 1);
    device.SetRenderState(RenderState::SrcBlend, BlendSrcAlpha);
    device.SetRenderState(RenderState::DestBlend, BlendInvSrcAlpha);
}

BatchedFrame Batches(KeepingDevice& device) {
    device.Present();
    BatchedFrame frame;
    BuildBatches(device.presented.back(), W, H, frame);
    return frame;
}

// The first vertex of triangle t in the frame's order.
const BatchVertex& Corner(const BatchedFrame& frame, uint32_t t) { return frame.vertices[frame.indices[3 * t]]; }

} // namespace

TEST(DrawList, RecordsWhatIsDrawnInsideAScene) {
    KeepingDevice device;
    auto mesh = Triangle(device, 0, 0, 5);
    // Outside BeginScene .. EndScene nothing is drawn, as with the original API.
    device.DrawSubset(*mesh, 0);
    StartFrame(device);
    device.SetMaterial(Colored(1, 0, 0));
    device.DrawSubset(*mesh, 0);
    device.SetMaterial(Colored(1, 0, 0));
    device.SetTransform(TransformType::World, MatrixIdentity());
    device.DrawSubset(*mesh, 0);
    device.SetTransform(TransformType::World, MatrixTranslation(1, 0, 0));
    device.DrawSubset(*mesh, 0);
    // Primitive vertices are copied as they were given.
    float line[2][5] = {{0, 0, 0, 1, 0}, {10, 0, 0, 1, 0}};
    std::memcpy(&line[0][4], "\xFF\xFF\xFF\xFF", 4);
    std::memcpy(&line[1][4], "\xFF\xFF\xFF\xFF", 4);
    device.DrawPrimitive(PrimitiveType::LineList, Fvf::XyzRhw | Fvf::Diffuse, line, 1);
    line[1][0] = 99;
    device.Present();

    ASSERT_EQ(device.presented.size(), 1u);
    const DrawList& list = device.presented[0];
    ASSERT_EQ(list.records.size(), 4u);
    EXPECT_EQ(list.materials.size(), 1u) << "the same material twice is one entry";
    EXPECT_EQ(list.records[1].world, list.records[0].world);
    EXPECT_NE(list.records[2].world, list.records[1].world);
    EXPECT_EQ(list.worlds[list.records[2].world], MatrixTranslation(1, 0, 0));
    float x = 0;
    std::memcpy(&x, list.vertexBytes.data() + list.records[3].item + 20, sizeof x);
    EXPECT_EQ(x, 10.0f);
    EXPECT_EQ(device.LastFrameStats().drawCalls, 5u);
}

TEST(Batcher, MergesWhatSharesAStateAndKeepsTheOrder) {
    KeepingDevice device;
    auto near = Triangle(device, -2, 0, 5), middle = Triangle(device, 0, 0, 6), far = Triangle(device, 2, 0, 7);
    auto picture = device.CreateTexture(1, 1, std::vector<uint32_t>{0xFFFFFFFF});
    StartFrame(device);
    // Three meshes, three materials, three worlds, one state: one batch in order.
    device.SetMaterial(Colored(1, 0, 0));
    device.DrawSubset(*near, 0);
    device.SetMaterial(Colored(0, 1, 0, 0.5f));
    device.DrawSubset(*middle, 0);
    device.SetTransform(TransformType::World, MatrixTranslation(0, 0, 1));
    device.SetMaterial(Colored(0, 0, 1));
    device.DrawSubset(*far, 0);
    // A texture, a line, a sprite and another blend each need their own.
    device.SetTexture(picture.get());
    device.DrawSubset(*near, 0);
    device.SetTexture(nullptr);
    DrawLine2D(device, 0, 0, 10, 0, 0xFFFFFFFF);
    SpriteDraw sprite;
    sprite.texture = picture.get();
    sprite.source = {0, 0, 1, 1};
    device.DrawSprite(sprite);
    device.SetRenderState(RenderState::DestBlend, BlendOne);
    device.DrawSubset(*near, 0);
    device.Clear(Device::ClearZBuffer, 0, 1.0f);
    device.DrawSubset(*near, 0);
    BatchedFrame frame = Batches(device);

    ASSERT_EQ(frame.batches.size(), 7u);
    const Batch& first = frame.batches[0];
    EXPECT_EQ(first.mode, Batch::Mode::Triangles);
    EXPECT_EQ(first.indexCount, 9u);
    // The order is the game's: red, then half-transparent green, then blue.
    EXPECT_GT(Corner(frame, 0).r, 0);
    EXPECT_GT(Corner(frame, 1).g, 0);
    EXPECT_EQ(Corner(frame, 1).a, 128);
    EXPECT_GT(Corner(frame, 2).b, 0);
    EXPECT_EQ(frame.batches[1].texture, static_cast<ListTextureHandle*>(picture.get())->texture.get());
    EXPECT_EQ(frame.batches[2].mode, Batch::Mode::Lines);
    EXPECT_EQ(frame.batches[3].state.depthTest, 0) << "sprites ignore depth";
    EXPECT_EQ(frame.batches[4].state.destBlend, BlendOne);
    EXPECT_EQ(frame.batches[5].mode, Batch::Mode::Clear);
    EXPECT_EQ(frame.batches[6].indexCount, 3u);
}

TEST(Batcher, LightsVerticesAsTheFixedPipeline) {
    KeepingDevice device;
    // A normal that leans 45 degrees away from the light along x.
    const float s = std::sqrt(0.5f);
    const MeshVertex vertices[3] = {{{-1, -1, 5}, {s, 0, -s}, 0, 0}, {{0, 1, 5}, {s, 0, -s}, 0, 0}, {{1, -1, 5}, {s, 0, -s}, 0, 0}};
    const uint16_t indices[3] = {0, 1, 2};
    const IndexRange range{0, 3};
    auto mesh = device.CreateMesh(vertices, indices, {&range, 1});
    StartFrame(device);
    device.SetRenderState(RenderState::Ambient, 0xFF808080);
    Material material;
    material.diffuse = {0.8f, 0.4f, 0.2f, 0.5f};
    material.ambient = {0.2f, 0.2f, 0.2f, 1};
    material.emissive = {0.1f, 0, 0, 0};
    device.SetMaterial(material);
    // Turned and moved only.
    device.DrawSubset(*mesh, 0);
    // Stretched four times along x: the normal, kept perpendicular to the
    // surface, leans to 4 / sqrt(17) of the way from the light.
    device.SetTransform(TransformType::World, MatrixScaling(0.25f, 1, 1));
    device.DrawSubset(*mesh, 0);
    device.LightEnable(false);
    device.DrawSubset(*mesh, 0);
    device.SetRenderState(RenderState::Lighting, 0);
    device.DrawSubset(*mesh, 0);
    BatchedFrame frame = Batches(device);

    auto expect = [&](uint32_t triangle, float lambert, const char* what) {
        const BatchVertex& v = Corner(frame, triangle);
        const float ambient = 128.0f / 255.0f;
        EXPECT_NEAR(v.r, 255 * (0.1f + 0.2f * ambient + 0.8f * lambert), 1.0f) << what;
        EXPECT_NEAR(v.g, 255 * (0.2f * ambient + 0.4f * lambert), 1.0f) << what;
        EXPECT_NEAR(v.b, 255 * (0.2f * ambient + 0.2f * lambert), 1.0f) << what;
        EXPECT_EQ(v.a, 128) << what << ": alpha is the diffuse alpha";
    };
    expect(0, s, "turned");
    expect(1, 1 / std::sqrt(17.0f), "stretched");
    expect(2, 0, "light off");
    const BatchVertex& unlit = Corner(frame, 3);
    EXPECT_EQ(unlit.r + unlit.g + unlit.b + unlit.a, 4 * 255) << "unlit meshes are white";
}

TEST(Batcher, LeavesOutWhatCannotBeSeen) {
    KeepingDevice device;
    auto ahead = Triangle(device, 0, 0, 5), behind = Triangle(device, 0, 0, -5), edge = Triangle(device, 4.8f, 0, 5);
    StartFrame(device);
    device.SetMaterial(Colored(1, 1, 1));
    device.SetRenderState(RenderState::CullMode, CullCCW);
    device.DrawSubset(*behind, 0);
    device.DrawSubset(*ahead, 0);
    // Half of it leaves the screen: kept whole, the pipeline clips it.
    device.DrawSubset(*edge, 0);
    // Turned round it faces away: dropped with its vertices, unless nothing is culled.
    device.SetTransform(TransformType::World, MatrixRotationY(3.14159265f) * MatrixTranslation(0, 0, 10));
    device.DrawSubset(*ahead, 0);
    device.SetRenderState(RenderState::CullMode, CullNone);
    device.DrawSubset(*ahead, 0);
    device.SetRenderState(RenderState::CullMode, CullCW);
    device.DrawSubset(*ahead, 0);
    BatchedFrame frame = Batches(device);

    EXPECT_EQ(frame.culled, 1u);
    EXPECT_EQ(frame.triangles, 4u);
    EXPECT_EQ(frame.vertices.size(), 12u);
}

TEST(Batcher, LeavesOutTrianglesThatHoldNoPixelCentre) {
    KeepingDevice device;
    // At depth 50 the view shows 50 / tan(0.5) / 50 pixels per unit; a
    // triangle size pixels across, centred on window pixel (x, y from the top).
    const float z = 50, perUnit = 50.0f / std::tan(0.5f) / z;
    auto tiny = [&](float x, float y, float size) {
        float cx = (x - W / 2) / perUnit, cy = (H / 2 - y) / perUnit, d = size / perUnit;
        const MeshVertex vertices[3] = {{{cx - d / 2, cy - d / 2, z}, {0, 0, -1}, 0, 0},
                                        {{cx, cy + d / 2, z}, {0, 0, -1}, 0, 0},
                                        {{cx + d / 2, cy - d / 2, z}, {0, 0, -1}, 0, 0}};
        const uint16_t indices[3] = {0, 1, 2};
        const IndexRange subset{0, 3};
        return device.CreateMesh(vertices, indices, {&subset, 1});
    };
    // Between the centres at 120.5 and 121.5 (and 40.5, 41.5); then as small
    // but over the centre (120.5, 40.5).
    auto between = tiny(120.75f, 40.75f, 0.3f), over = tiny(120.5f, 40.5f, 0.4f);
    StartFrame(device);
    device.DrawSubset(*between, 0);
    device.DrawSubset(*over, 0);
    BatchedFrame frame = Batches(device);
    EXPECT_EQ(frame.triangles, 1u);
    EXPECT_EQ(frame.vertices.size(), 3u);
}
