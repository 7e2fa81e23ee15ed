#include "platform/Log.h"
#include "platform/Random.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/RecordingDevice.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"
#include "render/Sprite.h"
#include "render/TextureCache.h"
#include "render/VertexBuffer.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

void ExpectVector(const Vector3& actual, const Vector3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}

// Graphics over a RecordingDevice with models made by the test.
struct Recorded {
    Recorded() {
        SetLogCapture(&log);
        auto owned = std::make_unique<RecordingDevice>();
        device = owned.get();
        graphics = std::make_unique<Graphics>(std::move(owned), 640, 480);
        graphics->resources = &resources;
    }
    ~Recorded() {
        graphics.reset();
        SetLogCapture(nullptr);
    }
    void AddModel(const std::string& name, const std::string& text) {
        texts.push_back(std::make_unique<std::string>(text));
        resources.Add("X", name, {reinterpret_cast<const unsigned char*>(texts.back()->data()), texts.back()->size()});
    }
    void AddBitmap(const std::string& name) {
        bitmaps.push_back(std::make_unique<std::vector<unsigned char>>(TestBitmap(4, 4, [](int, int) { return 0xFF808080u; })));
        resources.Add("BITMAP", name, *bitmaps.back());
    }
    std::vector<RecordingDevice::Draw> DrawsOf(RecordingDevice::Draw::Kind kind) const {
        std::vector<RecordingDevice::Draw> out;
        for (const auto& d : device->draws)
            if (d.kind == kind) out.push_back(d);
        return out;
    }

    std::string log;
    ResourceTable resources;
    std::vector<std::unique_ptr<std::string>> texts;
    std::vector<std::unique_ptr<std::vector<unsigned char>>> bitmaps;
    RecordingDevice* device = nullptr;
    std::unique_ptr<Graphics> graphics;
};

} // namespace

TEST(SceneNode, AxesScaleAndRotationSenses) {
    SceneNode node;
    node.Init(nullptr, 1, 2, 3, 2);
    EXPECT_NEAR(Vec3Length(node.GetForward()), 2, 1e-5f);
    node.SetScale(1);
    EXPECT_NEAR(Vec3Length(node.GetForward()), 1, 1e-5f);
    ExpectVector(node.GetPosition(), {1, 2, 3}, "position after SetScale");

    node.RotateY(Pi / 2);
    ExpectVector(node.GetForward(), {1, 0, 0}, "forward after RotateY");
    ExpectVector(node.GetRight(), {0, 0, -1}, "right after RotateY");
    ExpectVector(node.GetPosition(), {1, 2, 3}, "position after RotateY");
    // Rotations act about the node's own axes: pitching now turns about world -z.
    node.RotateX(-Pi / 2);
    ExpectVector(node.GetForward(), {0, 1, 0}, "forward after pitching up");

    node.ScaleAxes(1, 2, 3);
    EXPECT_NEAR(Vec3Length(node.GetUp()), 2, 1e-5f);
    EXPECT_NEAR(Vec3Length(node.GetForward()), 3, 1e-5f);

    // A child follows its parent's frame.
    SceneNode parent, child;
    parent.Init(nullptr, 10, 0, 0, 1);
    parent.RotateY(Pi / 2);
    child.parent = &parent;
    child.Init(nullptr, 0, 0, 5, 1);
    ExpectVector(child.GetPosition(), {15, 0, 0}, "child ahead of its turned parent");

    SceneNode looker;
    looker.Init(nullptr, 0, 0, 0, 3);
    looker.LookAt({0, 0, -10});
    ExpectVector(looker.GetForward(), {0, 0, -3}, "LookAt keeps the scale");
    ExpectVector(looker.GetUp(), {0, 3, 0}, "LookAt keeps world up");
    ExpectVector(looker.GetRight(), {-3, 0, 0}, "left-handed basis");
}

TEST(SceneNode, ScreenProjectionAndPicking) {
    Recorded r;
    r.AddModel("BOX", BoxModelX(1, 1, 1, {{1, 1, 1, 1, ""}}));
    MeshResource mesh;
    ASSERT_TRUE(mesh.Load(*r.graphics, "BOX", 0, 1)) << r.log;
    Graphics& g = *r.graphics;
    SetCamera(g, {0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    ASSERT_TRUE(g.BeginFrame(0xFF000000));

    ExpectVector(Vector3{g.cameraMatrix.m[3][0], g.cameraMatrix.m[3][1], g.cameraMatrix.m[3][2]}, {0, 0, -10},
                 "camera matrix holds the eye");
    for (float z : {-9.0f, 0.0f, 50.0f}) {
        Vector3 p = ProjectToScreen(g, {0, 0, z});
        EXPECT_NEAR(p.x, 320, 1e-2f);
        EXPECT_NEAR(p.y, 240, 1e-2f);
        EXPECT_EQ(p.z, 0);
    }
    EXPECT_EQ(ProjectToScreen(g, {0, 0, -11}).z, -1);
    EXPECT_LT(ProjectToScreen(g, {0, 1, 0}).y, 240) << "up is up the screen";
    EXPECT_GT(ProjectToScreen(g, {1, 0, 0}).x, 320) << "right is right";

    SceneNode node;
    node.Init(&mesh, 0, 0, 0, 1);
    EXPECT_TRUE(node.IsOnScreen(g));
    node.Init(&mesh, 0, 0, -20, 1);
    EXPECT_FALSE(node.IsOnScreen(g));
    // Centre behind the camera, but the far end of a long box is ahead, in view.
    SceneNode longNode;
    longNode.Init(&mesh, 0, 0, -11, 1);
    longNode.ScaleAxes(1, 1, 5);
    longNode.corners = {};
    for (size_t i = 0; i < 8; ++i)
        longNode.corners[i] = {(i & 4) ? -1.0f : 1.0f, (i & 2) ? -1.0f : 1.0f, (i & 1) ? -1.0f : 1.0f};
    EXPECT_TRUE(longNode.IsOnScreen(g));

    // Picking from outside hits the near face; from inside, the face ahead.
    Vector3 hit;
    std::array<Vector3, 3> triangle;
    node.Init(&mesh, 0, 0, 0, 1);
    EXPECT_TRUE(node.RayHitsSphere({0, 0, -10}, {0, 0, 1}));
    EXPECT_FALSE(node.RayHitsSphere({0, 5, -10}, {0, 0, 1}));
    ASSERT_TRUE(node.RayPickMesh(hit, {0.2f, 0.3f, -10}, {0, 0, 1}, &triangle));
    ExpectVector(hit, {0.2f, 0.3f, -1}, "near face");
    EXPECT_FLOAT_EQ(triangle[0].z, -1);
    EXPECT_FALSE(node.RayPickMesh(hit, {0.2f, 0.3f, -10}, {0, 0, -1})) << "the box is behind the ray";
    // From inside, every face shows its back: single-sided triangles miss.
    EXPECT_FALSE(node.RayPickMesh(hit, {0, 0, 0}, {0, 0, 1}));
    node.Init(&mesh, 3, 0, 0, 2);
    node.RotateY(Pi / 2);
    ASSERT_TRUE(node.RayPickMesh(hit, {-10, 0.5f, 0}, {1, 0, 0}));
    ExpectVector(hit, {1, 0.5f, 0}, "turned and scaled box");
}

TEST(MeshResource, TexturesAreSharedAndModelsDrawOpaqueFirst) {
    Recorded r;
    r.AddBitmap("FLAG01");
    r.AddModel("A", BoxModelX(1, 1, 1, {{1, 0, 0, 1, "flag01"}, {0, 1, 0, 0.5f, ""}, {0, 0, 1, 1, ""}, {1, 1, 1, 0.8f, ""}},
                              {0, 1, 2, 3, 0, 0}));
    r.AddModel("B", BoxModelX(2, 2, 2, {{1, 1, 1, 1, "flag01"}}));
    MeshResource a, b;
    ASSERT_TRUE(a.Load(*r.graphics, "A", 0, 1)) << r.log;
    ASSERT_TRUE(b.Load(*r.graphics, "b", 0, 1)) << r.log;
    EXPECT_EQ(r.graphics->textureCache->Size(), 1u);
    EXPECT_EQ(r.graphics->textureCache->References("flag01"), 2);
    EXPECT_EQ(a.DrawOrder(), (std::vector<uint32_t>{0, 2, 3, 1}));

    r.device->draws.clear();
    a.Draw(MatrixTranslation(1, 2, 3));
    auto subsets = r.DrawsOf(RecordingDevice::Draw::Kind::Subset);
    ASSERT_EQ(subsets.size(), 4u);
    std::vector<size_t> order;
    for (const auto& d : subsets) order.push_back(d.subset);
    EXPECT_EQ(order, (std::vector<size_t>{0, 2, 3, 1}));
    EXPECT_NE(subsets[0].texture, nullptr);
    EXPECT_EQ(subsets[1].texture, nullptr);
    EXPECT_FLOAT_EQ(subsets[3].material.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(subsets[0].world.m[3][2], 3);
    // Ambient takes the diffuse colour at load.
    EXPECT_FLOAT_EQ(subsets[1].material.ambient.b, 1);

    r.device->draws.clear();
    a.DrawFaded(MatrixIdentity(), 0.5f);
    a.DrawFaded(MatrixIdentity(), 1.0f);
    auto faded = r.DrawsOf(RecordingDevice::Draw::Kind::Subset);
    ASSERT_EQ(faded.size(), 8u);
    EXPECT_FLOAT_EQ(faded[3].material.diffuse.a, 0.25f);
    EXPECT_FLOAT_EQ(faded[3].material.ambient.a, 0.25f);
    for (size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(faded[4 + i].material.diffuse.a, subsets[i].material.diffuse.a);

    // Loading over a loaded model releases it first; the shared texture stays
    // until its last user lets go.
    r.log.clear();
    ASSERT_TRUE(a.Load(*r.graphics, "A", 0, 1));
    EXPECT_EQ(r.log.rfind("release(A)\n", 0), 0u) << r.log;
    EXPECT_EQ(r.log.find("release(flag01)"), std::string::npos);
    a.Release();
    EXPECT_EQ(r.log.find("release(flag01)"), std::string::npos);
    b.Release();
    EXPECT_NE(r.log.find("release(flag01)\n"), std::string::npos);
    EXPECT_EQ(r.graphics->textureCache->Size(), 0u);

    r.log.clear();
    MeshResource missing;
    EXPECT_FALSE(missing.Load(*r.graphics, "NOPE", 0, 1));
    EXPECT_EQ(r.log.rfind("load(NOPE) ... open failed.\n", 0), 0u) << r.log;
    missing.Draw(MatrixIdentity());
}

TEST(Sprite, TextGlyphPositionsAndSpriteTransform) {
    Recorded r;
    r.AddBitmap("FONT");
    Texture font;
    ASSERT_TRUE(font.Load(*r.graphics, "FONT", 0xFF000000, 1));
    Sprite text;
    text.SetTexture(&font);
    text.positionX = 10.7f;
    text.positionY = 20;
    text.DrawText(*r.device, "ab\ncd");
    auto glyphs = r.DrawsOf(RecordingDevice::Draw::Kind::Sprite);
    ASSERT_EQ(glyphs.size(), 4u);
    const float expected[4][2] = {{10, 20}, {15, 20}, {10, 30}, {15, 30}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(glyphs[i].sprite.x, expected[i][0]) << i;
        EXPECT_EQ(glyphs[i].sprite.y, expected[i][1]) << i;
    }
    // 'a' is code 97: column 1, row 6 of the sheet, a 5 x 10 cell corner.
    EXPECT_EQ(glyphs[0].sprite.source, (Rect{8, 96, 13, 106}));
    EXPECT_EQ(r.device->spriteBatches, 1);

    r.device->draws.clear();
    text.positionX = 40;
    text.positionY = 0;
    text.DrawText(*r.device, "\tX\t\tY");
    glyphs = r.DrawsOf(RecordingDevice::Draw::Kind::Sprite);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].sprite.x, 80);
    EXPECT_EQ(glyphs[1].sprite.x, 160);

    // Bytes above 127 read as negative codes: they must not address outside the sheet's top rows.
    r.device->draws.clear();
    text.DrawText(*r.device, std::string_view("\xC8", 1));
    glyphs = r.DrawsOf(RecordingDevice::Draw::Kind::Sprite);
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_LE(glyphs[0].sprite.source.top, 0);

    Sprite sprite;
    sprite.SetTexture(&font);
    sprite.scalingX = sprite.scalingY = 2;
    r.device->draws.clear();
    sprite.Draw(*r.device);
    glyphs = r.DrawsOf(RecordingDevice::Draw::Kind::Sprite);
    ASSERT_EQ(glyphs.size(), 1u);
    // Turns about the centre of the scaled picture.
    EXPECT_FLOAT_EQ(glyphs[0].sprite.centerX, 4);
    EXPECT_FLOAT_EQ(glyphs[0].sprite.centerY, 4);
    sprite.visible = false;
    sprite.Draw(*r.device);
    EXPECT_EQ(r.DrawsOf(RecordingDevice::Draw::Kind::Sprite).size(), 1u);
}

TEST(Draw2D, PrimitivesFormatsAndTheFlare) {
    Recorded r;
    Device& d = *r.device;
    EXPECT_EQ(Fvf::Stride(0x102), 0u);
    EXPECT_EQ(Fvf::Stride(0x252), 44u);
    float raw[12] = {};
    VertexBuffer unknown;
    EXPECT_FALSE(unknown.Create(raw, 0x102, sizeof raw));
    unknown.DrawLineList(d);
    VertexBuffer lines;
    ASSERT_TRUE(lines.Create(raw, 0x042, sizeof raw));
    EXPECT_EQ(lines.VertexCount(), 3u);
    lines.DrawLineStrip(d, 3);
    EXPECT_TRUE(r.DrawsOf(RecordingDevice::Draw::Kind::Primitive).empty()) << "three vertices make no strip of three lines";

    DrawLine2D(d, 0, 0, 10, 10, 0xFF112233);
    DrawLine2D(d, 0, 0, 10, 10, 0xFF112233, 0x00FFFFFF);
    DrawRect2D(d, 1, 2, 3, 4, 0xFFFFFFFF);
    DrawHexagon(d, 0, 0, 0, 2, 0xFF000000, 0xFF00FF00);
    DrawDisc(d, 0, 0, 0, 1, 0xFF000000, 0xFF00FF00);
    auto prims = r.DrawsOf(RecordingDevice::Draw::Kind::Primitive);
    ASSERT_EQ(prims.size(), 5u);
    EXPECT_EQ(prims[0].Color(1), 0xFF112233u) << "one colour when the second is 0";
    EXPECT_EQ(prims[1].Color(1), 0x00FFFFFFu);
    EXPECT_EQ(prims[2].VertexCount(), 5u);
    ExpectVector(prims[2].Position(4), {1, 2, 0}, "rectangle closes on its start");
    EXPECT_EQ(prims[3].primitiveCount, 6u);
    ExpectVector(prims[3].Position(1), prims[3].Position(7), "hexagon rim closes");
    ExpectVector(prims[3].Position(2), {1, -1.7320508f, 0}, "rim runs clockwise from 0 degrees");
    EXPECT_EQ(prims[4].primitiveCount, 36u);

    // The flare shows only when looking towards the sun, and blending is put back.
    RandomGenerator random(1);
    Graphics& g = *r.graphics;
    r.device->draws.clear();
    DrawSunAndFlare(g, random, {0, 0, 100}, {0, 0, 0}, {0, 0, 1}, 5);
    EXPECT_EQ(r.DrawsOf(RecordingDevice::Draw::Kind::Primitive).size(), 7u);
    EXPECT_EQ(r.device->states[size_t(RenderState::DestBlend)], BlendInvSrcAlpha);
    r.device->draws.clear();
    DrawSunAndFlare(g, random, {0, 0, 100}, {0, 0, 0}, {1, 0, 0}, 5);
    EXPECT_EQ(r.DrawsOf(RecordingDevice::Draw::Kind::Primitive).size(), 1u);
    uint32_t sunAlpha = r.DrawsOf(RecordingDevice::Draw::Kind::Primitive)[0].Color(0) >> 24;
    EXPECT_GE(sunAlpha, 0xC0u);
}
