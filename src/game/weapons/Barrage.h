#pragma once

#include "game/weapons/Shot.h"
#include "render/Math.h"

// A flak shell: it flies straight, and bursts where its target is expected to
// be, hurting everything within its blast. Only its fuse depends on the target.
class Barrage : public Shot {
public:
    // The share of the flight time by which the fuse leads the target.
    static constexpr float Lead = 1.2f;

    // The fuse comes from the target's aim point; a shell never bursts within
    // its own blast reach of the muzzle. Without a target (turrets always
    // give one) the fuse is the mount's life. Plays the firing sound.
    Barrage(World& world, Unit* shooter, const WeaponSpec& mount, const Unit* target, float extraSpeed,
            const Vector3& position, const Vector3& direction);

    bool Update() override;

    Vector3 position;
    Vector3 direction;
};
