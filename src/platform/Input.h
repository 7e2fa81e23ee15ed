#pragma once

#include <array>
#include <cstdint>

// What the devices said in one poll, before the game's rules are applied.
// Keys are indexed by key code; a pressed key or button reads 0x80.
struct RawInput {
    static constexpr int MaxPads = 8;
    static constexpr int PadButtons = 8;

    // How a pad is read: a raw joystick (axes 0, 1, 2 and buttons 0..7 as
    // the driver numbers them), or a mapped game controller, whose face shows
    // the usual names or the PlayStation ones (the fifth's Create button
    // where the fourth had Share).
    enum class PadKind : uint8_t { Joystick, Controller, PlayStation, PlayStation5 };

    struct Pad {
        bool connected = false;
        PadKind kind = PadKind::Joystick;
        // Axes already scaled to -1000..1000 (X, Y and the Z axis; a
        // controller's left stick is X and Y, and it has no Z axis).
        int x = 0, y = 0, z = 0;
        // A controller's triggers, 0 at rest to 1000 fully pulled: the left
        // one gives Z negative, the right one Z positive.
        int leftTrigger = 0, rightTrigger = 0;
        // A controller's A, B, X, Y, left and right shoulder, Back, Start.
        std::array<uint8_t, PadButtons> buttons{};
    };

    std::array<uint8_t, 256> keys{};
    // Pointer motion since the last poll, in back-buffer pixels.
    float mouseDx = 0.0f, mouseDy = 0.0f;
    std::array<uint8_t, 4> mouseButtons{};
    int mouseWheel = 0;
    std::array<Pad, MaxPads> pads{};
};

// Keyboard, mouse and pads as the game sees them: this frame's state and the
// last frame's, read through two-bit edge codes.
class Input {
public:
    // Edge codes: bit 1 = down this frame, bit 0 = down last frame (IsDown,
    // IsPressed and IsReleased below read them).
    enum Edge { Up = 0, Released = 1, Pressed = 2, Held = 3 };
    // Elements of a pad record.
    enum PadElement {
        StickUp = 0, StickDown, StickLeft, StickRight, ZNegative, ZPositive, Button0,
        PadElementCount = 14
    };
    static constexpr int AxisThreshold = 500;

    // Applies one frame's device readings. Returns true when the quit key is
    // down, so the caller asks the window to close.
    bool Poll(const RawInput& raw);

    int KeyState(int keyCode) const;
    int MouseButtonState(int button) const;
    int MouseX() const { return mouseX; }
    int MouseY() const { return mouseY; }
    int MouseWheel() const { return mouseWheel; }
    int PadState(int pad, int element) const;
    // How the pad was read in the last poll (a raw joystick when none is there).
    RawInput::PadKind PadKindOf(int pad) const;

    // Moves the game's pointer; client coordinates, clamped to the client area.
    void SetMousePosition(int x, int y);
    // The area the pointer is kept in (the back buffer: W x H).
    void SetClientSize(int width, int height);

    void EnablePads(bool enabled);
    bool PadsEnabled() const { return padsEnabled; }
    void SetQuitKey(int keyCode) { quitKey = keyCode; }
    int QuitKey() const { return quitKey; }
    int ClearInput();

    // Builds the 14-byte record of one pad from its axes and buttons.
    static std::array<uint8_t, PadElementCount> PadRecord(const RawInput::Pad& pad);

private:
    static int Edge(uint8_t current, uint8_t previous) { return ((current & 0x80) | (previous >> 1)) >> 6; }

    std::array<uint8_t, 256> keys{}, previousKeys{};
    std::array<uint8_t, 4> mouseButtons{}, previousMouseButtons{};
    std::array<std::array<uint8_t, PadElementCount>, RawInput::MaxPads> padRecords{}, previousPadRecords{};
    std::array<RawInput::PadKind, RawInput::MaxPads> padKinds{};
    // The pointer is kept in floats so that scaled motion loses no fraction.
    float pointerX = 0.0f, pointerY = 0.0f;
    int mouseX = 0, mouseY = 0;
    int mouseWheel = 0;
    int clientWidth = 640, clientHeight = 480;
    bool padsEnabled = false;
    // Escape after start-up; 255 means no key ends the program.
    int quitKey = 0x01;
};

// The one way every layer asks an edge code: down this frame (pressed or
// held), pressed this frame, let go this frame.
constexpr bool IsDown(int state) { return (state & Input::Pressed) != 0; }
constexpr bool IsPressed(int state) { return state == Input::Pressed; }
constexpr bool IsReleased(int state) { return state == Input::Released; }
