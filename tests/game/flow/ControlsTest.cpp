#include "game/flow/Controls.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"

#include <gtest/gtest.h>
#include <tuple>

TEST(Controls, ActionStateCombinesKeyAndPadButton) {
    ControlSettings settings;
    Input input;
    input.SetQuitKey(Dik::None);
    input.EnablePads(true);

    // Throttle Down sits on S with no pad button.
    RawInput raw;
    raw.keys[Dik::S] = 0x80;
    input.Poll(raw);
    EXPECT_EQ(ActionState(input, settings, ThrottleDown), Input::Pressed);
    EXPECT_EQ(ActionState(input, settings, StopOrder), Input::Pressed) << "both actions share S";
    input.Poll(raw);
    EXPECT_EQ(ActionState(input, settings, ThrottleDown), Input::Held);
    EXPECT_EQ(ActionState(input, settings, ThrottleUp), Input::Up);

    // Pad button slots: 1 is the stick pushed up, 7 is button 0.
    settings.actionPadButton[MainWeapon] = 7;
    settings.actionPadButton[ElevatorDown] = 1;
    settings.actionKey[MainWeapon] = -1;
    raw = RawInput{};
    raw.pads[0].connected = true;
    raw.pads[0].buttons[0] = 0x80;
    raw.pads[0].y = -900;
    // The same press on pad 1 is not the player's.
    raw.pads[1] = raw.pads[0];
    input.Poll(raw);
    EXPECT_EQ(ActionState(input, settings, MainWeapon), Input::Pressed);
    EXPECT_EQ(ActionState(input, settings, ElevatorDown), Input::Pressed);

    // Key held while the pad button goes down: held | pressed reads 3.
    raw.keys[Dik::Up] = 0x80;
    raw.pads[0].y = 0;
    input.Poll(raw);
    raw.pads[0].y = -900;
    input.Poll(raw);
    EXPECT_EQ(ActionState(input, settings, ElevatorDown), Input::Held);

    // Slots 0 and 15 name nothing; neither do unassigned values.
    for (int slot : {0, 15, -1, 16, 1000}) EXPECT_EQ(PadElementForButton(slot), -1) << slot;
    EXPECT_EQ(PadElementForButton(14), Input::Button0 + 7);
    EXPECT_EQ(ActionState(input, settings, -1), 0);
    EXPECT_EQ(ActionState(input, settings, ActionCount), 0);
}

TEST(Controls, NamesForTheSettingsScreen) {
    ControlNames names;
    BuildKeyNames(names);
    ControlSettings settings;
    const char* expected[ActionCount] = {"Z", "X",     "DOWN",   "UP", "LEFT", "RIGHT", "A",
                                         "S", "SPACE", "TAB",    "I",  "V",    "F",     "P",
                                         "S", "SPACE", "RETURN", "H",  "J"};
    for (int i = 0; i < ActionCount; ++i)
        EXPECT_EQ(names.keyNames[size_t(settings.actionKey[size_t(i)])], expected[i]) << ActionName(i);
    // A raw joystick keeps the numbered names; a controller shows its face's.
    using Kind = RawInput::PadKind;
    const std::tuple<Kind, int, const char*> pads[] = {
        {Kind::Joystick, 0, ""},    {Kind::Joystick, 5, "Pad TOP"}, {Kind::Joystick, 14, "Button8"},
        {Kind::Controller, 1, "Stick Up"}, {Kind::Controller, 5, "LT"}, {Kind::Controller, 6, "RT"},
        {Kind::Controller, 7, "A"}, {Kind::Controller, 12, "RB"},    {Kind::Controller, 14, "Start"},
        {Kind::PlayStation, 5, "L2"}, {Kind::PlayStation, 7, "Cross"}, {Kind::PlayStation, 14, "Options"},
        {Kind::PlayStation, 13, "Share"}, {Kind::PlayStation5, 13, "Create"},
        {Kind::Controller, 15, ""}, {Kind::Controller, -1, ""},      {Kind::Controller, 16, ""}};
    for (auto [kind, slot, name] : pads) EXPECT_EQ(names.PadButtonName(kind, slot), name) << int(kind) << " " << slot;
    EXPECT_STREQ(ActionName(RudderLeft), "Rudder Left");
    EXPECT_STREQ(ActionName(FocusOnUnit), "Focus on Unit");
    EXPECT_STREQ(ActionName(MyFighter), "My Fighter");
}
