#include "platform/Input.h"
#include "platform/KeyCodes.h"

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

TEST(KeyCodes, EveryNamedKeyCanBeTypedAndNoScancodeIsShared) {
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        if (*KeyCodeName(code) == '\0') {
            EXPECT_EQ(ScancodeCountForKeyCode(code), 0) << code;
            continue;
        }
        ++named;
        EXPECT_GE(ScancodeCountForKeyCode(code), 1) << KeyCodeName(code);
    }
    EXPECT_EQ(named, 144);

    EXPECT_STREQ(KeyCodeName(0x01), "ESCAPE");
    EXPECT_STREQ(KeyCodeName(0x9C), "NUMPADENTER");
    EXPECT_STREQ(KeyCodeName(0xB8), "RMENU");
    EXPECT_STREQ(KeyCodeName(0xED), "MEDIASELECT");
    EXPECT_STREQ(KeyCodeName(0x54), "");
    EXPECT_STREQ(KeyCodeName(-3), "");
    EXPECT_STREQ(KeyCodeName(999), "");
    EXPECT_EQ(KeyCodeForScancode(-1), -1);
    EXPECT_EQ(KeyCodeForScancode(100000), -1);

    // Each key code's scancodes map back to it and to nothing else.
    std::set<int> codes;
    for (int scancode = 0; scancode < 512; ++scancode) {
        int code = KeyCodeForScancode(scancode);
        if (code >= 0) codes.insert(code);
    }
    EXPECT_EQ(int(codes.size()), named);
}
