#pragma once

#include "render/Math.h"

class SceneNode;

// Placing the scene nodes that effects and shots share and re-place for every
// draw, so that one draw's scale or orientation never leaks into the next.

// Unrotated, scale 1, at position.
void ResetNode(SceneNode& node, const Vector3& position);
// Forward along forward, up as near up as it can be. A forward along up (a
// shot fired straight up) takes the nearest other world axis as up, so the
// node never collapses to nothing. Keeps the node's scale.
void OrientNode(SceneNode& node, const Vector3& forward, const Vector3& up);
