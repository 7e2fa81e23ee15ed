#include "game/flow/BattleFrame.h"
#include "game/flow/Controls.h"
#include "game/world/Country.h"
#include "game/world/OrbitCamera.h"
#include "game/world/Overlays.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
#include "support/DrawBoxes.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float Pi = 3.14159265f;

// A fighter stand-in that takes every order.
class ObedientUnit : public TestUnit {
public:
    using TestUnit::TestUnit;
    bool Order(Unit* target) override {
        ++orders;
        ordered = target;
        return true;
    }
    int orders = 0;
    Unit* ordered = nullptr;
};

// A unit whose own line of the overlay is 42 characters wide.
class WordyUnit : public TestUnit {
public:
    using TestUnit::TestUnit;
    void Describe(std::string& text) const override { text += "\n  " + std::string(40, 'x'); }
};

// One frame's mouse: motion and the two buttons held or not.
RawInput Mouse(float dx, float dy, bool left, bool right) {
    RawInput raw;
    raw.mouseDx = dx;
    raw.mouseDy = dy;
    raw.mouseButtons[0] = left ? 0x80 : 0;
    raw.mouseButtons[1] = right ? 0x80 : 0;
    return raw;
}

// Battle frames driven from a test: a fresh world, the pointer in the middle
// of a 640 x 480 screen, at most one action pressed per frame, and the host
// counting clicks and hover sounds and keeping the cursor's marks.
struct BattleFrames : WorldTestKit, BattleHost {
    BattleFrames() {
        world->ResetWorld();
        input.SetClientSize(640, 480);
        input.SetMousePosition(320, 240);
    }
    int ActionState(int a) const override { return a == pressedAction ? int(Input::Pressed) : 0; }
    void PlayClick() override { ++clicks; }
    void PlayHover() override { ++hovers; }
    void Leave() override { ++left; }
    void PlaceListener(const Matrix&) override {}
    void DrawCursor(int x, int y, bool altMark, bool orderMark) override {
        ++cursors;
        cursorOnPointer = cursorOnPointer && x == world->cursorX && y == world->cursorY;
        alt = altMark;
        order = orderMark;
    }
    BattleFrameEnd Frame(const RawInput& raw = {}, int action = -1) {
        pressedAction = action;
        input.Poll(raw);
        return RunBattleFrame(*world, input, *this);
    }
    // The camera 10 units from the unit, looking straight at it: it sits under the pointer.
    void Face(const Unit* unit) {
        world->camera.lookAt = unit->GetWorldPosition();
        world->camera.distance = 10.0f;
        world->camera.dirty = true;
        world->camera.Apply();
    }

    Input input;
    int pressedAction = -1;
    int clicks = 0, hovers = 0, left = 0, cursors = 0;
    bool cursorOnPointer = true, alt = false, order = false;
};

} // namespace

TEST(OrbitCamera, ZoomPitchAndYawStayInTheirBounds) {
    EXPECT_FLOAT_EQ(WrapAngle(-0.1f, 0.0f, 2 * Pi), -0.1f) << "a small negative offset keeps its sign";
    EXPECT_NEAR(WrapAngle(6.5f, 0.0f, 2 * Pi), 6.5f - 2 * Pi, 1e-5f);
    EXPECT_NEAR(WrapAngle(-6.5f, 0.0f, 2 * Pi), -6.5f + 2 * Pi, 1e-5f);
    EXPECT_FLOAT_EQ(WrapAngle(NAN, 0.0f, 2 * Pi), 0.0f) << "bad input lands in range";

    WorldTestKit kit;
    OrbitCamera& camera = kit.world->camera;
    camera.Reset();
    EXPECT_FLOAT_EQ(camera.distance, 180.0f);
    camera.Zoom(0, -120, 0, 0);
    EXPECT_NEAR(camera.distance, 182.4f, 1e-4f) << "one wheel notch back moves 2.4";
    camera.Zoom(0, -120 * 1000, 0, 0);
    EXPECT_FLOAT_EQ(camera.distance, 400.0f);
    camera.Zoom(0, 120 * 1000, 0, 0);
    EXPECT_FLOAT_EQ(camera.distance, 1.0f);
    camera.distance = 100.0f;
    camera.Zoom(-10, 0, Input::Held, Input::Held);
    EXPECT_NEAR(camera.distance, 100.0f - 24 * 0.02f, 1e-4f) << "both buttons: 10 pixels up zoom in by 24 steps";

    const float yaw = camera.yaw, pitch = camera.pitch;
    camera.dirty = false;
    camera.Rotate(300, 300, 640, 480, Input::Held, Input::Held);
    camera.Rotate(300, 300, 640, 480, Input::Up, Input::Up);
    EXPECT_EQ(camera.yaw, yaw);
    EXPECT_EQ(camera.pitch, pitch);
    EXPECT_FALSE(camera.dirty) << "turning needs the right button alone";

    for (int i = 0; i < 50; ++i) camera.Rotate(-640, 480, 640, 480, Input::Up, Input::Held);
    EXPECT_FLOAT_EQ(camera.pitch, 0.45f * Pi);
    EXPECT_GT(camera.yaw, -2 * Pi);
    EXPECT_LT(camera.yaw, 2 * Pi);
    for (int i = 0; i < 50; ++i) camera.Rotate(640, -480, 640, 480, Input::Up, Input::Pressed);
    EXPECT_FLOAT_EQ(camera.pitch, -0.45f * Pi);
    EXPECT_GT(camera.yaw, -2 * Pi);
    EXPECT_LT(camera.yaw, 2 * Pi);
    EXPECT_TRUE(camera.dirty);
    camera.Rotate(0, 0, 0, 0, Input::Up, Input::Held);  // no screen: no division by zero
}

TEST(BattleFrame, RightClickWithoutMovementOrdersAndADragDoesNot) {
    BattleFrames kit;
    World& world = *kit.world;
    auto* own = world.fighters.Create<ObedientUnit>(world, UnitFamily::Fighter, 1, 0, 10, Vector3{30, 0, 0},
                                                    &kit.unitMesh);
    Unit* enemy = kit.Make(UnitFamily::Fighter, 2, 1, 10, {0, 0, 0});
    world.selectedUnit = own;
    kit.Face(enemy);
    ASSERT_EQ(world.cursorX, 320);
    ASSERT_EQ(world.PickUnderCursor(320, 240), enemy);

    // Press, drag one pixel, come back and release: no order.
    EXPECT_EQ(kit.Frame(Mouse(0, 0, false, true)), BattleFrameEnd::Presented);
    EXPECT_TRUE(world.rightClickArmed);
    kit.Frame(Mouse(1, 0, false, true));
    EXPECT_EQ(world.cursorX, 321);
    EXPECT_FALSE(world.rightClickArmed);
    kit.Frame(Mouse(-1, 0, false, false));
    EXPECT_EQ(world.cursorX, 320);
    EXPECT_EQ(own->orders, 0);
    EXPECT_EQ(kit.clicks, 0);

    // Press and release in place: the selected unit attacks what is under the cursor.
    kit.Frame(Mouse(0, 0, false, true));
    kit.Frame(Mouse(0, 0, false, false));
    EXPECT_EQ(own->orders, 1);
    EXPECT_EQ(own->ordered, enemy);
    EXPECT_EQ(kit.clicks, 1);
    EXPECT_EQ(world.selectedUnit, own);
    EXPECT_EQ(kit.cursors, 5);
    EXPECT_TRUE(kit.cursorOnPointer);

    // A left click selects what is under the cursor.
    kit.Frame(Mouse(0, 0, true, false));
    EXPECT_EQ(world.selectedUnit, enemy);
    EXPECT_EQ(kit.hovers, 1);

    // The cursor stays on the screen whatever the mouse does.
    kit.Frame(Mouse(-5000, 5000, false, false));
    EXPECT_EQ(world.cursorX, 0);
    EXPECT_EQ(world.cursorY, 479);
}

TEST(BattleFrame, EscapeLeavesAndMissingTargetsDoNothing) {
    BattleFrames kit;
    World& world = *kit.world;
    world.playerCountryRecord = world.countries.Create(1, 0);

    // No living fighter, no station, no selection, no focus: nothing to do, no sound.
    for (int action : {MyFighter, MyStation, StopOrder, FocusOnUnit, ManualControl, PilotView})
        EXPECT_EQ(kit.Frame({}, action), BattleFrameEnd::Presented);
    EXPECT_EQ(kit.clicks, 0);
    EXPECT_FALSE(world.pilotView);
    EXPECT_EQ(world.selectedUnit, nullptr);

    kit.Frame({}, ToggleMeter);
    kit.Frame({}, ToggleMeter);
    EXPECT_EQ(world.meterMode, 0) << "1, 2, then wrapped to 0";
    EXPECT_EQ(kit.clicks, 2);

    RawInput escape;
    escape.keys[Dik::Escape] = 0x80;
    EXPECT_EQ(kit.Frame(escape), BattleFrameEnd::Left);
    EXPECT_EQ(kit.left, 1);
    EXPECT_EQ(kit.clicks, 3);
}

TEST(BattleFrame, MyFighterCyclesFocusLetsGoOfTheDeadAndManualControlFollowsTheSlot) {
    BattleFrames kit;
    World& world = *kit.world;
    Country* player = world.countries.Create(1, 0);
    world.playerCountryRecord = player;
    // No station: the record launches nothing by itself.
    TestUnit* first = kit.Make(UnitFamily::Fighter, 1, 0, 10, {5, 0, 0}, &player->fighters[0]);
    TestUnit* second = kit.Make(UnitFamily::Fighter, 1, 0, 10, {-5, 0, 0}, &player->fighters[1]);
    ASSERT_TRUE(first && second);

    // "My Fighter" goes through the living fighters in turn; the camera stays.
    kit.Frame({}, MyFighter);
    Unit* picked = world.selectedUnit;
    kit.Frame({}, MyFighter);
    EXPECT_NE(world.selectedUnit, picked);
    EXPECT_TRUE(world.selectedUnit == first || world.selectedUnit == second);
    EXPECT_EQ(world.camera.GetFocus(), nullptr);
    EXPECT_EQ(kit.clicks, 2);

    // A focused unit that dies lets go of the camera.
    world.camera.SetFocus(first);
    kit.Frame();
    EXPECT_EQ(world.camera.GetFocus(), first);
    first->SelfDestruct();
    kit.Frame();
    EXPECT_EQ(world.camera.GetFocus(), nullptr);

    // Manual control stays on the slot: the next fighter in it is flown at once.
    world.manualSlot = &player->fighters[0];
    kit.Frame();
    EXPECT_EQ(world.FlownUnit(), nullptr);
    TestUnit* next = kit.Make(UnitFamily::Fighter, 1, 0, 10, {5, 0, 0}, &player->fighters[0]);
    ASSERT_NE(next, nullptr);
    kit.Frame();
    EXPECT_EQ(world.FlownUnit(), next);
    EXPECT_EQ(next->manualSteps, 1);
    EXPECT_EQ(next->aiSteps, 0);
    EXPECT_GT(second->aiSteps, 0);
}

TEST(BattleFrame, CursorMarksForAltAndForAnOrderTheSelectionWouldTake) {
    BattleFrames kit;
    World& world = *kit.world;
    kit.setup.playerCountry = 0;
    kit.setup.playerTeam = 1;
    Country* player = world.countries.Create(1, 0);
    ASSERT_EQ(world.playerCountryRecord, player);
    Unit* own = kit.Make(UnitFamily::Fighter, 1, 0, 10, {30, 0, 0});
    Unit* ally = kit.Make(UnitFamily::Fighter, 1, 2, 10, {-30, 0, 0});
    Unit* under = kit.Make(UnitFamily::Fighter, 2, 1, 10, {0, 0, 0});
    kit.Face(under);
    ASSERT_EQ(world.PickUnderCursor(320, 240), under);
    auto frame = [&](Unit* selected, int underTeam, bool altDown) {
        world.selectedUnit = selected;
        under->team = underTeam;
        RawInput raw;
        if (altDown) raw.keys[Dik::RightAlt] = 0x80;
        kit.Frame(raw);
    };

    frame(nullptr, 2, true);
    EXPECT_TRUE(kit.alt);
    EXPECT_FALSE(kit.order) << "nothing selected";
    frame(own, 2, false);
    EXPECT_FALSE(kit.alt);
    EXPECT_TRUE(kit.order) << "the player's fighter over an enemy";
    frame(ally, 2, false);
    EXPECT_FALSE(kit.order) << "an ally's fighter takes no orders";
    frame(own, 1, false);
    EXPECT_FALSE(kit.order) << "over a unit of the player's team";
}

TEST(Overlays, BoxesFollowTheParticipantsAndTheText) {
    WorldTestKit kit;
    World& world = *kit.world;
    std::vector<std::string> texts;
    std::vector<int> textTops;
    OverlayContext context;
    context.drawText = [&](int, int y, const std::string& text, uint32_t) {
        texts.push_back(text);
        textTops.push_back(y);
    };
    context.countryName = [](int) { return std::string("Japan"); };

    auto* unit = world.fighters.Create<WordyUnit>(world, UnitFamily::Fighter, 1, 0, 10, Vector3{}, &kit.unitMesh);
    kit.ClearDraws();
    DrawUnitOverlay(world, context, *unit);
    auto draws = kit.Primitives();
    ASSERT_FALSE(draws.empty());
    DrawBox box = BoxOf(draws[0]);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 5 * 42 + 14) << "the unit's own 42-character line widens the box";
    EXPECT_EQ(box.bottom, 10 * 7 + 29) << "seven lines";
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Unit Overlay\n\n  Country: Japan\n  Team ID: 1\n\n  HP: 10/10\n  " + std::string(40, 'x'));

    // Twelve countries, one of them without a station any more.
    for (int k = 0; k < 12; ++k) {
        Country* record = world.countries.Create(k % 3 + 1, k);
        if (k) kit.Make(UnitFamily::Station, record->teamId, k, 100, {float(20 * k), 0, 0}, &record->station);
    }
    world.countries[4]->score = 7;
    context.participantCount = 12;
    texts.clear();
    textTops.clear();
    kit.ClearDraws();
    DrawCountryOverlay(world, context);
    draws = kit.Primitives();
    ASSERT_FALSE(draws.empty());
    const DrawBox outline = BoxOf(draws[0]);
    EXPECT_EQ(outline.top, 480 - 155);
    EXPECT_EQ(outline.bottom, 480 - 6);
    ASSERT_EQ(texts.size(), 13u);
    EXPECT_EQ(texts[0], "Country Overlay");
    EXPECT_EQ(texts[5], "02 Japan          :   7");
    // Row k (from 0) starts 10 (13 - k) above the bottom; its bar and the
    // lost station's box stay inside the outline.
    for (int k = 0; k < 12; ++k) EXPECT_EQ(textTops[size_t(k) + 1], 480 - 10 * (13 - k)) << "row " << k;
    for (size_t i = 1; i < draws.size(); ++i) {
        DrawBox box = BoxOf(draws[i]);
        EXPECT_TRUE(box.left > outline.left && box.right < outline.right && box.top > outline.top &&
                    box.bottom < outline.bottom)
            << "draw " << i << " reaches " << box.bottom;
    }

    // A click on a station's bar selects it; a second click also focuses it.
    Unit* station = world.countries[1]->station;
    context.leftPressed = true;
    context.cursorX = 30;
    context.cursorY = 480 - 10 * (12 + 1 - 1) + 3;
    int clicks = 0;
    context.playClick = [&] { ++clicks; };
    DrawCountryOverlay(world, context);
    EXPECT_EQ(world.selectedUnit, station);
    EXPECT_EQ(world.camera.GetFocus(), nullptr);
    world.previousSelected = world.selectedUnit;
    DrawCountryOverlay(world, context);
    EXPECT_EQ(world.camera.GetFocus(), station);
    EXPECT_EQ(clicks, 2);
}

TEST(Overlays, FighterListShowsRelaunchProgress) {
    WorldTestKit kit;
    World& world = *kit.world;
    kit.setup.fightersPerTeam = 5;
    Country* record = world.countries.Create(1, 0);
    // Empty slots whose timers stand at 0, half way, just short, at and past 300.
    const int timers[5] = {0, 150, 299, 300, 301};
    for (int i = 0; i < 5; ++i) record->slotTimers[size_t(i)] = timers[i];
    OverlayContext context;
    kit.ClearDraws();
    DrawFighterList(world, context, *record);

    // Yellow from 573 (W - 67) for t x 54 div 300 pixels, grey on to 627 (W - 13).
    constexpr uint32_t Yellow = 0x40C0C000, Grey = 0x40404040;
    const std::vector<DrawBox> expected = {
        {573, 31, 627, 40, Grey},                              // 0: nothing done yet
        {573, 41, 600, 50, Yellow}, {600, 41, 627, 50, Grey},  // 150: 27 pixels
        {573, 51, 626, 60, Yellow}, {626, 51, 627, 60, Grey},  // 299: 53 pixels
        {573, 61, 627, 70, Yellow},                            // 300: full
        {573, 71, 627, 80, Yellow},                            // 301: still full
    };
    EXPECT_EQ(Boxes(kit.device->draws, PrimitiveType::TriangleFan), expected);
}
