#include "game/world/BattleAssets.h"

#include <cstdio>

namespace {

// Voices and files, in the order of BattleSound.
struct SoundFile {
    int voices;
    const char* file;
};
constexpr SoundFile SoundFiles[size_t(BattleSound::Count)] = {
    {16, "Data\\Explotion.wav"}, {32, "Data\\PlasmaShot.wav"}, {32, "Data\\PlasmaHit.wav"},
    {16, "Data\\LaserShot.wav"}, {16, "Data\\LaserHit.wav"},   {4, "Data\\Missile.wav"},
    {8, "Data\\MissileS.wav"},   {16, "Data\\BarrageShot.wav"},
};

// Models carry their own colours; no colour key, one mip level.
constexpr uint32_t NoColorKey = 0;
constexpr int MipLevels = 1;

} // namespace

BattleAssets::BattleAssets(SoundSystem& sound)
    : sounds{{SoundPool(sound, SoundFiles[0].voices), SoundPool(sound, SoundFiles[1].voices),
              SoundPool(sound, SoundFiles[2].voices), SoundPool(sound, SoundFiles[3].voices),
              SoundPool(sound, SoundFiles[4].voices), SoundPool(sound, SoundFiles[5].voices),
              SoundPool(sound, SoundFiles[6].voices), SoundPool(sound, SoundFiles[7].voices)}} {}

void BattleAssets::LoadMeshes(Graphics& graphics) {
    LoadEffects(graphics, false);
    LoadWeapons(graphics, false);
    LoadFighterMeshes(graphics);
    LoadViewMeshes(graphics);
}

void BattleAssets::LoadViewMeshes(Graphics& graphics) {
    sight.Load(graphics, "SIGHT", NoColorKey, MipLevels);
    enemyFighterArrow.Load(graphics, "ARROW1", NoColorKey, MipLevels);
    enemyStationArrow.Load(graphics, "ARROW2", NoColorKey, MipLevels);
}

void BattleAssets::LoadEffects(Graphics& graphics, bool withSounds) {
    explosion.Load(graphics, "EXPLOTION", NoColorKey, MipLevels);
    for (size_t i = 0; i < trails.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "TRAIL_%02d", int(i) + 1);
        trails[i].Load(graphics, name, NoColorKey, MipLevels);
    }
    vapour.Load(graphics, "VAPOR", NoColorKey, MipLevels);
    if (withSounds) LoadSound(BattleSound::Explosion);
}

void BattleAssets::LoadWeapons(Graphics& graphics, bool withSounds) {
    struct WeaponClass {
        MeshResource& mesh;
        const char* name;
        BattleSound shot;
        // Count when the explosion is its hit sound.
        BattleSound hit;
    };
    const WeaponClass classes[] = {
        {plasma, "PLASMA", BattleSound::PlasmaShot, BattleSound::PlasmaHit},
        {laser, "LASER", BattleSound::LaserShot, BattleSound::LaserHit},
        {missile, "MISSILE", BattleSound::MissileLaunch, BattleSound::Count},
        {smallMissile, "MISSILE_S", BattleSound::SmallMissileLaunch, BattleSound::Count},
        {barrage, "BARRAGE", BattleSound::BarrageShot, BattleSound::Count},
    };
    for (const WeaponClass& weapon : classes) {
        weapon.mesh.Load(graphics, weapon.name, NoColorKey, MipLevels);
        if (!withSounds) continue;
        LoadSound(weapon.shot);
        if (weapon.hit != BattleSound::Count) LoadSound(weapon.hit);
    }
}

void BattleAssets::LoadFighterMeshes(Graphics& graphics) {
    for (size_t i = 0; i < fighters.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "FIGHTER_%02d", int(i) + 1);
        fighters[i].Load(graphics, name, NoColorKey, MipLevels);
    }
}

void BattleAssets::LoadSound(BattleSound sound) { sounds[size_t(sound)].Load(SoundFiles[size_t(sound)].file); }

SoundPool& BattleAssets::Sound(BattleSound sound) { return sounds[size_t(sound)]; }
