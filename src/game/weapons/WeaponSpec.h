#pragma once

#include <cstdint>

// The firing parameters of one weapon mount, held by value in the unit that
// fires (a panel uses one as its repair timer). The owner counts
// reloadCountdown down once per frame; Trigger fires when it has reached 0.
struct WeaponSpec {
    WeaponSpec() = default;
    // barrels below 1 are bad data: logged and taken as 1.
    WeaponSpec(int interval, int barrels, int damage, int life, float speed, float rangeFactor);

    // Whether the mount fires now: when reloaded it starts the next reload,
    // moves on to the next muzzle and answers true.
    bool Trigger();
    // One frame of reloading.
    void CountDown() {
        if (reloadCountdown > 0) --reloadCountdown;
    }
    // How far the mount shoots: speed x life x rangeFactor.
    float Range() const { return speed * float(life) * rangeFactor; }

    int32_t reloadInterval = 1;
    // Frames still to wait, 0 when ready; starts full, so the first shot
    // comes one interval after the mount is built.
    int32_t reloadCountdown = 1;
    int32_t barrelCount = 1;
    // The muzzle that fired last, 0..barrelCount-1 (Trigger advances it first).
    int32_t nextBarrel = 0;
    // Hit points per hit (per frame for a beam); also sizes blasts and fuses.
    int32_t damage = 0;
    // Frames a shot lives.
    int32_t life = 0;
    // Distance per frame (a beam: its length).
    float speed = 0.0f;
    // Share of the flight distance that counts as firing range.
    float rangeFactor = 0.0f;
};
