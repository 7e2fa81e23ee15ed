#include "platform/Input.h"
#include "platform/KeyCodes.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>
#include <set>

namespace {

RawInput WithKey(int code) {
    RawInput raw;
    raw.keys[size_t(code)] = 0x80;
    return raw;
}

} // namespace

TEST(Input, KeyEdgeCodesOverFrames) {
    Input input;
    input.SetQuitKey(Dik::None);
    // Held for three frames, then let go.
    std::vector<int> seen;
    for (int frame = 0; frame < 3; ++frame) {
        input.Poll(WithKey(Dik::S));
        seen.push_back(input.KeyState(Dik::S));
    }
    input.Poll(RawInput{});
    seen.push_back(input.KeyState(Dik::S));
    input.Poll(RawInput{});
    seen.push_back(input.KeyState(Dik::S));
    EXPECT_EQ(seen, (std::vector<int>{Input::Pressed, Input::Held, Input::Held, Input::Released, Input::Up}));

    // Other keys, out-of-range codes and buttons read as up.
    EXPECT_EQ(input.KeyState(Dik::A), Input::Up);
    EXPECT_EQ(input.KeyState(-1), Input::Up);
    EXPECT_EQ(input.KeyState(256), Input::Up);
    EXPECT_EQ(input.MouseButtonState(4), Input::Up);
    EXPECT_EQ(input.PadState(8, 0), Input::Up);
    EXPECT_EQ(input.PadState(0, 14), Input::Up);
}

TEST(Input, MouseButtonsWheelAndPointerClamp) {
    Input input;
    input.SetClientSize(640, 480);
    input.SetMousePosition(320, 240);

    RawInput raw;
    raw.mouseButtons[1] = 0x80;
    raw.mouseWheel = -240;
    raw.mouseDx = 10.5f;
    raw.mouseDy = -0.5f;
    input.Poll(raw);
    EXPECT_EQ(input.MouseButtonState(1), Input::Pressed);
    EXPECT_EQ(input.MouseButtonState(0), Input::Up);
    EXPECT_EQ(input.MouseWheel(), -240);
    EXPECT_EQ(input.MouseX(), 330);
    EXPECT_EQ(input.MouseY(), 239);
    // Half pixels add up rather than getting lost.
    raw.mouseDx = 0.5f;
    raw.mouseDy = 0.0f;
    input.Poll(raw);
    EXPECT_EQ(input.MouseX(), 331);
    EXPECT_EQ(input.MouseButtonState(1), Input::Held);

    // Far past the left and bottom edges: 0 and the client height, inclusive.
    raw = RawInput{};
    raw.mouseDx = -5000.0f;
    raw.mouseDy = 5000.0f;
    input.Poll(raw);
    EXPECT_EQ(input.MouseX(), 0);
    EXPECT_EQ(input.MouseY(), 480);
    EXPECT_EQ(input.MouseButtonState(1), Input::Released);
    // The wheel reports only the last poll's movement.
    EXPECT_EQ(input.MouseWheel(), 0);
    // Moving back in starts from the edge, not from where the motion went.
    raw.mouseDx = 3.0f;
    raw.mouseDy = 0.0f;
    input.Poll(raw);
    EXPECT_EQ(input.MouseX(), 3);

    input.SetMousePosition(9999, -7);
    EXPECT_EQ(input.MouseX(), 640);
    EXPECT_EQ(input.MouseY(), 0);
}

TEST(Input, PadThresholdsAreStrictAndPadsPollOnlyWhenEnabled) {
    RawInput::Pad pad;
    pad.connected = true;
    pad.x = 500;
    pad.y = -500;
    pad.z = 0;
    auto record = Input::PadRecord(pad);
    for (int e = Input::StickUp; e <= Input::ZPositive; ++e) EXPECT_EQ(record[size_t(e)], 0) << e;
    pad.x = 501;
    pad.y = -501;
    pad.z = -1000;
    pad.buttons[7] = 0x80;
    record = Input::PadRecord(pad);
    EXPECT_EQ(record[Input::StickRight], 0x80);
    EXPECT_EQ(record[Input::StickUp], 0x80);
    EXPECT_EQ(record[Input::ZNegative], 0x80);
    EXPECT_EQ(record[Input::StickLeft], 0);
    EXPECT_EQ(record[Input::StickDown], 0);
    EXPECT_EQ(record[Input::Button0 + 7], 0x80);

    Input input;
    RawInput raw;
    raw.pads[2] = pad;
    input.Poll(raw);
    EXPECT_EQ(input.PadState(2, Input::StickUp), Input::Up) << "pads are off after start-up";

    input.EnablePads(true);
    input.Poll(raw);
    EXPECT_EQ(input.PadState(2, Input::StickUp), Input::Pressed);
    input.Poll(raw);
    EXPECT_EQ(input.PadState(2, Input::Button0 + 7), Input::Held);
    // Turning pads off clears this frame's records: held elements read released.
    input.EnablePads(false);
    EXPECT_EQ(input.PadState(2, Input::StickUp), Input::Released);
    EXPECT_EQ(input.PadState(2, Input::StickDown), Input::Up);
    // A pad pulled out reads as let go, not stuck.
    input.EnablePads(true);
    input.Poll(raw);
    input.Poll(RawInput{});
    EXPECT_EQ(input.PadState(2, Input::StickUp), Input::Released);
}

// A controller's triggers give Z negative (left) and Z positive (right) past
// half travel, each on its own; its Z axis is no input (a trigger resting at
// an axis's end must not read as held).
TEST(Input, ControllerTriggersFillTheZElements) {
    struct Case {
        int left, right;
        bool zNegative, zPositive;
    };
    const Case cases[] = {{0, 0, false, false},
                          {500, 500, false, false},
                          {501, 0, true, false},
                          {0, 1000, false, true},
                          {1000, 1000, true, true}};
    for (const Case& c : cases) {
        RawInput::Pad pad;
        pad.connected = true;
        pad.kind = RawInput::PadKind::Controller;
        pad.z = -1000;
        pad.leftTrigger = c.left;
        pad.rightTrigger = c.right;
        auto record = Input::PadRecord(pad);
        EXPECT_EQ(record[Input::ZNegative] != 0, c.zNegative) << c.left << " " << c.right;
        EXPECT_EQ(record[Input::ZPositive] != 0, c.zPositive) << c.left << " " << c.right;
    }

    Input input;
    input.EnablePads(true);
    RawInput raw;
    raw.pads[1].connected = true;
    raw.pads[1].kind = RawInput::PadKind::PlayStation;
    input.Poll(raw);
    EXPECT_EQ(input.PadKindOf(1), RawInput::PadKind::PlayStation);
    EXPECT_EQ(input.PadKindOf(0), RawInput::PadKind::Joystick);
    input.Poll(RawInput{});
    EXPECT_EQ(input.PadKindOf(1), RawInput::PadKind::Joystick) << "a pad pulled out is named as a joystick";
}

TEST(Input, QuitKeyAndClearInput) {
    Input input;
    EXPECT_TRUE(input.Poll(WithKey(Dik::Escape))) << "Escape ends the program after start-up";
    input.SetQuitKey(Dik::None);
    EXPECT_FALSE(input.Poll(WithKey(Dik::Escape)));
    // Every key the keyboard can produce down at once: none has the code 255.
    RawInput everything;
    for (int code = 0; code < 256; ++code)
        if (ScancodeCountForKeyCode(code) > 0) everything.keys[size_t(code)] = 0x80;
    EXPECT_FALSE(input.Poll(everything));
    input.SetQuitKey(Dik::Space);
    EXPECT_TRUE(input.Poll(WithKey(Dik::Space)));

    RawInput raw = WithKey(Dik::A);
    raw.mouseButtons[0] = 0x80;
    input.EnablePads(true);
    raw.pads[0].connected = true;
    raw.pads[0].buttons[0] = 0x80;
    input.Poll(raw);
    input.Poll(raw);
    EXPECT_EQ(input.ClearInput(), 0);
    EXPECT_EQ(input.KeyState(Dik::A), Input::Up);
    EXPECT_EQ(input.MouseButtonState(0), Input::Up);
    EXPECT_EQ(input.PadState(0, Input::Button0), Input::Up);
}

// The codes are what the configuration file stores: each physical key must
// give the code that names it, whatever the table's own consistency.
TEST(KeyCodes, PhysicalKeysGiveTheirNamedCodes) {
    struct Key {
        SDL_Scancode scancode;
        int code;
        const char* name;
    };
    const Key keys[] = {{SDL_SCANCODE_ESCAPE, 0x01, "ESCAPE"},
                        {SDL_SCANCODE_1, 0x02, "1"},
                        {SDL_SCANCODE_0, 0x0B, "0"},
                        {SDL_SCANCODE_A, 0x1E, "A"},
                        {SDL_SCANCODE_Z, 0x2C, "Z"},
                        {SDL_SCANCODE_X, 0x2D, "X"},
                        {SDL_SCANCODE_RETURN, 0x1C, "RETURN"},
                        {SDL_SCANCODE_KP_ENTER, 0x9C, "NUMPADENTER"},
                        {SDL_SCANCODE_SPACE, 0x39, "SPACE"},
                        {SDL_SCANCODE_TAB, 0x0F, "TAB"},
                        {SDL_SCANCODE_LALT, 0x38, "LMENU"},
                        {SDL_SCANCODE_RALT, 0xB8, "RMENU"},
                        {SDL_SCANCODE_LCTRL, 0x1D, "LCONTROL"},
                        {SDL_SCANCODE_RCTRL, 0x9D, "RCONTROL"},
                        {SDL_SCANCODE_UP, 0xC8, "UP"},
                        {SDL_SCANCODE_DOWN, 0xD0, "DOWN"},
                        {SDL_SCANCODE_LEFT, 0xCB, "LEFT"},
                        {SDL_SCANCODE_RIGHT, 0xCD, "RIGHT"},
                        {SDL_SCANCODE_PAGEUP, 0xC9, "PRIOR"},
                        {SDL_SCANCODE_PAGEDOWN, 0xD1, "NEXT"},
                        {SDL_SCANCODE_F1, 0x3B, "F1"},
                        {SDL_SCANCODE_F11, 0x57, "F11"},
                        {SDL_SCANCODE_F12, 0x58, "F12"},
                        {SDL_SCANCODE_KP_7, 0x47, "NUMPAD7"},
                        {SDL_SCANCODE_KP_0, 0x52, "NUMPAD0"},
                        {SDL_SCANCODE_MEDIASELECT, 0xED, "MEDIASELECT"}};
    for (const Key& key : keys) {
        EXPECT_EQ(KeyCodeForScancode(key.scancode), key.code) << key.name;
        EXPECT_STREQ(KeyCodeName(key.code), key.name);
    }
    // Every named code, and only those, can be typed, by a key of its own.
    int named = 0;
    std::set<int> typed;
    for (int code = -1; code <= 256; ++code) {
        named += *KeyCodeName(code) != '\0';
        EXPECT_EQ(ScancodeCountForKeyCode(code) > 0, *KeyCodeName(code) != '\0') << code;
    }
    for (int scancode = -1; scancode <= SDL_NUM_SCANCODES; ++scancode)
        if (int code = KeyCodeForScancode(scancode); code >= 0) typed.insert(code);
    EXPECT_EQ(named, 144);
    EXPECT_EQ(int(typed.size()), named);
}
