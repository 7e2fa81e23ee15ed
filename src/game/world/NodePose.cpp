#include "game/world/NodePose.h"

#include "render/SceneNode.h"

#include <cmath>

void ResetNode(SceneNode& node, const Vector3& position) {
    node.local = MatrixIdentity();
    node.scale = 1.0f;
    node.SetPosition(position);
}

void OrientNode(SceneNode& node, const Vector3& forward, const Vector3& up) {
    Vector3 f = Vec3Normalize(forward);
    Vector3 u = up;
    if (Vec3LengthSq(Vec3Cross(Vec3Normalize(up), f)) < 1e-10f) {
        // The world axis least along forward.
        float ax = std::fabs(f.x), ay = std::fabs(f.y), az = std::fabs(f.z);
        u = ax <= ay && ax <= az ? Vector3{1, 0, 0} : ay <= az ? Vector3{0, 1, 0} : Vector3{0, 0, 1};
    }
    node.SetOrientation(forward, u);
}
