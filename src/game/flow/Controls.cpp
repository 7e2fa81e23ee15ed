#include "game/flow/Controls.h"

#include "game/flow/SettingsTable.h"
#include "platform/Input.h"
#include "platform/KeyCodes.h"

namespace {

// Several actions share a key: the battle reads "Stop Order" and "Reset
// Camera" only while no fighter is flown.
constexpr int defaultKeys[ActionCount] = {
    Dik::Z,     Dik::X,   Dik::Down, Dik::Up, Dik::Left, Dik::Right, Dik::A, Dik::S,      Dik::Space, Dik::Tab,
    Dik::I,     Dik::V,   Dik::F,    Dik::P,  Dik::S,    Dik::Space, Dik::Return, Dik::H, Dik::J,
};

constexpr const char* padButtonNames[PadKindCount][PadButtonSlots] = {
    {"", "Pad UP", "Pad DOWN", "Pad LEFT", "Pad RIGHT", "Pad TOP", "Pad BOTTOM", "Button1", "Button2",
     "Button3", "Button4", "Button5", "Button6", "Button7", "Button8", ""},
    {"", "Stick Up", "Stick Down", "Stick Left", "Stick Right", "LT", "RT", "A", "B", "X", "Y", "LB", "RB",
     "Back", "Start", ""},
    {"", "Stick Up", "Stick Down", "Stick Left", "Stick Right", "L2", "R2", "Cross", "Circle", "Square",
     "Triangle", "L1", "R1", "Share", "Options", ""},
    {"", "Stick Up", "Stick Down", "Stick Left", "Stick Right", "L2", "R2", "Cross", "Circle", "Square",
     "Triangle", "L1", "R1", "Create", "Options", ""},
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
    padPointer = 1;
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

void BuildKeyNames(ControlNames& names) {
    for (int code = 0; code < 256; ++code) names.keyNames[size_t(code)] = KeyCodeName(code);
    for (int kind = 0; kind < PadKindCount; ++kind)
        for (int b = 0; b < PadButtonSlots; ++b)
            names.padButtonNames[size_t(kind)][size_t(b)] = padButtonNames[kind][b];
}

const std::string& ControlNames::PadButtonName(RawInput::PadKind kind, int padButton) const {
    static const std::string none;
    const auto k = size_t(kind);
    if (k >= padButtonNames.size() || padButton < 0 || padButton >= PadButtonSlots) return none;
    return padButtonNames[k][size_t(padButton)];
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
