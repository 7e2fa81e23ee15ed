#include "game/weapons/Barrage.h"

#include "game/weapons/WeaponSpec.h"
#include "game/world/NodePose.h"
#include "game/world/World.h"

namespace {
constexpr Vector3 WorldUp{0, 1, 0};
// A fuse longer than this many frames is no fuse at all.
constexpr float LongestFuse = 1e6f;

// Frames of flight at speed to cover distance, truncated.
int FramesFor(float distance, float speed) {
    float frames = distance / speed;
    return frames < LongestFuse ? int(frames) : int(LongestFuse);
}
} // namespace

Barrage::Barrage(World& world, Unit* shooter, const WeaponSpec& mount, const Unit* target, float extraSpeed,
                 const Vector3& position, const Vector3& direction)
    : Shot(world, shooter, mount, extraSpeed), position(position), direction(Vec3Normalize(direction)) {
    if (target && speed > 0.0f) {
        Vector3 aim = target->GetAimPoint(position, Lead / speed);
        int fuse = FramesFor(Vec3Length(aim - position), speed);
        // A shell never bursts within its own blast reach of the muzzle.
        float safeDistance = float(damage) * 0.1f;
        if (float(fuse) * speed <= safeDistance) fuse = FramesFor(safeDistance, speed);
        lifeLeft = fuse;
    }
    world.PlaySound(BattleSound::BarrageShot, position, 1.0f);
}

bool Barrage::Update() {
    float burstSize = float(damage) * 0.1f;
    if (Unit* hit = world.hitTable.RayCast(shooter, position, position, direction, speed)) {
        hit->Damage(damage, shooterCountry, shooterTeam);
        world.explosions.SpawnExplosion(position, burstSize, true);
        return true;
    }
    SceneNode& node = world.barrageNode;
    ResetNode(node, position);
    OrientNode(node, direction, WorldUp);
    node.tag = MakeDrawTag(serial, 0);
    node.Draw();
    if (--lifeLeft > 0) return false;
    world.BlastDamageAll(damage, position, shooterCountry, shooterTeam);
    world.explosions.SpawnExplosion(position, burstSize, true);
    return true;
}
