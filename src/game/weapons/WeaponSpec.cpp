#include "game/weapons/WeaponSpec.h"

#include "platform/Log.h"

WeaponSpec::WeaponSpec(int interval, int barrels, int damage, int life, float speed, float rangeFactor)
    : reloadInterval(interval), reloadCountdown(interval), barrelCount(barrels), damage(damage), life(life),
      speed(speed), rangeFactor(rangeFactor) {
    if (barrelCount < 1) {
        Log("武器: 砲身の数 %d は使えません. 1 にします.\n", barrels);
        barrelCount = 1;
    }
}

bool WeaponSpec::Trigger() {
    if (reloadCountdown != 0) return false;
    reloadCountdown = reloadInterval;
    // A record filled by hand may still say 0 barrels.
    nextBarrel = barrelCount > 1 ? (nextBarrel + 1) % barrelCount : 0;
    return true;
}
