#include "platform/Actions.h"

namespace {

constexpr const char* actionNames[ActionCount] = {
    "Rudder Left",    "Rudder Right",   "Elevator Up",   "Elevator Down", "Aileron Left",
    "Aileron Right",  "Throttle Up",    "Throttle Down", "Main Weapon",   "Sub Weapon",
    "Toggle Overlay", "Toggle Meter",   "Focus on Unit", "Pilot View",    "Stop Order",
    "Reset Camera",   "Manual Control", "My Station",    "My Fighter",
};

} // namespace

const char* ActionName(int action) {
    return action >= 0 && action < ActionCount ? actionNames[action] : "";
}
