#include "game/weapons/Missile.h"

#include "game/world/NodePose.h"
#include "game/world/World.h"

namespace {
constexpr Vector3 WorldUp{0, 1, 0};
// The share of the gap to full speed a missile makes up each frame.
constexpr float Acceleration = 0.05f;
// The trail leaves from this far behind the missile's centre.
constexpr float TrailOffset = -0.25f;
} // namespace

const MissileType Missile::Type{&BattleAssets::missile, BattleSound::MissileLaunch, 2.0f, 0.05f, 6, 0.04f};
const MissileType SmallMissile::Type{&BattleAssets::smallMissile, BattleSound::SmallMissileLaunch, 1.5f, 0.03f, 4,
                                     0.03f};

Missile::Missile(World& world, Unit* shooter, const WeaponSpec& mount, Unit* target, float initialSpeed,
                 const Vector3& position, const Vector3& direction)
    : Missile(Missile::Type, world, shooter, mount, target, initialSpeed, position, direction) {}

Missile::Missile(const MissileType& type, World& world, Unit* shooter, const WeaponSpec& mount, Unit* target,
                 float initialSpeed, const Vector3& position, const Vector3& direction)
    : Shot(world, shooter, mount, 0.0f), type(type), currentSpeed(initialSpeed), target(target) {
    node.Init(&(world.assets.*type.mesh), position.x, position.y, position.z, 1);
    node.tag = MakeDrawTag(serial, 0);
    OrientNode(node, direction, WorldUp);
    world.trails.CreateTrail(&node, 0, 0, TrailOffset, type.trailPoints, type.trailWidth, shooterCountry);
    world.PlaySound(type.launchSound, position, 0.0f);
}

Missile::~Missile() {
    // Its trail must not follow the node that goes with it.
    world.trails.DetachFrom(&node);
}

void Missile::ForgetUnit(const Unit* gone) {
    if (target == gone) target = nullptr;
    Shot::ForgetUnit(gone);
}

bool Missile::Update() {
    currentSpeed = Acceleration * speed + (1.0f - Acceleration) * currentSpeed;
    Vector3 end;
    if (Unit* hit = world.hitTable.RayCast(shooter, end, node.GetPosition(), node.GetForward(), currentSpeed)) {
        hit->Damage(damage, shooterCountry, shooterTeam);
        world.explosions.SpawnExplosion(end, type.explosionSize, true);
        world.trails.DetachFrom(&node);
        return true;
    }
    node.SetPosition(end);
    if (target && target->hp <= 0) target = nullptr;
    if (target) {
        // Fixed steps about both axes, toward the side the target is on.
        Vector3 toTarget = Vec3Normalize(target->GetWorldPosition() - end);
        node.RotateX(Vec3Dot(toTarget, node.GetUp()) > 0 ? -type.turnStep : type.turnStep);
        node.RotateY(Vec3Dot(toTarget, node.GetRight()) > 0 ? type.turnStep : -type.turnStep);
    }
    node.Draw();
    if (--lifeLeft > 0) return false;
    world.trails.DetachFrom(&node);
    return true;
}

SmallMissile::SmallMissile(World& world, Unit* shooter, const WeaponSpec& mount, Unit* target, float initialSpeed,
                           const Vector3& position, const Vector3& direction)
    : Missile(SmallMissile::Type, world, shooter, mount, target, initialSpeed, position, direction) {}
