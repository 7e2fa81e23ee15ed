// The menu screens driven as a player would, without a window: scripted
// mouse and keyboard states go through the real input rules, the screens
// draw to a recording device.
#include "game/flow/Game.h"
#include "game/world/World.h"
#include "platform/App.h"
#include "platform/Clock.h"
#include "platform/KeyCodes.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/RecordingDevice.h"
#include "render/ResourceTable.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

class StillClock : public Clock {
public:
    uint32_t Now() override { return 0; }
    void Sleep(uint32_t) override {}
};

// A game on a recording device, past its loading screen.
struct Screens {
    Screens() : app(0, nullptr, clock), graphics(std::make_unique<RecordingDevice>(), 640, 480) {
        SetLogCapture(&log);
        graphics.resources = &ResourceTable::Embedded();
        game = std::make_unique<Game>(app, graphics, sound, settings);
        game->context.instantTransitions = true;
        // The input devices put the pointer in the middle when they start.
        app.input.SetMousePosition(320, 240);
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
    void Drag(int fromX, int fromY, int toX, int toY) {
        MoveTo(fromX, fromY);
        Frame(0, 0, true);
        GameContext& g = game->context;
        for (int i = 0; i < 8 && (g.cursorX != toX || g.cursorY != toY); ++i)
            Frame(std::clamp(toX - g.cursorX, -300, 300), std::clamp(toY - g.cursorY, -200, 200), true);
        Frame();
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

int SlotX(int j) { return 10 + 200 * (j / 4) + 20; }
int SlotY(int j) { return 80 + 35 * (j % 4) + 10; }
int FlagX(int i) { return 10 + 50 * i + 20; }

} // namespace

TEST(GameScreens, CountrySelectionByDragAndDrop) {
    Screens s;
    GameContext& g = s.game->context;
    ASSERT_EQ(g.Scene(), SceneId::Title);
    s.Click(585, 415);
    ASSERT_EQ(g.Scene(), SceneId::CountrySelect);
    CountrySelection& sel = g.selection;

    // "Start" with nobody placed does nothing.
    s.Click(585, 440);
    EXPECT_EQ(g.Scene(), SceneId::CountrySelect);

    s.Drag(FlagX(0), 40, SlotX(2), SlotY(2));
    EXPECT_EQ(sel.slotCountry[2], 0);
    EXPECT_EQ(sel.countryAvailable[0], -1);
    // Slot to slot: the country moves and its old slot empties.
    s.Drag(SlotX(2), SlotY(2), SlotX(7), SlotY(7));
    EXPECT_EQ(sel.slotCountry[2], -1);
    EXPECT_EQ(sel.slotCountry[7], 0);
    // Onto an occupied slot: nothing changes.
    s.Drag(FlagX(1), 40, SlotX(7), SlotY(7));
    EXPECT_EQ(sel.slotCountry[7], 0);
    EXPECT_EQ(sel.countryAvailable[1], 0);
    // Back to the row.
    s.Drag(SlotX(7), SlotY(7), 300, 40);
    EXPECT_EQ(sel.slotCountry[7], -1);
    EXPECT_EQ(sel.countryAvailable[0], 0);

    // Team numbers wrap 12 -> 1 and 1 -> 12; fighters 10 -> 1 and 1 -> 10.
    int teamX = 10 + 140 + 10, teamY = 80 + 15;
    sel.slotTeam[0] = 12;
    s.Click(teamX, teamY);
    EXPECT_EQ(sel.slotTeam[0], 1);
    s.MoveTo(teamX, teamY);
    s.Frame(0, 0, false, true);
    s.Frame();
    EXPECT_EQ(sel.slotTeam[0], 12);
    sel.fightersPerTeam = 1;
    s.MoveTo(500, 225);
    s.Frame(0, 0, false, true);
    s.Frame();
    EXPECT_EQ(sel.fightersPerTeam, 10);
    s.Click(500, 225);
    EXPECT_EQ(sel.fightersPerTeam, 1);

    // Two countries, the player's mark, and the battle starts.
    s.Drag(FlagX(0), 40, SlotX(0), SlotY(0));
    s.Drag(FlagX(1), 40, SlotX(4), SlotY(4));
    s.Click(SlotX(0) + 60, SlotY(0) - 5);
    EXPECT_EQ(sel.PlayerCountry(), 0);
    s.Click(585, 440);
    ASSERT_EQ(g.Scene(), SceneId::Battle);
    ASSERT_NE(g.world(), nullptr);
    EXPECT_EQ(g.world()->stations.Count(), 2u);
    EXPECT_EQ(g.participantCount, 2);
    for (int i = 0; i < 30; ++i) s.Frame();
    EXPECT_GT(g.world()->fighters.Count(), 0u) << "fighters launch in the battle";
    s.Key(Dik::Escape);
    EXPECT_EQ(g.Scene(), SceneId::Result);
}

TEST(GameScreens, ResultTableSortsStablyAndStartsByTeam) {
    Screens s;
    GameContext& g = s.game->context;
    // Three countries of teams 2, 1, 1 with scores 5, 9, 5.
    g.selection.Place(3, 0, 2);
    g.selection.Place(5, 1, 1);
    g.selection.Place(7, 2, 1);
    g.participantCount = 3;
    g.stats.StartCountry(3, 2);
    g.stats.StartCountry(5, 1);
    g.stats.StartCountry(7, 1);
    g.stats.SetScore(3, 5);
    g.stats.SetScore(5, 9);
    g.stats.SetScore(7, 5);
    g.SetScene(SceneId::Result);
    s.Frame();
    EXPECT_EQ(s.game->SortColumn(), 0);
    EXPECT_EQ(s.game->ResultOrder()[0], 5);
    EXPECT_EQ(s.game->ResultOrder()[1], 7);
    EXPECT_EQ(s.game->ResultOrder()[2], 3);
    // "total\nscore": highest first, ties keep slot order (3 before 7).
    s.Click(50 + 58 * 9 + 10, 25);
    EXPECT_EQ(s.game->SortColumn(), 9);
    EXPECT_EQ(s.game->ResultOrder()[0], 5);
    EXPECT_EQ(s.game->ResultOrder()[1], 3);
    EXPECT_EQ(s.game->ResultOrder()[2], 7);
    // Leaving and coming back sorts by team again.
    s.Key(Dik::Escape);
    EXPECT_EQ(g.Scene(), SceneId::Title);
    EXPECT_EQ(s.game->SortColumn(), -1);
}

TEST(GameScreens, SettingsCaptureTakesTheHighestKeyAndEscapeErases) {
    Screens s;
    GameContext& g = s.game->context;
    s.Click(585, 440);
    ASSERT_EQ(g.Scene(), SceneId::Settings);
    // "Rudder Left" (action 0): two keys in one frame, the higher code wins.
    s.Click(60, 95);
    EXPECT_TRUE(s.game->Capturing());
    s.Frame(0, 0, false, false, {Dik::A, Dik::Z});
    EXPECT_FALSE(s.game->Capturing());
    EXPECT_EQ(g.settings.actionKey[RudderLeft], Dik::Z);
    s.Frame();
    // Escape while waiting erases both assignments and stays here.
    g.settings.actionPadButton[RudderLeft] = 7;
    s.Click(60, 95);
    s.Key(Dik::Escape);
    EXPECT_EQ(g.settings.actionKey[RudderLeft], -1);
    EXPECT_EQ(g.settings.actionPadButton[RudderLeft], -1);
    EXPECT_EQ(g.Scene(), SceneId::Settings);
    // The window options change the choice, not the running game.
    s.Click(125, 30);
    EXPECT_EQ(g.settings.windowModeChoice, 1);
    s.Click(230, 55);
    EXPECT_EQ(g.settings.displaySizeChoice, 2);
    EXPECT_EQ(g.width, 640);
    s.Key(Dik::Escape);
    EXPECT_EQ(g.Scene(), SceneId::Title);
}
