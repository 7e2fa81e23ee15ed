#pragma once

#include "platform/Actions.h"
#include "platform/Input.h"

#include <array>
#include <string>

// Pad buttons as the settings count them: 1..6 the stick and Z-axis
// directions, 7..14 buttons 0..7; 0 and 15 name nothing.
constexpr int PadButtonSlots = 16;

// The player's settings: window mode, display size and the controls. Window
// mode and display size are read at start and take effect at the next start;
// the choices made on the settings screen are what the file keeps.
struct ControlSettings {
    // 0 full screen, 1 window.
    int windowed = 0;
    // A row of DisplaySizes(): 0: 640 x 480, 1: 800 x 600, 2: 1024 x 768,
    // then the wide sizes and the desktop's own (SettingsTable.h).
    int displaySize = 0;
    int windowModeChoice = 0;
    int displaySizeChoice = 0;
    // Key code of each action, -1 = none.
    std::array<int, ActionCount> actionKey{};
    // Pad button (0..15, pad 0) of each action, -1 = none.
    std::array<int, ActionCount> actionPadButton{};
    // How often pictures are drawn (PictureRate): 0 as the display refreshes,
    // 30 one per step as the game always did, 60 / 120 / 144 at most, -1 as
    // often as it can.
    int frameRate = 0;
    // UI scale: 0 Auto, or 1, 2, 3 (ChooseUiScale); like the display size,
    // what the settings choose takes effect at the next start.
    int uiScale = 0;
    int uiScaleChoice = 0;
    // A controller's right stick moves the pointer and its buttons click: 1 on, 0 off.
    int padPointer = 1;

    ControlSettings() { SetDefaults(); }
    void SetDefaults();

    // The back buffer for the three sizes the game was made for (the others
    // need the desktop's size: ResolveDisplaySize).
    int DisplayWidth() const;
    int DisplayHeight() const;
};

// The names the settings screen shows for keys and pad buttons: a pad's
// buttons by how it is read (RawInput::PadKind): a raw joystick's by number,
// a controller's as its face shows them.
constexpr int PadKindCount = 4;
struct ControlNames {
    std::array<std::string, 256> keyNames;
    std::array<std::array<std::string, PadButtonSlots>, PadKindCount> padButtonNames;

    const std::string& PadButtonName(RawInput::PadKind kind, int padButton) const;
};
void BuildKeyNames(ControlNames& names);

// The action's edge code: its key's state OR its pad button's state on pad 0.
// 2 = just pressed, 3 = held, 1 = just released, 0 = up.
int ActionState(const Input& input, const ControlSettings& settings, int action);

// The pad record element a pad button slot reads, or -1 for none.
int PadElementForButton(int padButton);
