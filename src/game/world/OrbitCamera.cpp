#include "game/world/OrbitCamera.h"

#include "game/world/World.h"
#include "render/MeshResource.h"

#include <algorithm>

namespace {
// The start view: 0.7 pi round, 0.15 pi up, 180 units out.
constexpr float StartYaw = 2.1991148f;
constexpr float StartPitch = 0.47123894f;
constexpr float StartDistance = 180.0f;
constexpr float FocusRadii = 5.0f;
constexpr float NearestFocusDistance = 5.0f;
} // namespace

void OrbitCamera::Reset() {
    yaw = StartYaw;
    pitch = StartPitch;
    distance = StartDistance;
    dirty = true;
    lookAt = world.stations.AveragePosition();
    focus = nullptr;
}

void OrbitCamera::SetFocus(Unit* unit) {
    dirty = true;
    focus = unit;
    if (!unit) return;
    float radius = unit->node && unit->node->mesh ? unit->node->mesh->sphereRadius : 0.0f;
    distance = std::max(FocusRadii * radius, NearestFocusDistance);
}
