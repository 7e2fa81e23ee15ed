#pragma once

#include <cstdint>

class Unit;
class World;
struct WeaponSpec;

// Everything a fighter or a turret fires: it moves or re-aims once per frame,
// tests itself against the world's hit table, hurts what it hits and draws
// itself, until its Update reports it finished. Owned by the world's shot
// list, which deletes it through this base.
class Shot {
public:
    // Copies damage, life and speed (plus extraSpeed, the shooter's own
    // speed for fighters) from the mount, and the shooter's country and team.
    Shot(World& world, Unit* shooter, const WeaponSpec& mount, float extraSpeed);
    virtual ~Shot() = default;
    Shot(const Shot&) = delete;
    Shot& operator=(const Shot&) = delete;

    // One frame; true when the shot is finished and is to be deleted.
    virtual bool Update() { return false; }
    // A unit is being deleted: drop every pointer to it. Only compare `gone`.
    virtual void ForgetUnit(const Unit* gone);

    // The share of a fading shot's strength left with lifeLeft frames to go:
    // 1 - 2^(-fade x lifeLeft).
    static float FadeFactor(float fade, int lifeLeft);

    World& world;
    // What its draws are tagged with (World::NewSerial).
    const uint64_t serial;
    int damage;
    int lifeLeft;
    int shooterCountry;
    int shooterTeam;
    float speed;
    // Not owned: excluded from the shot's own hit tests; a beam follows its
    // gun through it. Null once the shooter has been deleted.
    Unit* shooter;
};
