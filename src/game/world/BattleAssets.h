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

    // Loads "EXPLOTION", "VAPOR", "TRAIL_01".."TRAIL_12" and the five weapon
    // models from the graphics' resources. A model that fails is logged by
    // its load and stays empty: whatever uses it is not drawn.
    void LoadMeshes(Graphics& graphics);
    // Loads "FIGHTER_01".."FIGHTER_12", "SIGHT", "ARROW1" and "ARROW2" (part
    // of LoadMeshes; tests that bring their own fighter models call it again).
    void LoadFighterMeshes(Graphics& graphics);
    // Loads the "Data\..." sound files; one that fails stays silent.
    void LoadSounds();

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
    std::array<SoundPool, size_t(BattleSound::Count)> sounds;
};
