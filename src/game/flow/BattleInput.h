#pragma once

#include "game/flow/Controls.h"

#include <array>
#include <cstdint>

class Input;

// Everything the battle reads from the player in one step, as one value: the
// live game fills it from the devices, a replay from its file, and the battle
// frame reads nothing else. Buttons and actions are edge codes (0 up,
// 1 released, 2 pressed, 3 held).
struct BattleInput {
    // Each action's edge code: its key's state OR its pad button's.
    std::array<uint8_t, ActionCount> actions{};
    // The pointer's motion since the last step, UI pixels.
    int dx = 0, dy = 0;
    // Left and right mouse buttons.
    uint8_t left = 0, right = 0;
    int wheel = 0;
    // Either Alt key down.
    bool alt = false;
    uint8_t escape = 0;

    int Action(int action) const { return action >= 0 && action < ActionCount ? actions[size_t(action)] : 0; }
    bool operator==(const BattleInput&) const = default;
};

// This step's input from the devices, with the settings' controls. The
// system pointer goes back to the middle of the width x height screen (UI
// pixels), so its offset from there is the next step's motion.
BattleInput ReadBattleInput(Input& input, const ControlSettings& settings, int width, int height);
