#pragma once

#include "game/screens/Layout.h"

#include <string>

class GameContext;

// A push button: its label and where it stands in screen pixels.
struct Button {
    std::string label;
    ScreenRect rect;
    bool hovered = false;
};
// Draws the button; true when it was clicked this frame.
bool ButtonUpdate(GameContext& game, Button& button);

// A radio box bound to an integer (value -1: a toggle).
struct OptionButton {
    std::string label;
    ScreenRect rect;
    int value = 0;
    int* target = nullptr;
    bool hovered = false;
};
void OptionButtonUpdate(GameContext& game, OptionButton& button);
