#include "platform/Input.h"

#include <algorithm>

namespace {
constexpr uint8_t Down = 0x80;
}

std::array<uint8_t, Input::PadElementCount> Input::PadRecord(const RawInput::Pad& pad) {
    std::array<uint8_t, PadElementCount> record{};
    // The thresholds are strict: exactly half deflection is not a press.
    record[StickUp] = pad.y < -AxisThreshold ? Down : 0;
    record[StickDown] = pad.y > AxisThreshold ? Down : 0;
    record[StickLeft] = pad.x < -AxisThreshold ? Down : 0;
    record[StickRight] = pad.x > AxisThreshold ? Down : 0;
    if (pad.kind == RawInput::PadKind::Joystick) {
        record[ZNegative] = pad.z < -AxisThreshold ? Down : 0;
        record[ZPositive] = pad.z > AxisThreshold ? Down : 0;
    } else {
        // Triggers rest at one end of their travel: pressed beyond half.
        record[ZNegative] = pad.leftTrigger > AxisThreshold ? Down : 0;
        record[ZPositive] = pad.rightTrigger > AxisThreshold ? Down : 0;
    }
    for (int b = 0; b < RawInput::PadButtons; ++b) record[size_t(Button0 + b)] = pad.buttons[size_t(b)];
    return record;
}

bool Input::Poll(const RawInput& raw) {
    previousKeys = keys;
    keys = raw.keys;

    pointerX = std::clamp(pointerX + raw.mouseDx, 0.0f, float(clientWidth));
    pointerY = std::clamp(pointerY + raw.mouseDy, 0.0f, float(clientHeight));
    mouseX = int(pointerX);
    mouseY = int(pointerY);

    previousMouseButtons = mouseButtons;
    mouseButtons = raw.mouseButtons;
    mouseWheel = raw.mouseWheel;

    if (padsEnabled) {
        previousPadRecords = padRecords;
        for (size_t i = 0; i < padRecords.size(); ++i) {
            // A pad that went away reads as let go rather than stuck.
            padRecords[i] = raw.pads[i].connected ? PadRecord(raw.pads[i]) : std::array<uint8_t, PadElementCount>{};
            padKinds[i] = raw.pads[i].connected ? raw.pads[i].kind : RawInput::PadKind::Joystick;
        }
    }

    return quitKey >= 0 && quitKey < 256 && (keys[size_t(quitKey)] & Down);
}

int Input::KeyState(int keyCode) const {
    if (keyCode < 0 || keyCode > 255) return Up;
    return Edge(keys[size_t(keyCode)], previousKeys[size_t(keyCode)]);
}

int Input::MouseButtonState(int button) const {
    if (button < 0 || button > 3) return Up;
    return Edge(mouseButtons[size_t(button)], previousMouseButtons[size_t(button)]);
}

int Input::PadState(int pad, int element) const {
    if (pad < 0 || pad >= RawInput::MaxPads || element < 0 || element >= PadElementCount) return Up;
    return Edge(padRecords[size_t(pad)][size_t(element)], previousPadRecords[size_t(pad)][size_t(element)]);
}

RawInput::PadKind Input::PadKindOf(int pad) const {
    if (pad < 0 || pad >= RawInput::MaxPads) return RawInput::PadKind::Joystick;
    return padKinds[size_t(pad)];
}

void Input::SetMousePosition(int x, int y) {
    pointerX = std::clamp(float(x), 0.0f, float(clientWidth));
    pointerY = std::clamp(float(y), 0.0f, float(clientHeight));
    mouseX = int(pointerX);
    mouseY = int(pointerY);
}

void Input::SetClientSize(int width, int height) {
    clientWidth = std::max(width, 1);
    clientHeight = std::max(height, 1);
    SetMousePosition(mouseX, mouseY);
}

void Input::EnablePads(bool enabled) {
    padsEnabled = enabled;
    if (!enabled)
        for (auto& record : padRecords) record.fill(0);
}

int Input::ClearInput() {
    keys.fill(0);
    previousKeys.fill(0);
    mouseButtons.fill(0);
    previousMouseButtons.fill(0);
    for (auto& record : padRecords) record.fill(0);
    for (auto& record : previousPadRecords) record.fill(0);
    return 0;
}
