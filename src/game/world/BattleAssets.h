#pragma once

#include "game/types/Countries.h"
#include "platform/SoundPool.h"
#include "render/MeshResource.h"

#include <array>

class Graphics;
class SoundSystem;

// The sounds of the battle's effects and weapons, by what plays them.
enum class BattleSound {
    Explosion,
    PlasmaShot,
    PlasmaHit,
    LaserShot,
    LaserHit,
    MissileLaunch,
    SmallMissileLaunch,
    BarrageShot,
    Count
};

// The models and sounds of the effects and the weapons: loaded once, shared
// by every world, never changed by a battle (playing a sound only picks one
// of its voices). Tests fill the meshes from their own resource table and
// leave the sounds unloaded, which keeps them silent.
class BattleAssets {
public:
    // The explosion's voices, then the weapons' firing and hit voices.
    explicit BattleAssets(SoundSystem& sound);
    BattleAssets(const BattleAssets&) = delete;
    BattleAssets& operator=(const BattleAssets&) = delete;

    // Every model, without sounds (headless battles and tests): effects,
    // weapons, fighters, the sight and the arrows. A model that fails is
    // logged by its load and stays empty: whatever uses it is not drawn.
    void LoadMeshes(Graphics& graphics);

    // The start-up loads these one by one, between the others, so that the
    // log reads in the order of the game's resource set-up. A sound that
    // fails stays silent.
    // "SIGHT", "ARROW1" and "ARROW2".
    void LoadViewMeshes(Graphics& graphics);
    // "EXPLOTION", "TRAIL_01".."TRAIL_12" and "VAPOR", then the explosion sound.
    void LoadEffects(Graphics& graphics, bool withSounds);
    // Each weapon class in turn: its model, then its firing and hit sounds.
    void LoadWeapons(Graphics& graphics, bool withSounds);
    // "FIGHTER_01".."FIGHTER_12" (tests that bring their own fighter models
    // call it again).
    void LoadFighterMeshes(Graphics& graphics);

    SoundPool& Sound(BattleSound sound);

    MeshResource explosion;
    MeshResource vapour;
    // Trail colours, one per country index.
    std::array<MeshResource, CountryCount> trails;
    MeshResource plasma;
    MeshResource laser;
    MeshResource missile;
    MeshResource smallMissile;
    MeshResource barrage;
    // Fighter models, one per country index; the flown fighter's gun sight
    // and its arrows to the nearest enemy fighter and station.
    std::array<MeshResource, CountryCount> fighters;
    MeshResource sight;
    MeshResource enemyFighterArrow;
    MeshResource enemyStationArrow;

private:
    void LoadSound(BattleSound sound);

    std::array<SoundPool, size_t(BattleSound::Count)> sounds;
};
