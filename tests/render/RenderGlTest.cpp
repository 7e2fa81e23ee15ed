#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"
#include "render/Sprite.h"
#include "render/TextureCache.h"
#include "render/gl/GlDevice.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

namespace {

constexpr int W = 160, H = 120;

// The real OpenGL device on a real window, with resources made by the test;
// every case runs on both renderers (true: the fixed-function one).
class RenderGl : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
        SetLogCapture(&log);
        ASSERT_TRUE(window.Create(W, H));
        graphics = std::make_unique<Graphics>(window, commandLine, 1, W, H);
        graphics->classicRenderer = GetParam();
        ASSERT_TRUE(graphics->Init());
        ASSERT_EQ(graphics->classicRenderer, GetParam()) << "the renderer asked for did not start";
        device = static_cast<GlDevice*>(graphics->device());

        box = BoxModelX(1, 1, 1, {{1, 1, 1, 1, "checker"}});
        translucent = BoxModelX(1, 1, 1, {{0, 1, 0, 0.5f, ""}});
        // Left half white, right half blue.
        checker = TestBitmap(2, 2, [](int x, int) { return x == 0 ? 0xFFFFFFFFu : 0xFF0000FFu; });
        // Font sheet: a solid 5 x 10 block in the cell of 'A', opaque black elsewhere.
        font = TestBitmap(128, 128, [](int x, int y) {
            bool inA = x >= 8 * 1 && x < 8 * 1 + 5 && y >= 16 * 4 && y < 16 * 4 + 10;
            return inA ? 0xFFFFFFFFu : 0xFF000000u;
        });
        resources.Add("X", "BOX", {reinterpret_cast<const unsigned char*>(box.data()), box.size()});
        resources.Add("X", "GLASS", {reinterpret_cast<const unsigned char*>(translucent.data()), translucent.size()});
        resources.Add("BITMAP", "CHECKER", checker);
        resources.Add("BITMAP", "FONT", font);
        graphics->resources = &resources;
    }
    void TearDown() override {
        graphics.reset();
        window.Destroy();
        Window::CloseVideo();
        SetLogCapture(nullptr);
    }

    static void ExpectColor(uint32_t actual, uint32_t expected, int tolerance, const char* what) {
        for (int shift : {16, 8, 0}) {
            int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
            EXPECT_NEAR(a, e, tolerance) << what << std::hex << ": got 0x" << actual << ", want 0x" << expected;
        }
    }

    std::string log;
    CommandLine commandLine{std::vector<std::string>{"-win"}};
    Window window;
    std::unique_ptr<Graphics> graphics;
    GlDevice* device = nullptr;
    ResourceTable resources;
    std::string box, translucent;
    std::vector<unsigned char> checker, font;
};

} // namespace

TEST_P(RenderGl, LitTexturedCulledAndBlendedMesh) {
    EXPECT_NE(log.find("ウインドウ化 = ON\n"), std::string::npos) << log;
    EXPECT_NE(log.find("デバイスタイプ = "), std::string::npos);

    MeshResource mesh, glass;
    ASSERT_TRUE(mesh.Load(*graphics, "BOX", 0, 1)) << log;
    ASSERT_TRUE(glass.Load(*graphics, "GLASS", 0, 1)) << log;
    EXPECT_NE(log.find("load(checker) ... ok.\n"), std::string::npos) << log;

    SetCamera(*graphics, {0, 0, -5}, {0, 0, 0}, {0, 1, 0});
    ASSERT_TRUE(graphics->BeginFrame(0xFF000080));
    SceneNode node;
    node.Init(&mesh, 0, 0, 0, 1);
    node.Draw();
    // The default light falls on the near face at 1/sqrt(3): 0.5 x 0.577 of
    // light plus the grey ambient makes 0.79 of the texel's colour.
    ExpectColor(device->ReadPixel(W / 2 - 10, H / 2), 0xC9C9C9, 8, "white texel, lit");
    ExpectColor(device->ReadPixel(W / 2 + 10, H / 2), 0x0000C9, 8, "blue texel, lit");
    ExpectColor(device->ReadPixel(5, 5), 0x000080, 2, "background");

    // Half-transparent green over the background: blended, not replaced.
    ASSERT_TRUE(graphics->BeginFrame(0xFF0000FF));
    node.Init(&glass, 0, 0, 0, 1);
    node.Draw();
    ExpectColor(device->ReadPixel(W / 2, H / 2), 0x006580, 8, "translucent green over blue");

    // From inside the box only back faces face the camera: all culled.
    SetCamera(*graphics, {0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    ASSERT_TRUE(graphics->BeginFrame(0xFF000080));
    node.Init(&mesh, 0, 0, 0, 1);
    node.Draw();
    ExpectColor(device->ReadPixel(W / 2, H / 2), 0x000080, 2, "inside the box");
    graphics->EndFrame();
}

TEST_P(RenderGl, ClockwiseTriangleIsSeenAndItsMirrorIsCulled) {
    struct V {
        float x, y, z;
        uint32_t color;
    };
    SetCamera(*graphics, {0, 0, -5}, {0, 0, 0}, {0, 1, 0});
    ASSERT_TRUE(graphics->BeginFrame(0xFF000000));
    Device& d = *device;
    d.SetRenderState(RenderState::Lighting, 0);
    d.SetTransform(TransformType::World, MatrixIdentity());
    // Left: up, then right - clockwise on screen. Right: the same triangle mirrored.
    V clockwise[3] = {{-2, -1, 0, 0xFFFF0000}, {-2, 1, 0, 0xFFFF0000}, {-0.5f, -1, 0, 0xFFFF0000}};
    V mirrored[3] = {{2, -1, 0, 0xFF00FF00}, {2, 1, 0, 0xFF00FF00}, {0.5f, -1, 0, 0xFF00FF00}};
    d.DrawPrimitive(PrimitiveType::TriangleList, Fvf::Xyz | Fvf::Diffuse, clockwise, 1);
    d.DrawPrimitive(PrimitiveType::TriangleList, Fvf::Xyz | Fvf::Diffuse, mirrored, 1);
    int y = H / 2 + 8;
    ExpectColor(device->ReadPixel(W / 2 - 35, y), 0xFF0000, 2, "clockwise triangle");
    ExpectColor(device->ReadPixel(W / 2 + 35, y), 0x000000, 2, "mirrored triangle");

    // Screen-space rectangles land on exact pixels.
    FillRect2D(d, 10, 20, 30, 40, 0xFF00FF00);
    ExpectColor(device->ReadPixel(10, 20), 0x00FF00, 2, "rectangle's first pixel");
    ExpectColor(device->ReadPixel(29, 39), 0x00FF00, 2, "rectangle's last pixel");
    ExpectColor(device->ReadPixel(30, 40), 0x000000, 2, "past the rectangle");

    // A zero colour keeps the picture and clears only depth.
    ASSERT_TRUE(graphics->BeginFrame(0));
    ExpectColor(device->ReadPixel(15, 25), 0x00FF00, 2, "kept picture");
}

TEST_P(RenderGl, SpritesAndBitmapText) {
    Texture sheet, picture;
    ASSERT_TRUE(sheet.Load(*graphics, "font", 0xFF000000, 1)) << log;
    ASSERT_TRUE(picture.Load(*graphics, "CHECKER", 0, 1));
    ASSERT_TRUE(graphics->BeginFrame(0xFF000000));

    Sprite text;
    text.SetTexture(&sheet);
    text.color = 0xFFFF0000;
    text.positionX = 37;
    text.positionY = 30;
    text.DrawText(*device, "\tA");
    // The tab stop is the next multiple of 40 screen pixels.
    ExpectColor(device->ReadPixel(40, 30), 0xFF0000, 2, "glyph's top left");
    ExpectColor(device->ReadPixel(44, 39), 0xFF0000, 2, "glyph's bottom right");
    ExpectColor(device->ReadPixel(45, 30), 0x000000, 2, "right of the glyph (transparent key)");
    ExpectColor(device->ReadPixel(40, 40), 0x000000, 2, "below the glyph");

    // Scaled twice: the 2 x 2 picture covers 4 x 4 pixels.
    Sprite sprite;
    sprite.SetTexture(&picture);
    sprite.scalingX = sprite.scalingY = 2;
    sprite.positionX = 100;
    sprite.positionY = 60;
    device->BeginSprites();
    sprite.Draw(*device);
    device->EndSprites();
    ExpectColor(device->ReadPixel(100, 60), 0xFFFFFF, 2, "sprite left half");
    ExpectColor(device->ReadPixel(103, 63), 0x0000FF, 2, "sprite right half");
    ExpectColor(device->ReadPixel(104, 60), 0x000000, 2, "past the sprite");
}

TEST_P(RenderGl, SpriteBatchLeavesTheTextureItFound) {
    Texture picture, sheet;
    ASSERT_TRUE(picture.Load(*graphics, "CHECKER", 0, 1));
    ASSERT_TRUE(sheet.Load(*graphics, "font", 0xFF000000, 1));
    ASSERT_TRUE(graphics->BeginFrame(0xFF000000));
    device->SetRenderState(RenderState::Lighting, 0);
    device->SetTexture(picture.texture());

    // Text between setting the texture and using it: a batch of another texture.
    Sprite text;
    text.SetTexture(&sheet);
    text.positionX = 5;
    text.positionY = 5;
    text.DrawText(*device, "A");

    struct V {
        float x, y, z, rhw;
        uint32_t color;
        float u, v;
    };
    V quad[4] = {{20, 20, 0, 1, 0xFFFFFFFF, 0, 0},
                 {60, 20, 0, 1, 0xFFFFFFFF, 1, 0},
                 {60, 40, 0, 1, 0xFFFFFFFF, 1, 1},
                 {20, 40, 0, 1, 0xFFFFFFFF, 0, 1}};
    device->DrawPrimitive(PrimitiveType::TriangleFan, Fvf::XyzRhw | Fvf::Diffuse | Fvf::Tex1, quad, 2);
    ExpectColor(device->ReadPixel(30, 30), 0xFFFFFF, 2, "checker's white half");
    ExpectColor(device->ReadPixel(50, 30), 0x0000FF, 2, "checker's blue half");
    ExpectColor(device->ReadPixel(5, 5), 0xFFFFFF, 2, "the text's glyph");
}

INSTANTIATE_TEST_SUITE_P(Renderers, RenderGl, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Classic" : "Batched"; });
