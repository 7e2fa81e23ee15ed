#pragma once

#include "platform/Input.h"

#include <array>
#include <cstddef>

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
    ~InputDevices() { Release(); }

    // Opens the devices; logs like the rest of start-up. Pads are never fatal.
    bool Init(Window& window, Input& input);
    // Writes the stop lines and closes what Init opened; the teardown calls
    // it even when Init never ran. A second call does nothing until Init.
    void Free();

    // Reads every device, applies the game's rules and handles the quit key.
    void Poll(Input& input);

    // Fills a RawInput from SDL's current state.
    void Read(RawInput& raw);
    // The game's pointer moves by the mouse's motion divided by this (the UI
    // scale: it counts pixels of a screen that many times smaller).
    void SetMotionDivisor(float divisor) { motionDivisor = divisor > 0 ? divisor : 1.0f; }

    // The mouse's motion since the last Poll, in back-buffer pixels, without
    // taking it from the next Poll (pictures between steps draw the pointer
    // where it is now).
    void PendingMotion(float& dx, float& dy);

    int PadCount() const { return padCount; }

    // SDL's -32768..32767 axis onto -1000..1000.
    static int ScaleAxis(int value);

private:
    void OpenPads();
    void ClosePads();
    // Logs, once until the pad answers again or its slot is reopened, that
    // the pad in the slot no longer gives its state.
    void ReportSilent(std::size_t slot);
    // Free without the stop lines; the destructor's part.
    void Release();
    // SDL's relative motion since it was last read, scaled to back-buffer pixels.
    void ReadMotion(float& dx, float& dy);

    Window* window = nullptr;
    // Motion read by PendingMotion and not yet handed to a Poll.
    float pendingDx = 0, pendingDy = 0;
    float motionDivisor = 1.0f;
    std::array<_SDL_Joystick*, RawInput::MaxPads> pads{};
    std::array<bool, RawInput::MaxPads> silent{};
    int padCount = 0;
    bool initialised = false;
    // Set by Free once its lines are written; cleared by Init.
    bool stopped = false;
};
