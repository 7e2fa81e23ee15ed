#pragma once

// The nineteen things the player can do with a key or a pad button. Every
// layer may ask for an action's state; the settings say which key and pad
// button give it.
// clang-format off
enum Action {
    RudderLeft, RudderRight, ElevatorUp, ElevatorDown, AileronLeft, AileronRight, ThrottleUp, ThrottleDown,
    MainWeapon, SubWeapon, ToggleOverlay, ToggleMeter, FocusOnUnit, PilotView, StopOrder, ResetCamera,
    ManualControl, MyStation, MyFighter,
    ActionCount
};
// clang-format on

// The action's name as the settings screen shows it; "" for no action.
const char* ActionName(int action);
