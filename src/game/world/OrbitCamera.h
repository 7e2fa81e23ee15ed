#pragma once

#include "render/Math.h"

class Unit;
class World;

// The battle's orbit camera: a point it looks at, and yaw, pitch and distance
// around it; or a focused unit that it follows. The battle scene turns,
// zooms and applies it; the world keeps it so that it can reset it and
// forget a focused unit that is deleted.
class OrbitCamera {
public:
    explicit OrbitCamera(World& world) : world(world) {}

    // Back to the start view over the middle of the stations, without focus.
    void Reset();
    // Follows the unit (null: nobody) from five times its mesh radius, at least 5.
    void SetFocus(Unit* unit);
    Unit* GetFocus() const { return focus; }

    float yaw = 0.0f;
    float pitch = 0.0f;
    float distance = 0.0f;
    // The view must be recomputed.
    bool dirty = true;
    Vector3 lookAt;
    // Not owned; cleared when the unit is deleted or found destroyed.
    Unit* focus = nullptr;

private:
    World& world;
};
