#pragma once

#include "game/weapons/Shot.h"
#include "render/Math.h"

class SceneNode;

// A beam cast in full every frame from its gun's current pose, so it sweeps
// with the gun. It hurts whatever is first in the beam every frame, more
// near the muzzle, and ends with its life or with its gun.
class Laser : public Shot {
public:
    static constexpr float Fade = 0.3f;

    // gunNode belongs to the shooter (a fighter's body, a turret's barrel);
    // the muzzle offset is along the gun's own x, y and z axes. Plays the
    // firing sound at the gun.
    Laser(World& world, Unit* shooter, const WeaponSpec& mount, const SceneNode* gunNode, const Vector3& muzzleOffset);

    bool Update() override;
    void ForgetUnit(const Unit* gone) override;

    Vector3 muzzleOffset;
    // Not owned; null once the shooter has been deleted.
    const SceneNode* gunNode;
    // The unit the beam touched last frame, so its hit sound marks only the
    // start of a contact. Not owned.
    const Unit* lastHit = nullptr;
};
