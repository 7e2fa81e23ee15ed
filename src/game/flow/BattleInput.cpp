#include "game/flow/BattleInput.h"

#include "platform/Input.h"
#include "platform/KeyCodes.h"

#include <algorithm>

BattleInput ReadBattleInput(Input& input, const ControlSettings& settings, int width, int height) {
    BattleInput in;
    for (int a = 0; a < ActionCount; ++a) in.actions[size_t(a)] = uint8_t(ActionState(input, settings, a));
    width = std::max(width, 1);
    height = std::max(height, 1);
    in.dx = input.MouseX() - width / 2;
    in.dy = input.MouseY() - height / 2;
    input.SetMousePosition(width / 2, height / 2);
    in.left = uint8_t(input.MouseButtonState(0));
    in.right = uint8_t(input.MouseButtonState(1));
    in.wheel = input.MouseWheel();
    auto down = [&input](int key) { return IsDown(input.KeyState(key)); };
    in.alt = down(Dik::LeftAlt) || down(Dik::RightAlt);
    in.escape = uint8_t(input.KeyState(Dik::Escape));
    return in;
}
