#include "game/weapons/Shot.h"

#include "game/weapons/WeaponSpec.h"
#include "game/world/Unit.h"
#include "game/world/World.h"

#include <cmath>

Shot::Shot(World& world, Unit* shooter, const WeaponSpec& mount, float extraSpeed)
    : world(world), serial(world.NewSerial()), damage(mount.damage), lifeLeft(mount.life), shooterCountry(shooter ? shooter->country : -1),
      shooterTeam(shooter ? shooter->team : -1), speed(mount.speed + extraSpeed), shooter(shooter) {}

void Shot::ForgetUnit(const Unit* gone) {
    if (shooter == gone) shooter = nullptr;
}

float Shot::FadeFactor(float fade, int lifeLeft) { return 1.0f - std::exp2(-fade * float(lifeLeft)); }
