#pragma once

#include "platform/Input.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Window;
struct _SDL_Joystick;
struct _SDL_GameController;

// Reads the keyboard, the mouse and up to eight pads through SDL into a
// RawInput once per frame. The mouse runs in relative mode: the game draws its
// own pointer and keeps its position itself.
//
// A pad SDL knows as a game controller is read through its mapping (left
// stick, triggers, the eight face and shoulder buttons in a fixed order);
// any other pad is a raw joystick. Pads take the slots in the order they
// were connected: the earliest still connected is pad 0. A controller's right
// stick can also move the game's pointer and its buttons click (pointer
// emulation), on top of what its buttons do as pad buttons.
class InputDevices {
public:
    // Pointer emulation: stick deflection (of 1000) below this is ignored.
    static constexpr int PointerDeadZone = 150;
    // At full deflection the pointer crosses this many screen heights a second.
    static constexpr float PointerScreensPerSecond = 1.0f;

    InputDevices() = default;
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;
    ~InputDevices() { Release(); }

    // Adds the controller mappings of a file in SDL's mapping format and logs
    // how many it took, or why it took none. A missing file is no error.
    // Pads opened before keep how they were read until plugged in again.
    static int LoadMappings(const std::string& path);

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

    // Pointer emulation by the controllers (on unless switched off).
    void SetPadPointer(bool on) { padPointer = on; }
    bool PadPointer() const { return padPointer; }

    // Shakes the pad for a while, where it can (strengths 0..65535). False
    // when there is no such pad or it has no rumble.
    bool Rumble(int pad, uint16_t low, uint16_t high, uint32_t milliseconds);

    int PadCount() const { return padCount; }

    // SDL's -32768..32767 axis onto -1000..1000.
    static int ScaleAxis(int value);
    // The pointer's motion along one axis for a stick deflection (-1000..1000)
    // held for the given seconds on a screen of the given height: none inside
    // the dead zone, then proportional to the deflection beyond it.
    static float PointerSpeed(int deflection, float seconds, float screenHeight);
    // Adds motion to a carry and takes the whole pixels out of it: the
    // screens put the pointer back in the middle every frame, which would
    // drop a fraction of a pixel each time (a slow stick, or a slow mouse at
    // a UI scale or on a scaled full screen would never move the pointer).
    static float TakeWholePixels(float& carry, float motion);

private:
    struct PadSlot {
        _SDL_Joystick* joystick = nullptr;
        // Set when the pad is read as a game controller (it owns the joystick).
        _SDL_GameController* controller = nullptr;
        RawInput::PadKind kind = RawInput::PadKind::Joystick;
        // Logged once that it stopped answering.
        bool silent = false;
    };

    void OpenPads();
    void ClosePad(std::size_t slot);
    void ClosePads();
    // Moves the connected pads down over the empty slots, keeping their order.
    void CompactPads();
    // Logs, once until the pad answers again or its slot is reopened, that
    // the pad in the slot no longer gives its state.
    void ReportSilent(std::size_t slot);
    // Free without the stop lines; the destructor's part.
    void Release();
    // SDL's relative motion since it was last read, scaled to back-buffer
    // pixels, with the controllers' pointer motion since then.
    void ReadMotion(float& dx, float& dy);
    // The controllers' right sticks' pointer motion since the last call.
    void PadPointerMotion(float& dx, float& dy);
    void ReadPad(const PadSlot& slot, RawInput::Pad& out) const;

    Window* window = nullptr;
    // Motion read by PendingMotion and not yet handed to a Poll.
    float pendingDx = 0, pendingDy = 0;
    float motionDivisor = 1.0f;
    std::array<PadSlot, RawInput::MaxPads> pads{};
    int padCount = 0;
    bool padPointer = true;
    // SDL's performance counter at the last pointer emulation step; 0 before the first.
    uint64_t pointerTicks = 0;
    // Pointer emulation's motion not yet handed on (less than a pixel).
    float pointerCarryX = 0, pointerCarryY = 0;
    float mouseCarryX = 0, mouseCarryY = 0;
    bool initialised = false;
    // Set by Free once its lines are written; cleared by Init.
    bool stopped = false;
};
