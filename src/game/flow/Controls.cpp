#include "game/flow/Controls.h"

#include "game/flow/SettingsTable.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"

namespace {

constexpr const char* actionNames[ActionCount] = {
    "Rudder Left", "Rudder Right", "Elevator Up",    "Elevator Down", "Aileron Left", "Aileron Right",
    "Throttle Up", "Throttle Down", "Main Weapon",   "Sub Weapon",    "Toggle Overlay", "Toggle Meter",
    "Focus on Unit", "Pilot View",  "Stop Order",    "Reset Camera",  "Manual Control", "My Station",
    "My Fighter",
};

// Several actions share a key: the battle reads "Stop Order" and "Reset
// Camera" only while no fighter is flown.
constexpr int defaultKeys[ActionCount] = {
    Dik::Z,     Dik::X,   Dik::Down, Dik::Up, Dik::Left, Dik::Right, Dik::A, Dik::S,      Dik::Space, Dik::Tab,
    Dik::I,     Dik::V,   Dik::F,    Dik::P,  Dik::S,    Dik::Space, Dik::Return, Dik::H, Dik::J,
};

constexpr const char* padButtonNames[PadButtonSlots] = {
    "",        "Pad UP",  "Pad DOWN", "Pad LEFT", "Pad RIGHT", "Pad TOP", "Pad BOTTOM", "Button1",
    "Button2", "Button3", "Button4",  "Button5",  "Button6",   "Button7", "Button8",    "",
};

} // namespace

void ControlSettings::SetDefaults() {
    windowed = 0;
    displaySize = 0;
    windowModeChoice = 0;
    displaySizeChoice = 0;
    frameRate = 0;
    uiScale = 0;
    uiScaleChoice = 0;
    for (int i = 0; i < ActionCount; ++i) {
        actionKey[size_t(i)] = defaultKeys[i];
        actionPadButton[size_t(i)] = -1;
    }
}

int ControlSettings::DisplayWidth() const {
    int width = 0, height = 0;
    ResolveDisplaySize(displaySize, windowed != 0, 0, 0, 0, 0, width, height);
    return width;
}

int ControlSettings::DisplayHeight() const {
    int width = 0, height = 0;
    ResolveDisplaySize(displaySize, windowed != 0, 0, 0, 0, 0, width, height);
    return height;
}

const char* ActionName(int action) { return action >= 0 && action < ActionCount ? actionNames[action] : ""; }

void BuildKeyNames(ControlNames& names) {
    for (int code = 0; code < 256; ++code) names.keyNames[size_t(code)] = KeyCodeName(code);
    for (int b = 0; b < PadButtonSlots; ++b) names.padButtonNames[size_t(b)] = padButtonNames[b];
}

int PadElementForButton(int padButton) {
    if (padButton < 1 || padButton > Input::PadElementCount) return -1;
    return padButton - 1;
}

int ActionState(const Input& input, const ControlSettings& settings, int action) {
    if (action < 0 || action >= ActionCount) return Input::Up;
    int state = 0;
    int key = settings.actionKey[size_t(action)];
    if (key >= 0 && key <= 255) state |= input.KeyState(key);
    int element = PadElementForButton(settings.actionPadButton[size_t(action)]);
    if (element >= 0) state |= input.PadState(0, element);
    return state;
}
