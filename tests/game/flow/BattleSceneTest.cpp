#include "game/flow/BattleScene.h"
#include "game/flow/Controls.h"
#include "game/world/Country.h"
#include "game/world/OrbitCamera.h"
#include "game/world/Overlays.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"
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

// One frame's mouse: motion and the two buttons held or not.
RawInput Mouse(float dx, float dy, bool left, bool right, int wheel = 0) {
    RawInput raw;
    raw.mouseDx = dx;
    raw.mouseDy = dy;
    raw.mouseButtons[0] = left ? 0x80 : 0;
    raw.mouseButtons[1] = right ? 0x80 : 0;
    raw.mouseWheel = wheel;
    return raw;
}

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
    WorldTestKit kit;
    World& world = *kit.world;
    world.ResetWorld();
    auto* own = world.fighters.Create<ObedientUnit>(world, UnitFamily::Fighter, 1, 0, 10, Vector3{30, 0, 0},
                                                    &kit.unitMesh);
    Unit* enemy = kit.Make(UnitFamily::Fighter, 2, 1, 10, {0, 0, 0});
    world.selectedUnit = own;
    // The camera looks straight at the enemy, which sits under the cursor.
    world.camera.lookAt = enemy->GetWorldPosition();
    world.camera.distance = 10.0f;
    world.camera.dirty = true;
    world.camera.Apply();

    Input input;
    input.SetClientSize(640, 480);
    input.SetMousePosition(320, 240);
    int clicks = 0, hovers = 0, cursors = 0;
    BattleFrameHooks hooks;
    hooks.actionState = [](int) { return 0; };
    hooks.playClick = [&] { ++clicks; };
    hooks.playHover = [&] { ++hovers; };
    hooks.drawCursor = [&](int x, int y, bool, bool) {
        ++cursors;
        EXPECT_EQ(x, world.cursorX);
        EXPECT_EQ(y, world.cursorY);
    };
    hooks.overlay.participantCount = 0;
    auto frame = [&](const RawInput& raw) {
        input.Poll(raw);
        return RunBattleFrame(world, input, hooks);
    };

    ASSERT_EQ(world.cursorX, 320);
    ASSERT_EQ(world.PickUnderCursor(320, 240), enemy);

    // Press, drag one pixel, come back and release: no order.
    EXPECT_EQ(frame(Mouse(0, 0, false, true)), BattleFrameEnd::Presented);
    EXPECT_TRUE(world.rightClickArmed);
    frame(Mouse(1, 0, false, true));
    EXPECT_EQ(world.cursorX, 321);
    EXPECT_FALSE(world.rightClickArmed);
    frame(Mouse(-1, 0, false, false));
    EXPECT_EQ(world.cursorX, 320);
    EXPECT_EQ(own->orders, 0);
    EXPECT_EQ(clicks, 0);

    // Press and release in place: the selected unit attacks what is under the cursor.
    frame(Mouse(0, 0, false, true));
    frame(Mouse(0, 0, false, false));
    EXPECT_EQ(own->orders, 1);
    EXPECT_EQ(own->ordered, enemy);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(world.selectedUnit, own);
    EXPECT_EQ(cursors, 5);

    // A left click selects what is under the cursor.
    frame(Mouse(0, 0, true, false));
    EXPECT_EQ(world.selectedUnit, enemy);
    EXPECT_EQ(hovers, 1);

    // The cursor stays on the screen whatever the mouse does.
    frame(Mouse(-5000, 5000, false, false));
    EXPECT_EQ(world.cursorX, 0);
    EXPECT_EQ(world.cursorY, 479);
}

TEST(BattleFrame, EscapeLeavesAndMissingTargetsDoNothing) {
    WorldTestKit kit;
    World& world = *kit.world;
    world.ResetWorld();
    Country* player = world.countries.Create(1, 0);
    world.playerCountryRecord = player;
    Input input;
    input.SetClientSize(640, 480);
    input.SetMousePosition(320, 240);
    int clicks = 0, left = 0;
    int pressedAction = -1;
    BattleFrameHooks hooks;
    hooks.actionState = [&](int a) { return a == pressedAction ? int(Input::Pressed) : 0; };
    hooks.playClick = [&] { ++clicks; };
    hooks.leave = [&] { ++left; };

    // No living fighter, no station, no selection, no focus: nothing to do, no sound.
    for (int action : {MyFighter, MyStation, StopOrder, FocusOnUnit, ManualControl, PilotView}) {
        pressedAction = action;
        input.Poll(RawInput{});
        EXPECT_EQ(RunBattleFrame(world, input, hooks), BattleFrameEnd::Presented);
    }
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(world.pilotView);
    EXPECT_EQ(world.selectedUnit, nullptr);

    pressedAction = ToggleMeter;
    input.Poll(RawInput{});
    RunBattleFrame(world, input, hooks);
    input.Poll(RawInput{});
    RunBattleFrame(world, input, hooks);
    EXPECT_EQ(world.meterMode, 0) << "1, 2, then wrapped to 0";
    EXPECT_EQ(clicks, 2);

    pressedAction = -1;
    RawInput escape;
    escape.keys[0x01] = 0x80;
    input.Poll(escape);
    EXPECT_EQ(RunBattleFrame(world, input, hooks), BattleFrameEnd::Left);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(clicks, 3);
}

namespace {
class WordyUnit : public TestUnit {
public:
    using TestUnit::TestUnit;
    void Describe(std::string& text) const override { text += "\n  " + std::string(40, 'x'); }
};

// Corners of a recorded 2D draw.
struct Box {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
};
Box BoundsOf(const RecordingDevice::Draw& draw) {
    Box box;
    for (size_t i = 0; i < draw.VertexCount(); ++i) {
        Vector3 p = draw.Position(i);
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.top = std::min(box.top, p.y);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}
} // namespace

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
    Box box = BoundsOf(draws[0]);
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
    const Box outline = BoundsOf(draws[0]);
    EXPECT_EQ(outline.top, 480 - 155);
    EXPECT_EQ(outline.bottom, 480 - 6);
    ASSERT_EQ(texts.size(), 13u);
    EXPECT_EQ(texts[0], "Country Overlay");
    EXPECT_EQ(texts[5], "02 Japan          :   7");
    // Row k (from 0) starts 10 (13 - k) above the bottom; its bar and the
    // lost station's box stay inside the outline.
    for (int k = 0; k < 12; ++k) EXPECT_EQ(textTops[size_t(k) + 1], 480 - 10 * (13 - k)) << "row " << k;
    for (size_t i = 1; i < draws.size(); ++i) {
        Box box = BoundsOf(draws[i]);
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

TEST(BattleFrame, MyFighterCyclesFocusLetsGoOfTheDeadAndManualControlFollowsTheSlot) {
    WorldTestKit kit;
    World& world = *kit.world;
    world.ResetWorld();
    Country* player = world.countries.Create(1, 0);
    world.playerCountryRecord = player;
    // No station: the record launches nothing by itself.
    TestUnit* first = kit.Make(UnitFamily::Fighter, 1, 0, 10, {5, 0, 0}, &player->fighters[0]);
    TestUnit* second = kit.Make(UnitFamily::Fighter, 1, 0, 10, {-5, 0, 0}, &player->fighters[1]);
    ASSERT_TRUE(first && second);

    Input input;
    input.SetClientSize(640, 480);
    input.SetMousePosition(320, 240);
    int clicks = 0;
    int pressedAction = -1;
    BattleFrameHooks hooks;
    hooks.actionState = [&](int a) { return a == pressedAction ? int(Input::Pressed) : 0; };
    hooks.playClick = [&] { ++clicks; };
    auto frame = [&](int action) {
        pressedAction = action;
        input.Poll(RawInput{});
        return RunBattleFrame(world, input, hooks);
    };

    // "My Fighter" goes through the living fighters in turn; the camera stays.
    frame(MyFighter);
    Unit* picked = world.selectedUnit;
    frame(MyFighter);
    EXPECT_NE(world.selectedUnit, picked);
    EXPECT_TRUE(world.selectedUnit == first || world.selectedUnit == second);
    EXPECT_EQ(world.camera.GetFocus(), nullptr);
    EXPECT_EQ(clicks, 2);

    // A focused unit that dies lets go of the camera.
    world.camera.SetFocus(first);
    frame(-1);
    EXPECT_EQ(world.camera.GetFocus(), first);
    first->SelfDestruct();
    frame(-1);
    EXPECT_EQ(world.camera.GetFocus(), nullptr);

    // Manual control stays on the slot: the next fighter in it is flown at once.
    world.manualSlot = &player->fighters[0];
    frame(-1);
    EXPECT_EQ(world.FlownUnit(), nullptr);
    TestUnit* next = kit.Make(UnitFamily::Fighter, 1, 0, 10, {5, 0, 0}, &player->fighters[0]);
    ASSERT_NE(next, nullptr);
    frame(-1);
    EXPECT_EQ(world.FlownUnit(), next);
    EXPECT_EQ(next->manualSteps, 1);
    EXPECT_EQ(next->aiSteps, 0);
    EXPECT_GT(second->aiSteps, 0);
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

    struct Fill {
        int left, top, right, bottom;
        uint32_t color;
        bool operator==(const Fill&) const = default;
    };
    std::vector<Fill> fills;
    for (const auto& draw : kit.Primitives()) {
        if (draw.primitive != PrimitiveType::TriangleFan) continue;
        Box box = BoundsOf(draw);
        fills.push_back({int(box.left), int(box.top), int(box.right), int(box.bottom), draw.Color(0)});
    }
    // Yellow from 573 (W - 67) for t x 54 div 300 pixels, grey on to 627 (W - 13).
    constexpr uint32_t Yellow = 0x40C0C000, Grey = 0x40404040;
    const std::vector<Fill> expected = {
        {573, 31, 627, 40, Grey},                              // 0: nothing done yet
        {573, 41, 600, 50, Yellow}, {600, 41, 627, 50, Grey},  // 150: 27 pixels
        {573, 51, 626, 60, Yellow}, {626, 51, 627, 60, Grey},  // 299: 53 pixels
        {573, 61, 627, 70, Yellow},                            // 300: full
        {573, 71, 627, 80, Yellow},                            // 301: still full
    };
    EXPECT_EQ(fills, expected);
}

TEST(BattleFrame, CursorMarksForAltAndForAnOrderTheSelectionWouldTake) {
    WorldTestKit kit;
    World& world = *kit.world;
    world.ResetWorld();
    kit.setup.playerCountry = 0;
    kit.setup.playerTeam = 1;
    Country* player = world.countries.Create(1, 0);
    ASSERT_EQ(world.playerCountryRecord, player);
    Unit* own = kit.Make(UnitFamily::Fighter, 1, 0, 10, {30, 0, 0});
    Unit* ally = kit.Make(UnitFamily::Fighter, 1, 2, 10, {-30, 0, 0});
    Unit* under = kit.Make(UnitFamily::Fighter, 2, 1, 10, {0, 0, 0});
    world.camera.lookAt = under->GetWorldPosition();
    world.camera.distance = 10.0f;
    world.camera.dirty = true;
    world.camera.Apply();

    Input input;
    input.SetClientSize(640, 480);
    input.SetMousePosition(320, 240);
    bool alt = false, order = false;
    BattleFrameHooks hooks;
    hooks.drawCursor = [&](int, int, bool altMark, bool orderMark) {
        alt = altMark;
        order = orderMark;
    };
    auto frame = [&](Unit* selected, int underTeam, bool altDown) {
        world.selectedUnit = selected;
        under->team = underTeam;
        RawInput raw;
        if (altDown) raw.keys[Dik::RightAlt] = 0x80;
        input.Poll(raw);
        RunBattleFrame(world, input, hooks);
    };
    ASSERT_EQ(world.PickUnderCursor(320, 240), under);

    frame(nullptr, 2, true);
    EXPECT_TRUE(alt);
    EXPECT_FALSE(order) << "nothing selected";
    frame(own, 2, false);
    EXPECT_FALSE(alt);
    EXPECT_TRUE(order) << "the player's fighter over an enemy";
    frame(ally, 2, false);
    EXPECT_FALSE(order) << "an ally's fighter takes no orders";
    frame(own, 1, false);
    EXPECT_FALSE(order) << "over a unit of the player's team";
}
