#include "platform/InputDevices.h"

#include "platform/KeyCodes.h"
#include "platform/Log.h"
#include "platform/Window.h"

#include <SDL.h>
#include <algorithm>

int InputDevices::ScaleAxis(int value) { return std::clamp(value * 1000 / 32767, -1000, 1000); }

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

    OpenPads();
    if (padCount > 0) Log("ジョイスティック数 = %d\n", padCount);
    initialised = true;
    return true;
}

void InputDevices::OpenPads() {
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    int available = SDL_NumJoysticks();
    for (int device = 0; device < available; ++device) {
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
        bool open = false;
        for (SDL_Joystick* pad : pads)
            if (pad && SDL_JoystickInstanceID(pad) == id) open = true;
        if (open) continue;
        auto slot = std::find(pads.begin(), pads.end(), nullptr);
        if (slot == pads.end()) break;
        *slot = SDL_JoystickOpen(device);
        silent[size_t(slot - pads.begin())] = false;
        if (!*slot) Log("ジョイスティック[%d]が初期化できません.\n", int(slot - pads.begin()));
    }
    padCount = int(std::count_if(pads.begin(), pads.end(), [](SDL_Joystick* pad) { return pad != nullptr; }));
}

void InputDevices::ReportSilent(size_t slot) {
    if (silent[slot]) return;
    silent[slot] = true;
    Log("ジョイスティック[%d]の状態が取得できません.\n", int(slot));
}

void InputDevices::ClosePads() {
    for (SDL_Joystick*& pad : pads) {
        if (pad) SDL_JoystickClose(pad);
        pad = nullptr;
    }
    padCount = 0;
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
    if (raw.keys[Dik::LeftAlt] || raw.keys[Dik::RightAlt]) raw.keys[Dik::Return] = raw.keys[Dik::NumpadEnter] = 0;

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

    // A pad that stops answering reads as let go (see Input::Poll); its slot
    // is freed once SDL reports it gone, and it is opened again when it comes back.
    if (window && window->TakePadChange()) {
        for (size_t i = 0; i < pads.size(); ++i) {
            if (pads[i] && !SDL_JoystickGetAttached(pads[i])) {
                ReportSilent(i);
                SDL_JoystickClose(pads[i]);
                pads[i] = nullptr;
            }
        }
        OpenPads();
    }
    for (size_t i = 0; i < pads.size(); ++i) {
        RawInput::Pad& out = raw.pads[i];
        out = {};
        SDL_Joystick* pad = pads[i];
        if (!pad) continue;
        if (!SDL_JoystickGetAttached(pad)) {
            ReportSilent(i);
            continue;
        }
        silent[i] = false;
        out.connected = true;
        int axes = SDL_JoystickNumAxes(pad);
        out.x = axes > 0 ? ScaleAxis(SDL_JoystickGetAxis(pad, 0)) : 0;
        out.y = axes > 1 ? ScaleAxis(SDL_JoystickGetAxis(pad, 1)) : 0;
        out.z = axes > 2 ? ScaleAxis(SDL_JoystickGetAxis(pad, 2)) : 0;
        int buttonCount = std::min(SDL_JoystickNumButtons(pad), RawInput::PadButtons);
        for (int b = 0; b < buttonCount; ++b) out.buttons[size_t(b)] = SDL_JoystickGetButton(pad, b) ? 0x80 : 0;
    }
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
        float fit = std::min(float(w) / float(window->ClientWidth()), float(h) / float(window->ClientHeight()));
        if (fit > 0.0f) scale /= fit;
    }
    dx = float(x) * scale;
    dy = float(y) * scale;
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
