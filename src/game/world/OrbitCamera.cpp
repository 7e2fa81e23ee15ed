#include "game/world/OrbitCamera.h"

#include "game/world/World.h"
#include "platform/Input.h"
#include "render/MeshResource.h"

#include "render/SceneNode.h"

#include <algorithm>
#include <cmath>

namespace {
// The start view: 0.7 pi round, 0.15 pi up, 180 units out.
constexpr float StartYaw = 2.1991148f;
constexpr float StartPitch = 0.47123894f;
constexpr float StartDistance = 180.0f;
constexpr float FocusRadii = 5.0f;
constexpr float NearestFocusDistance = 5.0f;
constexpr float TwoPi = 6.2831853f;
constexpr float PitchLimit = 1.4137167f;
constexpr float TurnPerScreen = 0.5f;
constexpr float ZoomPerStep = 0.02f;
constexpr float NearestDistance = 1.0f;
constexpr float FarthestDistance = 400.0f;
} // namespace

float WrapAngle(float value, float lo, float hi) {
    float range = hi - lo;
    if (!(range > 0.0f) || !std::isfinite(value)) return lo;
    return value - std::trunc((value - lo) / range) * range;
}

namespace {} // namespace

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

void OrbitCamera::Rotate(int dx, int dy, int width, int height, int leftButton, int rightButton) {
    if (leftButton != 0 || !IsDown(rightButton)) return;
    width = std::max(width, 1);
    height = std::max(height, 1);
    yaw = WrapAngle(yaw - float(dx) * TurnPerScreen / float(width), 0.0f, TwoPi);
    pitch = std::clamp(pitch + float(dy) * TurnPerScreen / float(height), -PitchLimit, PitchLimit);
    dirty = true;
}

void OrbitCamera::Zoom(int dy, int wheel, int leftButton, int rightButton) {
    int step = wheel;
    // Dragging with both buttons zooms as 2.4 wheel units per pixel up
    // (0.02 x 120), in integers so that 10 pixels make 24, not 23.999.
    if (IsDown(leftButton) && IsDown(rightButton)) step = int(std::clamp(-dy, -1000000, 1000000) * 12 / 5);
    if (step == 0) return;
    distance = std::clamp(distance - float(step) * ZoomPerStep, NearestDistance, FarthestDistance);
    dirty = true;
}

void OrbitCamera::Apply() {
    if (focus) {
        dirty = focus->GetCameraTarget(&lookAt);
        if (focus->hp <= 0) focus = nullptr;
    }
    if (!dirty) return;
    dirty = false;
    Vector3 offset{std::cos(pitch) * std::cos(yaw), std::sin(pitch), std::cos(pitch) * std::sin(yaw)};
    MoveCameraTo(world.graphics, lookAt + distance * offset);
    TurnCameraTo(world.graphics, lookAt);
}
