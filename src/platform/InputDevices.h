#pragma once

#include "platform/Input.h"

#include <array>

class Window;
struct _SDL_Joystick;

// Reads the keyboard, the mouse and up to eight pads through SDL into a
// RawInput once per frame. The mouse runs in relative mode: the game draws its
// own pointer and keeps its position itself.
class InputDevices {
public:
    InputDevices() = default;
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;
    ~InputDevices() { Free(); }

    // Opens the devices; logs like the rest of start-up. Pads are never fatal.
    bool Init(Window& window, Input& input);
    void Free();

    // Reads every device, applies the game's rules and handles the quit key.
    void Poll(Input& input);

    // Fills a RawInput from SDL's current state.
    void Read(RawInput& raw);

    int PadCount() const { return padCount; }

    // SDL's -32768..32767 axis onto -1000..1000.
    static int ScaleAxis(int value);

private:
    void OpenPads();
    void ClosePads();

    Window* window = nullptr;
    std::array<_SDL_Joystick*, RawInput::MaxPads> pads{};
    int padCount = 0;
    bool initialised = false;
};
