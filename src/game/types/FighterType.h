#pragma once

#include "game/types/Countries.h"
#include "render/Math.h"

#include <array>

// The twelve fighter types are rows of one table: numbers, weapon mounts and
// the positions of muzzles, launchers, engines and thrusters on each model.
// The behaviour that reads them is written once, in Fighter.

// The numbers a WeaponSpec is built from.
struct MountNumbers {
    int interval;
    int barrels;
    int damage;
    int life;
    float speed;
    float rangeFactor;
};

enum class GunClass { Plasma, Laser };
enum class LauncherClass { Missile, SmallMissile };
// How the missile launchers of a type fire: one fixed launcher; two launchers
// in turn (the mount's barrel picks the side, right first); or a pair from
// both sides on every trigger (right, then left).
enum class LauncherMode { Single, Alternating, Pair };

// Which of the body's world axes a vapour puff blows along.
enum class Blow { Forward, Backward, Up, Down };

// A point on a model: (aside, above, ahead) along the body's right, up and
// forward axes, in world units at scale 1.
using ModelPoint = Vector3;

struct TrailMount {
    ModelPoint at;
    float width;
};

struct Puff {
    ModelPoint at;
    Blow blow;
};

// The visual hooks, in the order of FighterType::puffs.
enum class FighterHook {
    ThrottleUp,
    ThrottleDown,
    RudderIncreased,
    RudderDecreased,
    ElevatorDecreased,
    ElevatorIncreased,
    AileronDecreased,
    AileronIncreased,
    Count
};

struct FighterType {
    static constexpr int MaxTrails = 4;
    static constexpr int MaxPuffs = 4;

    // The model's resource name, "FIGHTER_01".."FIGHTER_12".
    const char* meshName;
    int countryIndex;
    int hp;
    // Entries of the fighter's trail array (3 or 4); a hook may fill fewer.
    int trailCount;
    // Distance per frame at a speed factor of 1.
    float baseSpeed;
    // Radians per frame at a full smoothed input.
    float pitchRate, yawRate, rollRate;
    // How far above its launch point the fighter starts, less 0.1.
    float clearance;

    GunClass gun;
    MountNumbers main;
    // The right muzzle; the left one is its mirror. A laser's offset stays
    // in the body's frame, a plasma bolt's is turned into world axes.
    ModelPoint muzzle;

    LauncherClass launcher;
    MountNumbers sub;
    LauncherMode launcherMode;
    // The (right) launcher; Alternating and Pair mirror it for the left one.
    ModelPoint launcherAt;
    // Missiles leave along forward + launchTilt x up (0: straight ahead).
    float launchTilt;

    // Engine trails made when the throttle opens through 1, retro trails when
    // it closes to -1; in the order they are stored.
    std::array<TrailMount, MaxTrails> engines;
    int engineCount;
    std::array<TrailMount, MaxTrails> retros;
    int retroCount;

    // The puffs of each visual hook (see FighterHook), in spawn order.
    std::array<std::array<Puff, MaxPuffs>, size_t(FighterHook::Count)> puffs;
    std::array<int, size_t(FighterHook::Count)> puffCounts;
};

// One type per country; index = country index.
const std::array<FighterType, CountryCount>& FighterTypes();
