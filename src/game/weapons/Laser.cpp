#include "game/weapons/Laser.h"

#include "game/world/NodePose.h"
#include "game/world/World.h"

#include <cmath>

namespace {
// Beam width per unit of strength.
constexpr float BeamWidth = 0.1f;
} // namespace

Laser::Laser(World& world, Unit* shooter, const WeaponSpec& mount, const SceneNode* gunNode, const Vector3& muzzleOffset)
    : Shot(world, shooter, mount, 0.0f), muzzleOffset(muzzleOffset), gunNode(gunNode) {
    world.PlaySound(BattleSound::LaserShot, gunNode ? gunNode->GetPosition() : Vector3{}, 1.0f);
}

void Laser::ForgetUnit(const Unit* gone) {
    // The gun is part of the shooter and goes with it.
    if (shooter == gone) gunNode = nullptr;
    if (lastHit == gone) lastHit = nullptr;
    Shot::ForgetUnit(gone);
}

bool Laser::Update() {
    // Without its gun there is nothing to cast from.
    if (!shooter || !gunNode) return true;
    float strength = FadeFactor(Fade, lifeLeft);
    const SceneNode& gun = *gunNode;
    Vector3 direction = gun.GetForward();
    Vector3 origin = gun.GetPosition() + gun.GetRight() * muzzleOffset.x + gun.GetUp() * muzzleOffset.y +
                     direction * muzzleOffset.z;
    Vector3 end;
    float length = speed;
    if (Unit* hit = world.hitTable.RayCast(shooter, end, origin, direction, speed)) {
        length = Vec3Length(end - origin);
        // Full strength at the muzzle falls to nothing at the beam's end.
        float reach = 1.0f - std::exp2(3.0f * (length / speed - 1.0f));
        hit->Damage(int(float(damage) * reach * strength), shooterCountry, shooterTeam);
        if (hit != lastHit) {
            lastHit = hit;
            world.PlaySound(BattleSound::LaserHit, origin, strength);
        }
    } else {
        lastHit = nullptr;
    }
    // The flat beam turns its face to the viewer.
    SceneNode& beam = world.laserNode;
    ResetNode(beam, origin);
    OrientNode(beam, direction, world.CameraEye() - origin);
    beam.ScaleAxes(BeamWidth * strength, 1.0f, length);
    beam.intensity = strength;
    beam.tag = MakeDrawTag(serial, 0);
    beam.DrawFaded();
    return --lifeLeft < 1 || !shooter || shooter->hp <= 0;
}
