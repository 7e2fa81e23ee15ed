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
    // Turns round the look-at point by the mouse's motion since the last
    // frame (dx, dy pixels on a width x height screen), only while the left
    // button is up and the right one is pressed or held. Yaw wraps into
    // (-2 pi, 2 pi), pitch stops at +-0.45 pi.
    void Rotate(int dx, int dy, int width, int height, int leftButton, int rightButton);
    // Moves in or out by the wheel, or by the vertical motion while both
    // buttons are down; the distance stops at 1 and 400.
    void Zoom(int dy, int wheel, int leftButton, int rightButton);
    // Follows the focus (dropped once it is destroyed) and, when the view
    // changed, places the camera.
    void Apply();

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

// Wraps an angle towards [lo, hi): v - trunc((v - lo) / (hi - lo)) x (hi - lo).
// Truncation keeps the sign of the offset, so a value just below lo stays.
float WrapAngle(float value, float lo, float hi);
