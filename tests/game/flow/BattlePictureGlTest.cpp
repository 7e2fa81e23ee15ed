// The batched renderer draws a busy battle as the fixed-function pipeline
// does: the same frames, recorded once, rendered both ways and compared
// pixel by pixel. The pictures stay in battle-picture/ for eyes.
#include "game/flow/BattleFactories.h"
#include "game/flow/HeadlessBattle.h"
#include "game/world/Overlays.h"
#include "game/world/World.h"
#include "platform/Log.h"
#include "platform/Random.h"
#include "platform/Window.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"
#include "render/Sprite.h"
#include "render/TextureCache.h"
#include "render/gl/GlDevice.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <stb_image_write.h>

namespace {

constexpr int W = 1024, H = 768;

// Keeps the lists of the frames it presents.
class CapturingDevice : public DrawListDevice {
public:
    std::vector<DrawList> lists;

protected:
    void RenderList(const DrawList& list, DrawStats&) override { lists.push_back(list); }
    void ShowPicture() override {}
};

void WritePng(const std::string& path, const std::vector<uint32_t>& argb) {
    std::vector<unsigned char> rgb(argb.size() * 3);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgb[i * 3] = (unsigned char)(argb[i] >> 16);
        rgb[i * 3 + 1] = (unsigned char)(argb[i] >> 8);
        rgb[i * 3 + 2] = (unsigned char)argb[i];
    }
    stbi_write_png(path.c_str(), W, H, 3, rgb.data(), W * 3);
}

} // namespace

TEST(BattlePicture, BatchedRendererDrawsABusyBattleAsTheFixedPipeline) {
    if (ResourceTable::Embedded().Find("X", "STATION_01").empty()) GTEST_SKIP() << "no models embedded";
    if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
    std::string log;
    SetLogCapture(&log);
    {
        // Both renderers on one OpenGL context (the fixed pipeline needs the
        // compatibility profile; the batched one runs on it too).
        Window window;
        ASSERT_TRUE(window.Create(W, H));
        ASSERT_TRUE(window.CreateGlContext(Window::GlProfile::Compatibility21));
        GlDevice classic(&window, W, H, GlRendererKind::Classic);
        GlDevice batched(&window, W, H, GlRendererKind::Batched);
        ASSERT_TRUE(classic.Ready());
        ASSERT_TRUE(batched.Ready());
        std::filesystem::create_directories("battle-picture");
        std::vector<uint32_t> reference(size_t(W) * H), picture(size_t(W) * H);

        // The battle of the lab's standard run, recorded at two busy frames
        // with what the battle screen adds: the sun, the country overlay, text.
        auto owned = std::make_unique<CapturingDevice>();
        CapturingDevice& capture = *owned;
        Graphics graphics(std::move(owned), W, H);
        graphics.resources = &ResourceTable::Embedded();
        BattleFamilies families;
        families.Load(graphics);
        Texture font, sun;
        ASSERT_TRUE(font.Load(graphics, "FONT", 0xFF000000, 1));
        ASSERT_TRUE(sun.Load(graphics, "LIGHT", 0, 1));
        Sprite text;
        text.SetTexture(&font);
        // The sun's flicker draws from its own generator, not the battle's.
        RandomGenerator flicker;
        flicker.Seed(3);

        HeadlessBattleOptions options;
        options.seed = 7;
        options.frames = 3001;
        options.selection.fightersPerTeam = 10;
        for (int c = 0; c < CountryCount; ++c) options.selection.Place(c, c, c + 1);
        const std::set<int> recorded = {1200, 3000};
        int compared = 0;
        HeadlessFrameHooks hooks;
        hooks.beforeStep = [&](World& world, int frame) {
            if (!recorded.count(frame)) return;
            Vector3 at = world.stations.AveragePosition();
            const float yaw = 2.1991148f, pitch = 0.47123894f, distance = 180;
            Vector3 eye =
                at + Vector3{std::cos(pitch) * std::cos(yaw), std::sin(pitch), std::cos(pitch) * std::sin(yaw)} * distance;
            SetCamera(graphics, eye, at, {0, 1, 0});
            ASSERT_TRUE(graphics.BeginFrame(0xFF000000));
            graphics.SetDirectionalLight(1, -2, 1, 1, 1, 1, 1);
            graphics.device()->SetRenderState(RenderState::ZFunc, CmpLessEqual);
            graphics.device()->SetRenderState(RenderState::Lighting, 1);
        };
        hooks.afterStep = [&](World& world, int frame) {
            if (!recorded.count(frame)) return;
            Device& device = *graphics.device();
            device.SetRenderState(RenderState::Lighting, 0);
            device.SetTexture(sun.texture());
            const Matrix& view = graphics.view;
            Vector3 eye = CameraEye(view);
            Vector3 facing{view.m[0][2], view.m[1][2], view.m[2][2]};
            DrawSunAndFlare(graphics, flicker, eye - 100.0f * world.lightDirection, eye, facing, 5);
            device.SetTexture(nullptr);
            OverlayContext overlay;
            overlay.width = W;
            overlay.height = H;
            overlay.participantCount = CountryCount;
            overlay.countryName = [](int country) { return std::string(CountryName(country)); };
            overlay.drawText = [&](int x, int y, const std::string& line, uint32_t color) {
                text.positionX = float(x);
                text.positionY = float(y);
                text.color = color;
                text.DrawText(device, line);
            };
            DrawCountryOverlay(world, overlay);
            DrawFrameRate(overlay, 29.5f);
            graphics.EndFrame();
            ASSERT_EQ(capture.lists.size(), 1u);

            // Rendered both ways while the battle's models are still loaded.
            const DrawList& list = capture.lists.back();
            classic.Render(list);
            classic.ReadPixels(reference);
            batched.Render(list);
            batched.ReadPixels(picture);
            capture.lists.clear();
            size_t apart = 0, lit = 0;
            for (size_t i = 0; i < picture.size(); ++i) {
                if (reference[i] & 0xFFFFFF) ++lit;
                for (int shift : {16, 8, 0}) {
                    int a = int((reference[i] >> shift) & 0xFF), b = int((picture[i] >> shift) & 0xFF);
                    if (std::abs(a - b) > 2) {
                        ++apart;
                        break;
                    }
                }
            }
            std::string name = "battle-picture/frame" + std::to_string(frame);
            WritePng(name + "-classic.png", reference);
            WritePng(name + "-batched.png", picture);
            // A busy battle: plenty on the screen, and at most one pixel in a thousand apart.
            EXPECT_GT(lit, picture.size() / 200) << name;
            EXPECT_LE(apart, picture.size() / 1000) << name << ": " << apart << " pixels differ by more than 2/255";
            std::printf("%s: %zu of %zu pixels differ by more than 2/255 (%zu lit)\n", name.c_str(), apart,
                        picture.size(), lit);
            ++compared;
        };
        RunHeadlessBattle(graphics, options, [&](World& world) { families.Install(world); }, hooks);
        EXPECT_EQ(compared, int(recorded.size()));
    }
    Window::CloseVideo();
    SetLogCapture(nullptr);
}
