#include "game/weapons/Plasma.h"

#include "game/world/NodePose.h"
#include "game/world/World.h"

namespace {
constexpr Vector3 WorldUp{0, 1, 0};
}

Plasma::Plasma(World& world, Unit* shooter, const WeaponSpec& mount, float extraSpeed, const Vector3& position,
               const Vector3& direction)
    : Shot(world, shooter, mount, extraSpeed), position(position), direction(Vec3Normalize(direction)) {
    // Factor 0 asks for no volume of its own: the voice keeps the one it had.
    world.PlaySound(BattleSound::PlasmaShot, position, 0.0f);
}

bool Plasma::Update() {
    float strength = FadeFactor(Fade, lifeLeft);
    if (Unit* hit = world.hitTable.RayCast(shooter, position, position, direction, speed)) {
        hit->Damage(int(float(damage) * strength), shooterCountry, shooterTeam);
        world.PlaySound(BattleSound::PlasmaHit, position, strength);
        world.explosions.SpawnExplosion(position, strength, false);
        return true;
    }
    SceneNode& node = world.plasmaNode;
    ResetNode(node, position);
    OrientNode(node, direction, WorldUp);
    node.intensity = strength;
    node.tag = MakeDrawTag(serial, 0);
    node.DrawFaded();
    return --lifeLeft < 1;
}
