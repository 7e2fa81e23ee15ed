// Every screen at the three sizes the game was made for, drawn by the real
// OpenGL device and compared pixel for pixel with its golden picture in
// tests/golden/WxH/. A player who keeps the classic choices sees exactly these
// pictures; nothing added later may move what is in them.
// STARMARCH_UPDATE_GOLDEN=1 writes the pictures anew (a deliberate change).
#include "game/flow/Game.h"
#include "game/screens/Layout.h"
#include "platform/App.h"
#include "platform/Clock.h"
#include "platform/KeyCodes.h"
#include "platform/Log.h"
#include "platform/PictureRate.h"
#include "platform/Sound.h"
#include "platform/Window.h"
#include "render/Graphics.h"
#include "render/ResourceTable.h"
#include "render/gl/GlDevice.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

namespace {

// Aim at the middle of a rectangle of the 640 x 480 design.
int CentreX(const ScreenRect& r) { return r.x + r.w / 2; }
int CentreY(const ScreenRect& r) { return r.y + r.h / 2; }

class StillClock : public Clock {
public:
    uint32_t Now() override { return 0; }
    void Sleep(uint32_t) override {}
};

// The game in a window of the size, driven frame by frame with scripted input.
struct Played {
    Played(int width, int height, int uiScale = 1) : width(width), height(height), app(0, nullptr, clock) {
        SetLogCapture(&log);
        settings.frameRate = PictureRate::Classic;
        ready = app.window.Create(width, height);
        graphics = std::make_unique<Graphics>(app.window, commandLine, 1, width, height);
        graphics->resources = &ResourceTable::Embedded();
        graphics->SetUiScale(uiScale);
        ready = ready && graphics->Init();
        if (!ready) return;
        game = std::make_unique<Game>(app, *graphics, sound, settings);
        game->context.instantTransitions = true;
        // The result screen as described: no replay of the battle, no "Watch Again".
        game->context.recordBattles = false;
        app.input.SetClientSize(width / uiScale, height / uiScale);
        app.input.SetMousePosition(width / uiScale / 2, height / uiScale / 2);
        game->Init();
    }
    ~Played() {
        game.reset();
        graphics.reset();
        app.window.Destroy();
        SetLogCapture(nullptr);
    }
    void Frame(int dx = 0, int dy = 0, bool left = false, std::vector<int> keys = {}) {
        RawInput raw;
        raw.mouseDx = float(dx);
        raw.mouseDy = float(dy);
        raw.mouseButtons[0] = left ? 0x80 : 0;
        for (int key : keys) raw.keys[size_t(key)] = 0x80;
        app.input.Poll(raw);
        game->Frame();
    }
    // To (x, y) of the 640 x 480 design, in moves the game takes whole.
    void MoveTo(int x, int y, bool left = false) {
        GameContext& g = game->context;
        x += g.x0;
        y += g.y0;
        for (int i = 0; i < 10 && (g.cursorX != x || g.cursorY != y); ++i)
            Frame(std::clamp(x - g.cursorX, -300, 300), std::clamp(y - g.cursorY, -200, 200), left);
    }
    void Click(int x, int y) {
        MoveTo(x, y);
        Frame(0, 0, true);
        Frame();
    }
    void Click(const ScreenRect& r) { Click(CentreX(r), CentreY(r)); }
    void Drag(const ScreenRect& from, const ScreenRect& to) {
        MoveTo(CentreX(from), CentreY(from));
        Frame(0, 0, true);
        MoveTo(CentreX(to), CentreY(to), true);
        Frame();
    }
    std::vector<uint32_t> Picture() {
        std::vector<uint32_t> argb(size_t(width) * size_t(height));
        static_cast<GlDevice*>(graphics->device())->ReadPixels(argb);
        return argb;
    }

    int width, height;
    std::string log;
    StillClock clock;
    App app;
    CommandLine commandLine{std::vector<std::string>{"-win"}};
    std::unique_ptr<Graphics> graphics;
    SoundSystem sound{commandLine, "./"};
    ControlSettings settings;
    std::unique_ptr<Game> game;
    bool ready = false;
};

// Compares the picture with its golden one (or writes it when asked); the
// picture that differs is kept in the build tree beside the test. Options
// added to a screen since its golden picture was taken draw only in the added
// rectangles (screen pixels), which the comparison leaves out.
void ExpectGolden(const std::vector<uint32_t>& argb, int width, int height, const std::string& name,
                  const std::vector<ScreenRect>& added = {}) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string golden = std::string(STARMARCH_GOLDEN_DIR) + "/" + size + "/" + name + ".png";
    std::vector<unsigned char> rgb(argb.size() * 3);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgb[i * 3] = (unsigned char)(argb[i] >> 16);
        rgb[i * 3 + 1] = (unsigned char)(argb[i] >> 8);
        rgb[i * 3 + 2] = (unsigned char)argb[i];
    }
    if (const char* update = std::getenv("STARMARCH_UPDATE_GOLDEN"); update && *update == '1') {
        std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
        stbi_write_png(golden.c_str(), width, height, 3, rgb.data(), width * 3);
        return;
    }
    int w = 0, h = 0, channels = 0;
    unsigned char* expected = stbi_load(golden.c_str(), &w, &h, &channels, 3);
    ASSERT_NE(expected, nullptr) << "no golden picture " << golden;
    size_t differing = 0;
    auto isAdded = [&](int x, int y) {
        return std::any_of(added.begin(), added.end(), [&](const ScreenRect& r) { return r.Contains(x, y); });
    };
    if (w == width && h == height)
        for (size_t i = 0; i < rgb.size(); i += 3)
            if ((rgb[i] != expected[i] || rgb[i + 1] != expected[i + 1] || rgb[i + 2] != expected[i + 2]) &&
                !isAdded(int(i / 3) % width, int(i / 3) / width))
                ++differing;
    stbi_image_free(expected);
    EXPECT_TRUE(w == width && h == height && differing == 0)
        << name << " at " << size << ": " << differing << " pixels differ from " << golden;
    if (differing || w != width || h != height) {
        std::filesystem::create_directories("golden-differs");
        stbi_write_png(("golden-differs/" + size + "-" + name + ".png").c_str(), width, height, 3, rgb.data(),
                       width * 3);
    }
}

// At UI scale 2 on a 1280 x 960 screen the menus are the 640 x 480 pictures
// drawn twice as large: the credits' text on black shows every golden pixel
// as a crisp 2 x 2 block (within rounding) where the scaled layout puts it.
// Pictures and models are drawn at the screen's own resolution, finer than
// the golden ones, so the rest is left out.
void ExpectTitleDoubledAtUiScaleTwo() {
    Played p(1280, 960, 2);
    ASSERT_TRUE(p.ready);
    GameContext& g = p.game->context;
    EXPECT_EQ(g.width * 1000 + g.height, 640 * 1000 + 480);
    for (int i = 0; i < 90 && g.Scene() == SceneId::Loading; ++i) p.Frame();
    ASSERT_EQ(g.Scene(), SceneId::Title);
    p.app.random.Seed(2026);
    for (int i = 0; i < 40; ++i) p.Frame();
    const std::vector<uint32_t> picture = p.Picture();
    int w = 0, h = 0, channels = 0;
    unsigned char* golden = stbi_load((std::string(STARMARCH_GOLDEN_DIR) + "/640x480/title.png").c_str(), &w, &h,
                                      &channels, 3);
    ASSERT_NE(golden, nullptr);
    ASSERT_EQ(w * 1000 + h, 640 * 1000 + 480);
    const ScreenRect texts[] = {{408, 178, 230, 24}};
    size_t differing = 0, compared = 0;
    for (const ScreenRect& r : texts)
        for (int y = 2 * r.y; y < 2 * (r.y + r.h); ++y)
            for (int x = 2 * r.x; x < 2 * (r.x + r.w); ++x) {
                const unsigned char* e = golden + (size_t(y / 2) * 640 + size_t(x / 2)) * 3;
                const uint32_t c = picture[size_t(y) * 1280 + size_t(x)];
                ++compared;
                auto near = [](uint32_t a, unsigned char b) { return std::abs(int(a & 0xFF) - int(b)) <= 2; };
                if (!near(c >> 16, e[0]) || !near(c >> 8, e[1]) || !near(c, e[2])) ++differing;
            }
    stbi_image_free(golden);
    EXPECT_EQ(differing, 0u) << "UI scale 2: of " << compared << " pixels";
    if (differing) {
        std::vector<unsigned char> rgb(picture.size() * 3);
        for (size_t i = 0; i < picture.size(); ++i)
            for (int c = 0; c < 3; ++c) rgb[i * 3 + size_t(c)] = (unsigned char)(picture[i] >> (16 - 8 * c));
        std::filesystem::create_directories("golden-differs");
        stbi_write_png("golden-differs/1280x960-ui2-title.png", 1280, 960, 3, rgb.data(), 1280 * 3);
    }
}

} // namespace

TEST(ScreensGolden, EveryScreenAtTheThreeSizesAndTheTitleAtUiScaleTwo) {
    if (ResourceTable::Embedded().Find("X", "STATION_01").empty()) GTEST_SKIP() << "no models embedded";
    if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
    for (auto [width, height] : {std::pair{640, 480}, std::pair{800, 600}, std::pair{1024, 768}}) {
        Played p(width, height);
        ASSERT_TRUE(p.ready);
        GameContext& g = p.game->context;
        for (int i = 0; i < 90 && g.Scene() == SceneId::Loading; ++i) {
            p.Frame();
            if (i == 89) ExpectGolden(p.Picture(), width, height, "loading");
        }
        ASSERT_EQ(g.Scene(), SceneId::Title);
        // The loading screen seeds from the clock: the pictures need one seed.
        p.app.random.Seed(2026);
        for (int i = 0; i < 40; ++i) p.Frame();
        ExpectGolden(p.Picture(), width, height, "title");

        p.Click(TitleLayout::ChooseCountries);
        for (int country : {0, 1, 5, 9})
            p.Drag(CountrySelectLayout::AvailableFlag(country), CountrySelectLayout::TeamSlot(country));
        p.Click(CountrySelectLayout::SlotName(0));
        p.MoveTo(300, 300);
        ExpectGolden(p.Picture(), width, height, "selection");

        p.Click(CountrySelectLayout::Start);
        ASSERT_EQ(g.Scene(), SceneId::Battle);
        for (int i = 0; i < 120; ++i) p.Frame(i < 30 ? 2 : 0, 0);
        ExpectGolden(p.Picture(), width, height, "battle");

        p.Frame(0, 0, false, {Dik::Escape});
        p.Frame();
        ASSERT_EQ(g.Scene(), SceneId::Result);
        ExpectGolden(p.Picture(), width, height, "result");

        p.Frame(0, 0, false, {Dik::Escape});
        p.Frame();
        p.Click(TitleLayout::Settings);
        ASSERT_EQ(g.Scene(), SceneId::Settings);
        ExpectGolden(p.Picture(), width, height, "settings",
                     {SettingsLayout::AddedDisplayArea.At(g.x0, g.y0),
                      SettingsLayout::AddedPadPointerArea.At(g.x0, g.y0)});
    }
    ExpectTitleDoubledAtUiScaleTwo();
    Window::CloseVideo();
}
