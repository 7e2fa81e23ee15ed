// The menu screens driven as a player would, without a window: scripted
// mouse and keyboard states go through the real input rules, the screens
// draw to a recording device.
#include "game/flow/BattleFactories.h"
#include "game/flow/Config.h"
#include "game/flow/Game.h"
#include "game/flow/SettingsTable.h"
#include "game/replay/ReplayFormat.h"
#include "game/replay/ReplayRun.h"
#include "game/screens/Layout.h"
#include "game/world/World.h"
#include "platform/App.h"
#include "platform/Clock.h"
#include "platform/KeyCodes.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/PictureRate.h"
#include "render/DrawList.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/RecordingDevice.h"
#include "render/ResourceTable.h"
#include "support/DrawBoxes.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Aim at the middle of a rectangle of the 640 x 480 design.
int CentreX(const ScreenRect& r) {
    return r.x + r.w / 2;
}
int CentreY(const ScreenRect& r) {
    return r.y + r.h / 2;
}

class StillClock : public Clock {
public:
    uint32_t Now() override { return 0; }
    void Sleep(uint32_t) override {}
};

// A game on a recording device (or one of the test's), past its loading screen.
struct Screens {
    explicit Screens(std::unique_ptr<Device> device = std::make_unique<RecordingDevice>(),
                     int frameRate = PictureRate::Classic, int width = 640, int height = 480, int uiScale = 1)
        : app(0, nullptr, clock), graphics(std::move(device), width, height) {
        SetLogCapture(&log);
        graphics.resources = &ResourceTable::Embedded();
        graphics.SetUiScale(uiScale);
        settings.frameRate = frameRate;
        game = std::make_unique<Game>(app, graphics, sound, settings);
        game->context.instantTransitions = true;
        // The input devices put the pointer in the middle of the window when they start.
        app.input.SetClientSize(width, height);
        app.input.SetMousePosition(width / 2, height / 2);
        game->Init();
        for (int i = 0; i < 91 && game->context.Scene() == SceneId::Loading; ++i) Frame();
    }
    ~Screens() {
        game.reset();
        SetLogCapture(nullptr);
    }

    // One frame with the mouse moved by (dx, dy), the buttons held as given
    // and the keys down.
    void Frame(int dx = 0, int dy = 0, bool left = false, bool right = false, std::vector<int> keys = {}) {
        RawInput raw;
        raw.mouseDx = float(dx);
        raw.mouseDy = float(dy);
        raw.mouseButtons[0] = left ? 0x80 : 0;
        raw.mouseButtons[1] = right ? 0x80 : 0;
        for (int key : keys) raw.keys[size_t(key)] = 0x80;
        app.input.Poll(raw);
        game->Frame();
    }
    // Moves the game's cursor to (x, y) of the 640 x 480 design.
    // (A frame's motion is at most half the screen, as the pointer is kept
    // in the middle; longer moves take several frames.)
    void MoveTo(int x, int y) {
        GameContext& g = game->context;
        for (int i = 0; i < 8 && (g.cursorX != x || g.cursorY != y); ++i)
            Frame(std::clamp(x - g.cursorX, -300, 300), std::clamp(y - g.cursorY, -200, 200));
    }
    void Click(int x, int y) {
        MoveTo(x, y);
        Frame(0, 0, true);
        Frame();
    }
    void MoveTo(const ScreenRect& r) { MoveTo(CentreX(r), CentreY(r)); }
    void Click(const ScreenRect& r) { Click(CentreX(r), CentreY(r)); }
    void Drag(int fromX, int fromY, int toX, int toY) {
        MoveTo(fromX, fromY);
        Frame(0, 0, true);
        GameContext& g = game->context;
        for (int i = 0; i < 8 && (g.cursorX != toX || g.cursorY != toY); ++i)
            Frame(std::clamp(toX - g.cursorX, -300, 300), std::clamp(toY - g.cursorY, -200, 200), true);
        Frame();
    }
    void Drag(const ScreenRect& from, const ScreenRect& to) {
        Drag(CentreX(from), CentreY(from), CentreX(to), CentreY(to));
    }
    void Key(int key) {
        Frame(0, 0, false, false, {key});
        Frame();
    }

    std::string log;
    StillClock clock;
    App app;
    Graphics graphics;
    CommandLine noSwitches;
    SoundSystem sound{noSwitches, "./"};
    ControlSettings settings;
    std::unique_ptr<Game> game;
};

// The sprites drawn since the last ClearDraws whose top-left is (x, y).
std::vector<SpriteDraw> SpritesAt(const RecordingDevice& device, float x, float y) {
    std::vector<SpriteDraw> found;
    for (const auto& draw : device.draws)
        if (draw.kind == RecordingDevice::Draw::Kind::Sprite && draw.sprite.x == x && draw.sprite.y == y)
            found.push_back(draw.sprite);
    return found;
}

} // namespace

TEST(GameScreens, CountrySelectionByDragAndDrop) {
    using namespace CountrySelectLayout;
    Screens s;
    GameContext& g = s.game->context;
    ASSERT_EQ(g.Scene(), SceneId::Title);
    s.Click(TitleLayout::ChooseCountries);
    ASSERT_EQ(g.Scene(), SceneId::CountrySelect);
    CountrySelection& sel = g.selection;

    // "Start" with nobody placed does nothing.
    s.Click(Start);
    EXPECT_EQ(g.Scene(), SceneId::CountrySelect);

    s.Drag(AvailableFlag(0), TeamSlot(2));
    EXPECT_EQ(sel.slotCountry[2], 0);
    EXPECT_EQ(sel.countryAvailable[0], -1);
    // Slot to slot: the country moves and its old slot empties.
    s.Drag(SlotFlag(2), TeamSlot(7));
    EXPECT_EQ(sel.slotCountry[2], -1);
    EXPECT_EQ(sel.slotCountry[7], 0);
    // Onto an occupied slot: nothing changes.
    s.Drag(AvailableFlag(1), TeamSlot(7));
    EXPECT_EQ(sel.slotCountry[7], 0);
    EXPECT_EQ(sel.countryAvailable[1], 0);
    // Back to the row.
    s.Drag(SlotFlag(7), AvailableRow);
    EXPECT_EQ(sel.slotCountry[7], -1);
    EXPECT_EQ(sel.countryAvailable[0], 0);

    // Team numbers wrap 12 -> 1 and 1 -> 12; fighters 10 -> 1 and 1 -> 10.
    sel.slotTeam[0] = 12;
    s.Click(SlotTeam(0));
    EXPECT_EQ(sel.slotTeam[0], 1);
    s.MoveTo(SlotTeam(0));
    s.Frame(0, 0, false, true);
    s.Frame();
    EXPECT_EQ(sel.slotTeam[0], 12);
    sel.fightersPerTeam = 1;
    s.MoveTo(FightersNumber);
    s.Frame(0, 0, false, true);
    s.Frame();
    EXPECT_EQ(sel.fightersPerTeam, 10);
    s.Click(FightersNumber);
    EXPECT_EQ(sel.fightersPerTeam, 1);

    // Two countries, the player's mark, and the battle starts.
    s.Drag(AvailableFlag(0), TeamSlot(0));
    s.Drag(AvailableFlag(1), TeamSlot(4));
    s.Click(SlotName(0));
    EXPECT_EQ(sel.PlayerCountry(), 0);
    s.Click(Start);
    ASSERT_EQ(g.Scene(), SceneId::Battle);
    ASSERT_NE(g.world(), nullptr);
    EXPECT_EQ(g.world()->stations.Count(), 2u);
    EXPECT_EQ(g.participantCount, 2);
    for (int i = 0; i < 30; ++i) s.Frame();
    EXPECT_GT(g.world()->fighters.Count(), 0u) << "fighters launch in the battle";
    s.Key(Dik::Escape);
    EXPECT_EQ(g.Scene(), SceneId::Result);
}

TEST(GameScreens, LeavingAScreenPutsThePointerInTheMiddleAndPauses) {
    Screens s;
    GameContext& g = s.game->context;
    auto centred = [&] { return g.cursorX == 320 && g.cursorY == 240; };

    // "Cancel" sits where the title's "Quit" is: the pointer must not stay on it.
    s.Click(TitleLayout::ChooseCountries);
    ASSERT_EQ(g.Scene(), SceneId::CountrySelect);
    int pauses = g.pauses;
    s.MoveTo(CountrySelectLayout::Cancel);
    s.Frame(0, 0, true);
    ASSERT_EQ(g.Scene(), SceneId::Title);
    EXPECT_TRUE(centred()) << g.cursorX << ", " << g.cursorY;
    EXPECT_EQ(g.pauses, pauses + 1);

    s.Click(TitleLayout::ChooseCountries);
    s.MoveTo(600, 20);
    s.Key(Dik::Escape);
    ASSERT_EQ(g.Scene(), SceneId::Title);
    EXPECT_TRUE(centred()) << g.cursorX << ", " << g.cursorY;

    // Escape in a battle: the result screen opens with the pointer in the
    // middle (not on "Back"), after the same pause, with the preview models.
    s.Click(TitleLayout::ChooseCountries);
    g.selection.Place(0, 0, 1);
    s.Click(CountrySelectLayout::Start);
    ASSERT_EQ(g.Scene(), SceneId::Battle);
    s.MoveTo(ResultLayout::Back);
    ASSERT_FALSE(centred());
    pauses = g.pauses;
    s.Frame(0, 0, false, false, {Dik::Escape});
    ASSERT_EQ(g.Scene(), SceneId::Result);
    EXPECT_TRUE(centred()) << g.cursorX << ", " << g.cursorY;
    EXPECT_EQ(g.pauses, pauses + 1);
    EXPECT_NE(g.displayStations[0], nullptr);
}

TEST(GameScreens, ResourcesLoadInTheOrderOfTheSetUp) {
    Screens s;
    std::vector<std::string> expected = {
        "FONT", "OP_00", "OP_09", "TITLE", "PLANET", "FLAG", "LIGHT", "SIGHT", "ARROW1", "ARROW2",
        // Push buttons and the game, then option buttons.
        "Data\\MouseOver.wav", "Data\\MouseClick.wav", "Data\\MouseOver.wav", "Data\\MouseClick.wav",
        "EXPLOTION", "TRAIL_01", "TRAIL_12", "VAPOR", "Data\\Explotion.wav", "PLASMA", "Data\\PlasmaShot.wav",
        "Data\\PlasmaHit.wav", "LASER", "Data\\LaserShot.wav", "Data\\LaserHit.wav", "MISSILE",
        "Data\\Missile.wav", "MISSILE_S", "Data\\MissileS.wav", "BARRAGE", "Data\\BarrageShot.wav", "PANEL_A",
        "PANEL_C", "TURRET_AM", "TURRET_IM", "STATION_01", "STATION_12", "FIGHTER_01", "FIGHTER_12"};
    // The loads of those names, in the order the log has them.
    std::vector<std::string> loaded;
    for (size_t at = s.log.find("load("); at != std::string::npos; at = s.log.find("load(", at + 1)) {
        size_t end = s.log.find(") ... ", at);
        if (end == std::string::npos) break;
        std::string name = s.log.substr(at + 5, end - at - 5);
        if (std::find(expected.begin(), expected.end(), name) != expected.end()) loaded.push_back(name);
    }
    EXPECT_EQ(loaded, expected);
}

TEST(GameScreens, CursorMarks) {
    Screens s;
    GameContext& g = s.game->context;
    auto& device = static_cast<RecordingDevice&>(*s.graphics.device());
    g.cursorX = 100;
    g.cursorY = 50;
    auto fills = [&](bool alt, bool order) {
        device.draws.clear();
        g.DrawCursor(alt, order);
        return Boxes(device.draws, PrimitiveType::TriangleFan);
    };
    const std::vector<DrawBox> altMark = {{118, 51, 123, 56, 0xFF004080}, {120, 53, 125, 58, 0xFF0080FF}};
    const std::vector<DrawBox> orderMark = {{101, 68, 106, 73, 0xFF804000}, {103, 70, 108, 75, 0xFFFF8000}};
    EXPECT_TRUE(fills(false, false).empty());
    EXPECT_EQ(fills(true, false), altMark);
    EXPECT_EQ(fills(false, true), orderMark);
    std::vector<DrawBox> both = altMark;
    both.insert(both.end(), orderMark.begin(), orderMark.end());
    EXPECT_EQ(fills(true, true), both);
}

TEST(GameScreens, ResultTableSortsStablyAndStartsByTeam) {
    Screens s;
    GameContext& g = s.game->context;
    // Three countries of teams 2, 1, 1 with scores 5, 9, 5.
    g.selection.Place(3, 0, 2);
    g.selection.Place(5, 1, 1);
    g.selection.Place(7, 2, 1);
    // The player marked slot 3, which is empty: they watch from team 1's side.
    g.selection.playerSlot = 3;
    g.participantCount = 3;
    g.stats.StartCountry(3, 2);
    g.stats.StartCountry(5, 1);
    g.stats.StartCountry(7, 1);
    g.stats.SetScore(3, 5);
    g.stats.SetScore(5, 9);
    g.stats.SetScore(7, 5);
    g.SwitchTo(SceneId::Result);
    auto& device = static_cast<RecordingDevice&>(*s.graphics.device());
    device.draws.clear();
    s.Frame();
    EXPECT_EQ(s.game->Result().SortColumn(), 0);
    EXPECT_EQ(s.game->Result().Order()[0], 5);
    EXPECT_EQ(s.game->Result().Order()[1], 7);
    EXPECT_EQ(s.game->Result().Order()[2], 3);
    // Names: the player's team cyan, the other team red.
    const uint32_t nameColors[3] = {0xFF40C0C0, 0xFF40C0C0, 0xFFC04040};
    for (int r = 0; r < 3; ++r) {
        auto glyphs = SpritesAt(device, 55, float(33 * r + 61));
        ASSERT_EQ(glyphs.size(), 1u) << "row " << r;
        EXPECT_EQ(glyphs[0].color, nameColors[r]) << "row " << r;
    }
    // "total\nscore": highest first, ties keep slot order (3 before 7).
    s.Click(ResultLayout::Header(9));
    EXPECT_EQ(s.game->Result().SortColumn(), 9);
    EXPECT_EQ(s.game->Result().Order()[0], 5);
    EXPECT_EQ(s.game->Result().Order()[1], 3);
    EXPECT_EQ(s.game->Result().Order()[2], 7);
    // Leaving and coming back sorts by team again.
    s.Key(Dik::Escape);
    EXPECT_EQ(g.Scene(), SceneId::Title);
    EXPECT_EQ(s.game->Result().SortColumn(), -1);
}

TEST(GameScreens, SettingsCaptureTakesTheHighestKeyAndEscapeErases) {
    Screens s;
    GameContext& g = s.game->context;
    s.Click(TitleLayout::Settings);
    ASSERT_EQ(g.Scene(), SceneId::Settings);
    // "Rudder Left" (action 0): two keys in one frame, the higher code wins.
    s.Click(SettingsLayout::ActionButton(RudderLeft));
    EXPECT_TRUE(s.game->Settings().Capturing());
    s.Frame(0, 0, false, false, {Dik::A, Dik::Z});
    EXPECT_FALSE(s.game->Settings().Capturing());
    EXPECT_EQ(g.settings.actionKey[RudderLeft], Dik::Z);
    s.Frame();
    // Escape while waiting erases both assignments and stays here.
    g.settings.actionPadButton[RudderLeft] = 7;
    s.Click(SettingsLayout::ActionButton(RudderLeft));
    s.Key(Dik::Escape);
    EXPECT_EQ(g.settings.actionKey[RudderLeft], -1);
    EXPECT_EQ(g.settings.actionPadButton[RudderLeft], -1);
    EXPECT_EQ(g.Scene(), SceneId::Settings);
    // The window options change the choice, not the running game.
    s.Click(SettingsLayout::WindowModeOption(1));
    EXPECT_EQ(g.settings.windowModeChoice, 1);
    s.Click(SettingsLayout::DisplaySizeOption(2));
    EXPECT_EQ(g.settings.displaySizeChoice, 2);
    // The pad pointer switches off and on again, for the devices too.
    for (int expected : {0, 1}) {
        s.Click(SettingsLayout::PadPointerToggle);
        EXPECT_EQ(g.settings.padPointer, expected);
        EXPECT_EQ(s.app.inputDevices.PadPointer(), expected == 1);
    }
    EXPECT_EQ(g.width, 640);
    // The sizes added since: a desktop nobody can ask about offers only its
    // own size (in the fifth place), not 1280 x 720 (the first).
    s.Click(SettingsLayout::WideSizeOption(0));
    EXPECT_EQ(g.settings.displaySizeChoice, 2);
    s.Click(SettingsLayout::WideSizeOption(4));
    EXPECT_EQ(g.settings.displaySizeChoice, DesktopSize);
    // The UI scale steps Auto, 1x, 2x, 3x and round again, for the next start.
    for (int expected : {1, 2, 3, 0, 1}) {
        s.Click(SettingsLayout::UiScaleButton);
        EXPECT_EQ(g.settings.uiScaleChoice, expected);
    }
    EXPECT_EQ(g.settings.uiScale, 0);
    EXPECT_NE(FormatConfig(g.settings).find("\nUiScale=1\n"), std::string::npos);
    s.Key(Dik::Escape);
    EXPECT_EQ(g.Scene(), SceneId::Title);
}

// At UI scale 2 on a 1280 x 960 back buffer the screens and the pointer
// count the pixels of a 640 x 480 one: the pointer starts in its middle,
// the menus sit where they always did and clicks land on the design's
// rectangles.
TEST(GameScreens, AtUiScaleTwoTheScreensCountUiPixels) {
    Screens s(std::make_unique<RecordingDevice>(), PictureRate::Classic, 1280, 960, 2);
    GameContext& g = s.game->context;
    EXPECT_EQ(g.width * 1000 + g.height, 640 * 1000 + 480);
    EXPECT_EQ(g.x0 * 1000 + g.y0, 0);
    EXPECT_EQ(g.cursorX * 1000 + g.cursorY, 320 * 1000 + 240);
    s.Click(TitleLayout::ChooseCountries);
    EXPECT_EQ(g.Scene(), SceneId::CountrySelect);
    s.Drag(CountrySelectLayout::AvailableFlag(3), CountrySelectLayout::TeamSlot(5));
    EXPECT_EQ(g.selection.slotCountry[5], 3);
}

namespace {
// Draws nothing, and can draw pictures between steps.
class ListOnlyDevice : public DrawListDevice {
protected:
    void RenderList(const DrawList&, DrawStats&) override {}
    void ShowPicture() override {}
};
} // namespace

// The battle never notices how its pictures are drawn: the same scripted
// battle, one picture per step or three pictures between every two steps
// (the pointer moving meanwhile), ends with the same table.
TEST(GameScreens, PicturesBetweenStepsLeaveTheBattleAsItWas) {
    auto play = [](int frameRate) {
        Screens s(std::make_unique<ListOnlyDevice>(), frameRate);
        GameContext& g = s.game->context;
        // The loading screen seeds from the clock; both battles start alike.
        s.app.random.Seed(2026);
        s.Click(TitleLayout::ChooseCountries);
        for (int country : {0, 3, 6})
            s.Drag(CountrySelectLayout::AvailableFlag(country), CountrySelectLayout::TeamSlot(country));
        s.Click(CountrySelectLayout::Start);
        EXPECT_EQ(g.Scene(), SceneId::Battle);
        for (int frame = 0; frame < 600; ++frame) {
            // The camera swings now and then; the overlay and meters change.
            const bool swing = frame % 200 < 20;
            s.Frame(swing ? 7 : 0, swing ? -3 : 0, false, swing);
            if (frame == 300) s.Key(Dik::V);
            for (int k = 1; k <= 3 && frameRate != PictureRate::Classic; ++k)
                s.graphics.PresentPicture(float(k) / 4, float(k), float(-k));
        }
        s.Key(Dik::Escape);
        EXPECT_EQ(g.Scene(), SceneId::Result);
        std::vector<int> table;
        for (int c = 0; c < CountryCount; ++c)
            for (int k = 0; k < BattleStats::ColumnCount; ++k)
                table.push_back(g.stats.Get(c, BattleStats::Column(k)));
        return table;
    };
    const std::vector<int> classic = play(PictureRate::Classic);
    EXPECT_EQ(classic, play(PictureRate::Unlimited));
    // The battle was a battle: something was destroyed.
    int destroyed = 0;
    for (size_t i = 0; i < classic.size(); ++i)
        if (i % BattleStats::ColumnCount != 0) destroyed += classic[i];
    EXPECT_GT(destroyed, 0);
}

// The frame-rate buttons set the rate they show, and clicking one again keeps
// it (a rate of -1 once read as a toggle).
TEST(GameScreens, FrameRateButtonsSetTheirRate) {
    Screens s;
    s.Click(TitleLayout::Settings);
    ASSERT_EQ(s.game->context.Scene(), SceneId::Settings);
    // Options 0 to 5: VSync, 60, 120, 144, Unlimited, Classic.
    const struct {
        int option, rate;
    } clicks[] = {{4, PictureRate::Unlimited},
                  {4, PictureRate::Unlimited},
                  {2, 120},
                  {5, PictureRate::Classic},
                  {0, PictureRate::VSync}};
    for (const auto& c : clicks) {
        s.Click(SettingsLayout::FrameRateOption(c.option));
        EXPECT_EQ(s.settings.frameRate, c.rate) << "option " << c.option;
    }
}

// A battle played in the game is recorded: the lab's run of its replay, on no
// screen at all, ends as the game's did. Pause stops the battle and nothing
// of the pause is recorded; "Watch Again" plays it through the battle screen
// to the same table, with its own pause; a bad file is refused with a reason.
TEST(GameScreens, BattlesAreRecordedPausedAndWatchedAgainAsTheyWere) {
    Screens s(std::make_unique<ListOnlyDevice>());
    GameContext& g = s.game->context;
    s.app.random.Seed(2026);
    s.Click(TitleLayout::ChooseCountries);
    for (int country : {0, 3, 6})
        s.Drag(CountrySelectLayout::AvailableFlag(country), CountrySelectLayout::TeamSlot(country));
    s.Click(CountrySelectLayout::SlotName(0));
    s.Click(CountrySelectLayout::Start);
    ASSERT_EQ(g.Scene(), SceneId::Battle);
    ASSERT_NE(g.recording, nullptr);
    World& world = *g.world();
    // The click's last frame was the battle's first step.
    uint32_t stepped = 1;
    for (int frame = 0; frame < 700; ++frame) {
        // A fighter taken over, flown and fired; the camera swings now and then.
        std::vector<int> keys;
        if (frame == 20) keys = {Dik::J};
        if (frame == 25 || frame == 150) keys = {Dik::Return};
        if (frame >= 30 && frame < 90) keys = {Dik::Space, Dik::Up};
        const bool swing = frame % 200 > 160;
        s.Frame(swing ? 5 : 0, swing ? 2 : 0, false, swing, keys);
        ++stepped;
        if (frame != 400) continue;
        // The step of the key still runs; the ones after it wait.
        s.Frame(0, 0, false, false, {Dik::Pause});
        ++stepped;
        ASSERT_TRUE(g.paused);
        const WorldChecksum held = ChecksumWorld(world);
        const uint32_t recorded = g.recording->Steps();
        for (int i = 0; i < 30; ++i) s.Frame(9, 9, true, false, {Dik::Space});
        EXPECT_EQ(ChecksumWorld(world), held);
        EXPECT_EQ(g.recording->Steps(), recorded);
        s.Frame(0, 0, false, false, {Dik::F3});
        ++stepped;
        EXPECT_FALSE(g.paused);
    }
    s.Frame(0, 0, false, false, {Dik::Escape});
    ASSERT_EQ(g.Scene(), SceneId::Result);
    ASSERT_NE(g.lastReplay, nullptr);
    EXPECT_EQ(g.lastReplay->steps, stepped + 1);
    const std::vector<ReplayRow> table = ResultRows(g.selection, g.stats);
    EXPECT_EQ(g.lastReplay->table, table);

    Graphics headless(std::make_unique<NullDevice>(), 640, 480);
    headless.resources = &ResourceTable::Embedded();
    BattleFamilies families;
    families.Load(headless);
    const ReplayRunResult lab = RunReplay(
        headless, *g.lastReplay, [&families](World& w) { families.Install(w); }, true);
    EXPECT_EQ(lab.difference, "");
    EXPECT_EQ(lab.steps, stepped + 1);

    g.stats.Clear();
    s.Click(ResultLayout::WatchAgain);
    ASSERT_EQ(g.Scene(), SceneId::Battle);
    ASSERT_NE(g.watching, nullptr);
    s.Frame(0, 0, false, false, {Dik::Space});
    ASSERT_TRUE(g.paused);
    const WorldChecksum held = ChecksumWorld(*g.world());
    for (int i = 0; i < 10; ++i) s.Frame(0, 0, false, false, {Dik::Space});
    s.Frame();
    EXPECT_EQ(ChecksumWorld(*g.world()), held);
    s.Key(Dik::Space);
    EXPECT_FALSE(g.paused);
    s.Key(Dik::Equals);
    EXPECT_EQ(g.watchSpeed, 2);
    for (int i = 0; i < 800 && g.Scene() == SceneId::Battle; ++i) s.Frame();
    ASSERT_EQ(g.Scene(), SceneId::Result);
    EXPECT_EQ(ResultRows(g.selection, g.stats), table);

    TempDir folder;
    folder.Write("old.smreplay", std::string("SMREPLAY\x07", 9));
    s.log.clear();
    EXPECT_FALSE(g.WatchReplayFile(folder.path + "/old.smreplay"));
    EXPECT_NE(s.log.find("version 7 is not known"), std::string::npos) << s.log;
    EXPECT_EQ(g.Scene(), SceneId::Result);
}
