#pragma once

#include "game/world/BattleAssets.h"
#include "game/weapons/Shot.h"
#include "render/SceneNode.h"

class MeshResource;

// What makes a missile a missile or a small missile: only numbers differ.
struct MissileType {
    MeshResource BattleAssets::*mesh;
    BattleSound launchSound;
    float explosionSize;
    // Radians per frame about each of the two steering axes.
    float turnStep;
    int trailPoints;
    float trailWidth;
};

// A homing missile: it speeds up geometrically toward its mount's speed and
// steers toward its target by fixed steps about both axes every frame. A
// target that is destroyed is forgotten for good, and the missile flies
// straight on until its fuel runs out.
class Missile : public Shot {
public:
    static const MissileType Type;

    // Starts at position flying along direction (up as near world y as it can
    // be) at initialSpeed, with a trail of the shooter's country's colour.
    // target may be null. Plays the launch sound.
    Missile(World& world, Unit* shooter, const WeaponSpec& mount, Unit* target, float initialSpeed,
            const Vector3& position, const Vector3& direction);
    ~Missile() override;

    bool Update() override;
    void ForgetUnit(const Unit* gone) override;

    const MissileType& type;
    float currentSpeed;
    // The missile's own position and orientation, which its trail follows.
    SceneNode node;
    // Not owned; null when there is none or it was destroyed.
    Unit* target;

protected:
    Missile(const MissileType& type, World& world, Unit* shooter, const WeaponSpec& mount, Unit* target,
            float initialSpeed, const Vector3& position, const Vector3& direction);
};

// The smaller, slower-turning missile of some fighters and of turret C.
class SmallMissile : public Missile {
public:
    static const MissileType Type;

    SmallMissile(World& world, Unit* shooter, const WeaponSpec& mount, Unit* target, float initialSpeed,
                 const Vector3& position, const Vector3& direction);
};
