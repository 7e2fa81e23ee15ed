#include "platform/InputDevices.h"

#include "platform/KeyCodes.h"
#include "platform/Log.h"
#include "platform/Window.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <cstdio>

namespace {

// The pad record's buttons 0..7 on a controller, in this order.
constexpr SDL_GameControllerButton ControllerButtons[RawInput::PadButtons] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
};

// A stalled frame moves the pointer no further than this many seconds' worth.
constexpr double LongestPointerStep = 0.1;

RawInput::PadKind KindOf(SDL_GameController* controller) {
    switch (SDL_GameControllerGetType(controller)) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
        return RawInput::PadKind::PlayStation;
    case SDL_CONTROLLER_TYPE_PS5:
        return RawInput::PadKind::PlayStation5;
    default:
        return RawInput::PadKind::Controller;
    }
}

const char* NameOr(const char* name) {
    return name ? name : "?";
}

// The pad's GUID, as a mapping line for it starts.
std::string GuidOf(int device) {
    char text[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device), text, sizeof text);
    return text;
}

} // namespace

int InputDevices::ScaleAxis(int value) {
    return std::clamp(value * 1000 / 32767, -1000, 1000);
}

float InputDevices::PointerSpeed(int deflection, float seconds, float screenHeight) {
    const int magnitude = std::min(deflection < 0 ? -deflection : deflection, 1000);
    if (magnitude <= PointerDeadZone || seconds <= 0.0f) return 0.0f;
    const float beyond = float(magnitude - PointerDeadZone) / float(1000 - PointerDeadZone);
    const float distance = beyond * PointerScreensPerSecond * screenHeight * seconds;
    return deflection < 0 ? -distance : distance;
}

int InputDevices::LoadMappings(const std::string& path) {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return 0;
    if (std::FILE* probe = std::fopen(path.c_str(), "rb"))
        std::fclose(probe);
    else
        return 0;
    int added = SDL_GameControllerAddMappingsFromFile(path.c_str());
    if (added < 0)
        Log("%s: no controller mappings read (%s)\n", path.c_str(), SDL_GetError());
    else
        Log("%s: %d controller mappings\n", path.c_str(), added);
    return std::max(added, 0);
}

bool InputDevices::Init(Window& gameWindow, Input& input) {
    LogSeparator();
    Log("InitDirectInput\n");
    stopped = false;
    window = &gameWindow;
    input.SetQuitKey(Dik::Escape);
    input.SetClientSize(window->ClientWidth(), window->ClientHeight());
    input.SetMousePosition(window->ClientWidth() / 2, window->ClientHeight() / 2);
    // Relative motion keeps counting at the window's edge, where a real
    // pointer would stop; the game's pointer is clamped by Input instead.
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) Log("マウスの相対モードが使えません: %s\n", SDL_GetError());
    // Drop motion that happened before the game started.
    SDL_GetRelativeMouseState(nullptr, nullptr);
    pointerTicks = 0;

    OpenPads();
    if (padCount > 0) Log("ジョイスティック数 = %d\n", padCount);
    initialised = true;
    return true;
}

void InputDevices::OpenPads() {
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    const bool controllers = SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0;
    int available = SDL_NumJoysticks();
    for (int device = 0; device < available; ++device) {
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
        bool open = false;
        for (const PadSlot& pad : pads)
            if (pad.joystick && SDL_JoystickInstanceID(pad.joystick) == id) open = true;
        if (open) continue;
        auto free = std::find_if(pads.begin(), pads.end(), [](const PadSlot& pad) { return !pad.joystick; });
        if (free == pads.end()) break;
        const int slot = int(free - pads.begin());
        PadSlot opened;
        if (controllers && SDL_IsGameController(device)) {
            opened.controller = SDL_GameControllerOpen(device);
            if (opened.controller) {
                opened.joystick = SDL_GameControllerGetJoystick(opened.controller);
                opened.kind = KindOf(opened.controller);
                Log("Pad %d: game controller \"%s\"%s, GUID %s\n", slot,
                    NameOr(SDL_GameControllerName(opened.controller)),
                    opened.kind >= RawInput::PadKind::PlayStation ? " (PlayStation)" : "",
                    GuidOf(device).c_str());
            }
        }
        if (!opened.joystick) {
            opened = {};
            opened.joystick = SDL_JoystickOpen(device);
            if (opened.joystick)
                Log("Pad %d: joystick \"%s\", GUID %s (no controller mapping)\n", slot,
                    NameOr(SDL_JoystickName(opened.joystick)), GuidOf(device).c_str());
        }
        if (!opened.joystick) {
            Log("ジョイスティック[%d]が初期化できません.\n", slot);
            continue;
        }
        *free = opened;
    }
    padCount = int(std::count_if(pads.begin(), pads.end(), [](const PadSlot& pad) { return pad.joystick; }));
}

void InputDevices::ReportSilent(size_t slot) {
    if (pads[slot].silent) return;
    pads[slot].silent = true;
    Log("ジョイスティック[%d]の状態が取得できません.\n", int(slot));
}

void InputDevices::ClosePad(size_t slot) {
    PadSlot& pad = pads[slot];
    if (pad.controller)
        SDL_GameControllerClose(pad.controller);
    else if (pad.joystick)
        SDL_JoystickClose(pad.joystick);
    pad = {};
}

void InputDevices::ClosePads() {
    for (size_t i = 0; i < pads.size(); ++i) ClosePad(i);
    padCount = 0;
}

void InputDevices::CompactPads() {
    auto end =
        std::stable_partition(pads.begin(), pads.end(), [](const PadSlot& pad) { return pad.joystick; });
    std::fill(end, pads.end(), PadSlot{});
}

void InputDevices::Free() {
    if (stopped) return;
    stopped = true;
    LogSeparator();
    Log("FreeInput\n");
    Release();
}

void InputDevices::Release() {
    if (!initialised) return;
    ClosePads();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetRelativeMouseMode(SDL_FALSE);
    window = nullptr;
    initialised = false;
}

bool InputDevices::Rumble(int pad, uint16_t low, uint16_t high, uint32_t milliseconds) {
    if (pad < 0 || pad >= RawInput::MaxPads) return false;
    const PadSlot& slot = pads[size_t(pad)];
    if (slot.controller)
        return SDL_GameControllerHasRumble(slot.controller) &&
               SDL_GameControllerRumble(slot.controller, low, high, milliseconds) == 0;
    if (slot.joystick)
        return SDL_JoystickHasRumble(slot.joystick) &&
               SDL_JoystickRumble(slot.joystick, low, high, milliseconds) == 0;
    return false;
}

void InputDevices::ReadPad(const PadSlot& slot, RawInput::Pad& out) const {
    out.connected = true;
    out.kind = slot.kind;
    if (SDL_GameController* controller = slot.controller) {
        out.x = ScaleAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
        out.y = ScaleAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
        out.leftTrigger = ScaleAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        out.rightTrigger = ScaleAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
        for (size_t b = 0; b < out.buttons.size(); ++b)
            out.buttons[b] = SDL_GameControllerGetButton(controller, ControllerButtons[b]) ? 0x80 : 0;
        return;
    }
    SDL_Joystick* pad = slot.joystick;
    int axes = SDL_JoystickNumAxes(pad);
    out.x = axes > 0 ? ScaleAxis(SDL_JoystickGetAxis(pad, 0)) : 0;
    out.y = axes > 1 ? ScaleAxis(SDL_JoystickGetAxis(pad, 1)) : 0;
    out.z = axes > 2 ? ScaleAxis(SDL_JoystickGetAxis(pad, 2)) : 0;
    int buttonCount = std::min(SDL_JoystickNumButtons(pad), RawInput::PadButtons);
    for (int b = 0; b < buttonCount; ++b) out.buttons[size_t(b)] = SDL_JoystickGetButton(pad, b) ? 0x80 : 0;
}

void InputDevices::Read(RawInput& raw) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    raw.keys.fill(0);
    for (int scancode = 0; scancode < count; ++scancode) {
        if (!state[scancode]) continue;
        int code = KeyCodeForScancode(scancode);
        if (code >= 0) raw.keys[size_t(code)] = 0x80;
    }
    // Alt + Enter belongs to the window (full screen): the game sees no Enter.
    if (raw.keys[Dik::LeftAlt] || raw.keys[Dik::RightAlt])
        raw.keys[Dik::Return] = raw.keys[Dik::NumpadEnter] = 0;

    // A pad that stops answering reads as let go (see Input::Poll); its slot
    // is freed once SDL reports it gone, the pads after it move down, and it
    // is opened again (last) when it comes back.
    if (window && window->TakePadChange()) {
        for (size_t i = 0; i < pads.size(); ++i) {
            if (pads[i].joystick && !SDL_JoystickGetAttached(pads[i].joystick)) {
                ReportSilent(i);
                Log("Pad %d: disconnected\n", int(i));
                ClosePad(i);
            }
        }
        CompactPads();
        OpenPads();
    }

    float dx = 0, dy = 0;
    ReadMotion(dx, dy);
    raw.mouseDx = dx + pendingDx;
    raw.mouseDy = dy + pendingDy;
    pendingDx = pendingDy = 0;
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    raw.mouseButtons[0] = (buttons & SDL_BUTTON_LMASK) ? 0x80 : 0;
    raw.mouseButtons[1] = (buttons & SDL_BUTTON_RMASK) ? 0x80 : 0;
    raw.mouseButtons[2] = (buttons & SDL_BUTTON_MMASK) ? 0x80 : 0;
    raw.mouseButtons[3] = (buttons & SDL_BUTTON_X1MASK) ? 0x80 : 0;
    raw.mouseWheel = window ? window->TakeWheel() : 0;

    for (size_t i = 0; i < pads.size(); ++i) {
        RawInput::Pad& out = raw.pads[i];
        out = {};
        const PadSlot& pad = pads[i];
        if (!pad.joystick) continue;
        if (!SDL_JoystickGetAttached(pad.joystick)) {
            ReportSilent(i);
            continue;
        }
        pads[i].silent = false;
        ReadPad(pad, out);
        // The pointer's buttons: the right shoulder or the right stick's
        // click is the left button, the left stick's click the right one.
        // The pad's own buttons read as before.
        if (padPointer && pad.controller) {
            SDL_GameController* c = pad.controller;
            if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) ||
                SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_RIGHTSTICK))
                raw.mouseButtons[0] = 0x80;
            if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_LEFTSTICK)) raw.mouseButtons[1] = 0x80;
        }
    }
}

void InputDevices::PadPointerMotion(float& dx, float& dy) {
    dx = dy = 0;
    const uint64_t now = SDL_GetPerformanceCounter();
    const double frequency = double(SDL_GetPerformanceFrequency());
    const double elapsed = pointerTicks == 0 ? 0.0 : double(now - pointerTicks) / frequency;
    pointerTicks = now;
    if (!padPointer || elapsed <= 0.0) return;
    const float seconds = float(std::min(elapsed, LongestPointerStep));
    // The pointer's screen: the back buffer, in pixels of the UI scale.
    const float height = float(window ? window->ClientHeight() : 480) / motionDivisor;
    for (const PadSlot& pad : pads) {
        if (!pad.controller || !SDL_GameControllerGetAttached(pad.controller)) continue;
        pointerCarryX +=
            PointerSpeed(ScaleAxis(SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_RIGHTX)),
                         seconds, height);
        pointerCarryY +=
            PointerSpeed(ScaleAxis(SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_RIGHTY)),
                         seconds, height);
    }
    dx = TakeWholePixels(pointerCarryX, 0);
    dy = TakeWholePixels(pointerCarryY, 0);
}

void InputDevices::ReadMotion(float& dx, float& dy) {
    int x = 0, y = 0;
    SDL_GetRelativeMouseState(&x, &y);
    // Motion is in window points; the game counts back-buffer pixels (the
    // window may be larger than the back buffer, full screen or resized),
    // divided by the UI scale.
    float scale = 1.0f / motionDivisor;
    if (window) {
        int w = 0, h = 0;
        SDL_GetWindowSize(window->Handle(), &w, &h);
        float fit =
            std::min(float(w) / float(window->ClientWidth()), float(h) / float(window->ClientHeight()));
        if (fit > 0.0f) scale /= fit;
    }
    float padDx = 0, padDy = 0;
    PadPointerMotion(padDx, padDy);
    dx = TakeWholePixels(mouseCarryX, float(x) * scale) + padDx;
    dy = TakeWholePixels(mouseCarryY, float(y) * scale) + padDy;
}

float InputDevices::TakeWholePixels(float& carry, float motion) {
    carry += motion;
    const float whole = std::trunc(carry);
    carry -= whole;
    return whole;
}

void InputDevices::PendingMotion(float& dx, float& dy) {
    float x = 0, y = 0;
    ReadMotion(x, y);
    pendingDx += x;
    pendingDy += y;
    dx = pendingDx;
    dy = pendingDy;
}

void InputDevices::Poll(Input& input) {
    RawInput raw;
    Read(raw);
    if (input.Poll(raw) && window) window->RequestClose();
}
