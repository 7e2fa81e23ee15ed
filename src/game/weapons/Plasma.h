#pragma once

#include "game/weapons/Shot.h"
#include "render/Math.h"

// A bolt that flies straight and weakens toward the end of its life: its
// damage, glow and hit sound all scale with the fade factor.
class Plasma : public Shot {
public:
    // How fast a bolt fades (see Shot::FadeFactor).
    static constexpr float Fade = 0.1f;

    // Plays the firing sound at position.
    Plasma(World& world, Unit* shooter, const WeaponSpec& mount, float extraSpeed, const Vector3& position,
           const Vector3& direction);

    bool Update() override;

    Vector3 position;
    // Unit length.
    Vector3 direction;
};
