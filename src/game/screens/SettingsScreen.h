#pragma once

#include "game/flow/Controls.h"
#include "game/screens/Screen.h"
#include "game/screens/Widgets.h"

#include <array>
#include <vector>

class GameContext;

// The window mode, display size and UI scale (used at the next start), the frame rate
// (at once), and the keys and pad buttons of every control action.
class SettingsScreen : public Screen {
public:
    explicit SettingsScreen(GameContext& game);
    void Frame() override;

    // Waiting for the key or pad button of a control.
    bool Capturing() const { return captureMode; }

private:
    // The first key or pad button pressed goes to the action being assigned.
    void Capture();

    GameContext& game;
    // Window or full screen, then every display size, in the rows of their
    // settings; the sizes that don't fit the desktop aren't offered.
    std::vector<OptionButton> graphicsOptions;
    Button uiScaleButton;
    // How often pictures are drawn: applies at once.
    std::array<OptionButton, 6> frameRateOptions;
    // Which of them is chosen (by position).
    int frameRateChoice = 0;
    // A controller moves the pointer: on or off, at once.
    OptionButton padPointer;
    std::array<Button, ActionCount> actionButtons;
    Button done;
    int captureAction = 0;
    bool captureMode = false;
    // Set on the frame capture begins.
    bool captureStarting = false;
};
