#include "game/types/FighterType.h"

#include <initializer_list>


namespace {

// Where the attitude thrusters of a model sit, on its right side (the left
// ones mirror them). A turn puffs where a thruster would have to fire to
// cause it: yaw at an engine blowing back and at a retro thruster blowing
// forward on the other side; pitch above or below the nose and the tail;
// roll above one wing and below the other.
struct Thrusters {
    ModelPoint engine;
    ModelPoint retro;
    // A second yaw pair (models with two engine rows), or none.
    bool secondYawPair;
    ModelPoint engine2;
    ModelPoint retro2;
    // The top of the nose and of the tail; their undersides lie `drop` lower.
    ModelPoint nose;
    ModelPoint tail;
    float drop;
    // Non-zero: pitch puffs come in pairs this far to either side.
    float pitchSpread;
    ModelPoint wingTop;
    ModelPoint wingBottom;
};

// One type's numbers before its puffs are laid out.
struct Row {
    const char* meshName;
    int hp;
    int trailCount;
    float baseSpeed, pitchRate, yawRate, rollRate, clearance;
    GunClass gun;
    MountNumbers main;
    ModelPoint muzzle;
    LauncherClass launcher;
    MountNumbers sub;
    LauncherMode launcherMode;
    ModelPoint launcherAt;
    float launchTilt;
    // Unused entries have width 0.
    std::array<TrailMount, FighterType::MaxTrails> engines;
    std::array<TrailMount, FighterType::MaxTrails> retros;
    // One type's throttle-down puffs blow backwards like its engines.
    bool retroPuffsBackward;
    Thrusters thrusters;
};

constexpr MountNumbers PlasmaGun{1, 2, 10, 25, 1.0f, 1.0f};
constexpr MountNumbers HeavyMissile{60, 1, 50, 200, 0.5f, 0.7f};
constexpr MountNumbers SlowMissile{90, 1, 50, 200, 0.5f, 0.7f};
constexpr MountNumbers QuickSmallMissile{15, 1, 30, 120, 0.7f, 0.7f};
constexpr MountNumbers PairedSmallMissile{45, 1, 30, 160, 0.7f, 0.7f};

// A trail list of up to four mounts, the rest left unused.
std::array<TrailMount, FighterType::MaxTrails> Trails(std::initializer_list<TrailMount> mounts) {
    std::array<TrailMount, FighterType::MaxTrails> out{};
    size_t i = 0;
    for (const TrailMount& mount : mounts)
        if (i < out.size()) out[i++] = mount;
    return out;
}

ModelPoint Mirror(const ModelPoint& p) { return {-p.x, p.y, p.z}; }
ModelPoint Lower(const ModelPoint& p, float drop) { return {p.x, p.y - drop, p.z}; }

FighterType Build(const Row& row, int countryIndex) {
    FighterType type{};
    type.meshName = row.meshName;
    type.countryIndex = countryIndex;
    type.hp = row.hp;
    type.trailCount = row.trailCount;
    type.baseSpeed = row.baseSpeed;
    type.pitchRate = row.pitchRate;
    type.yawRate = row.yawRate;
    type.rollRate = row.rollRate;
    type.clearance = row.clearance;
    type.gun = row.gun;
    type.main = row.main;
    type.muzzle = row.muzzle;
    type.launcher = row.launcher;
    type.sub = row.sub;
    type.launcherMode = row.launcherMode;
    type.launcherAt = row.launcherAt;
    type.launchTilt = row.launchTilt;
    for (const TrailMount& mount : row.engines)
        if (mount.width > 0) type.engines[size_t(type.engineCount++)] = mount;
    for (const TrailMount& mount : row.retros)
        if (mount.width > 0) type.retros[size_t(type.retroCount++)] = mount;

    auto add = [&type](FighterHook hook, const ModelPoint& at, Blow blow) {
        int& count = type.puffCounts[size_t(hook)];
        type.puffs[size_t(hook)][size_t(count++)] = {at, blow};
    };
    for (int i = 0; i < type.engineCount; ++i) add(FighterHook::ThrottleUp, type.engines[size_t(i)].at, Blow::Backward);
    for (int i = 0; i < type.retroCount; ++i)
        add(FighterHook::ThrottleDown, type.retros[size_t(i)].at,
            row.retroPuffsBackward ? Blow::Backward : Blow::Forward);

    const Thrusters& t = row.thrusters;
    // Nose right: the left engine pushes, the right retro brakes; nose left mirrors it.
    add(FighterHook::RudderIncreased, Mirror(t.engine), Blow::Backward);
    add(FighterHook::RudderIncreased, t.retro, Blow::Forward);
    add(FighterHook::RudderDecreased, t.engine, Blow::Backward);
    add(FighterHook::RudderDecreased, Mirror(t.retro), Blow::Forward);
    if (t.secondYawPair) {
        add(FighterHook::RudderIncreased, Mirror(t.engine2), Blow::Backward);
        add(FighterHook::RudderIncreased, t.retro2, Blow::Forward);
        add(FighterHook::RudderDecreased, t.engine2, Blow::Backward);
        add(FighterHook::RudderDecreased, Mirror(t.retro2), Blow::Forward);
    }
    // Nose up: under the nose blowing down, over the tail blowing up; nose down the reverse.
    auto pitch = [&](FighterHook hook, const ModelPoint& at, Blow blow) {
        if (t.pitchSpread == 0.0f) {
            add(hook, at, blow);
            return;
        }
        add(hook, {at.x + t.pitchSpread, at.y, at.z}, blow);
        add(hook, {at.x - t.pitchSpread, at.y, at.z}, blow);
    };
    pitch(FighterHook::ElevatorDecreased, Lower(t.nose, t.drop), Blow::Down);
    pitch(FighterHook::ElevatorDecreased, t.tail, Blow::Up);
    pitch(FighterHook::ElevatorIncreased, t.nose, Blow::Up);
    pitch(FighterHook::ElevatorIncreased, Lower(t.tail, t.drop), Blow::Down);
    // Roll right: over the right wing blowing up, under the left blowing down.
    add(FighterHook::AileronDecreased, t.wingTop, Blow::Up);
    add(FighterHook::AileronDecreased, Mirror(t.wingBottom), Blow::Down);
    add(FighterHook::AileronIncreased, t.wingBottom, Blow::Down);
    add(FighterHook::AileronIncreased, Mirror(t.wingTop), Blow::Up);
    return type;
}

const Row Rows[12] = {
    {"FIGHTER_01", 300, 3, 0.1f, 0.07f, 0.05f, 0.1f, 0.2f, GunClass::Laser, {7, 2, 18, 10, 30.0f, 0.1f},
     {0.15f, -0.15f, 0.5f}, LauncherClass::Missile, SlowMissile, LauncherMode::Single, {0, -0.15f, 0.5f}, 0,
     Trails({{{0, -0.05f, -0.75f}, 0.1f}, {{0.325f, -0.05f, -0.45f}, 0.08f}, {{-0.325f, -0.05f, -0.45f}, 0.08f}}),
     Trails({{{0, 0.175f, 0}, 0.08f}, {{0.375f, -0.05f, 0}, 0.08f}, {{-0.375f, -0.05f, 0}, 0.08f}}), false,
     {{0.325f, -0.05f, -0.45f}, {0.375f, -0.05f, 0}, false, {}, {}, {0, 0, 0.7f}, {0, 0, -0.7f}, 0.1f, 0,
      {0.3f, 0.1f, 0}, {0.3f, -0.2f, 0}}},
    {"FIGHTER_02", 250, 4, 0.135f, 0.06f, 0.06f, 0.12f, 0.1f, GunClass::Plasma, PlasmaGun, {0.275f, -0.025f, 0.3f},
     LauncherClass::Missile, HeavyMissile, LauncherMode::Single, {0, -0.125f, 0}, 0,
     Trails({{{0, -0.025f, -0.6f}, 0.08f}, {{0, 0.075f, -0.333f}, 0.08f}, {{0.725f, -0.025f, -0.3f}, 0.07f},
      {{-0.725f, -0.025f, -0.3f}, 0.07f}}),
     Trails({{{0.4f, -0.025f, 0.15f}, 0.08f}, {{-0.4f, -0.025f, 0.15f}, 0.08f}, {{0.725f, -0.025f, -0.1f}, 0.07f},
      {{-0.725f, -0.025f, -0.1f}, 0.07f}}),
     false,
     {{0.725f, -0.025f, -0.3f}, {0.725f, -0.025f, -0.1f}, false, {}, {}, {0, 0.05f, 0.55f}, {0, 0.05f, -0.6f}, 0.1f,
      0, {0.6f, 0.05f, -0.2f}, {0.6f, -0.1f, -0.2f}}},
    {"FIGHTER_03", 280, 4, 0.145f, 0.06f, 0.04f, 0.08f, 0.15f, GunClass::Plasma, PlasmaGun, {0.15f, -0.125f, 0.55f},
     LauncherClass::Missile, {60, 2, 50, 200, 0.5f, 0.7f}, LauncherMode::Alternating, {0.25f, -0.05f, 0.05f}, 0,
     Trails({{{0.24f, 0.14f, -0.2f}, 0.07f}, {{-0.24f, 0.14f, -0.2f}, 0.07f}, {{0.34f, -0.09f, -0.4f}, 0.07f},
      {{-0.34f, -0.09f, -0.4f}, 0.07f}}),
     Trails({{{0.24f, 0.14f, 0.3f}, 0.07f}, {{-0.24f, 0.14f, 0.3f}, 0.07f}, {{0.34f, -0.09f, 0.1f}, 0.07f},
      {{-0.34f, -0.09f, 0.1f}, 0.07f}}),
     false,
     {{0.24f, 0.14f, -0.2f}, {0.24f, 0.14f, 0.3f}, true, {0.34f, -0.09f, -0.4f}, {0.34f, -0.09f, 0.1f},
      {0, 0.05f, 0.6f}, {0, 0.1f, -0.4f}, 0.15f, 0.15f, {0.4f, 0.05f, -0.1f}, {0.4f, -0.15f, -0.1f}}},
    {"FIGHTER_04", 280, 3, 0.112f, 0.06f, 0.06f, 0.1f, 0.2f, GunClass::Plasma, PlasmaGun, {0.05f, -0.15f, 0.4f},
     LauncherClass::SmallMissile, QuickSmallMissile, LauncherMode::Single, {0, -0.15f, 0.4f}, 0,
     Trails({{{0, 0.1f, -0.6f}, 0.09f}, {{0.25f, -0.05f, -0.6f}, 0.09f}, {{-0.25f, -0.05f, -0.6f}, 0.09f}}),
     Trails({{{0.25f, -0.05f, 0}, 0.09f}, {{-0.25f, -0.05f, 0}, 0.09f}}), false,
     {{0.25f, -0.05f, -0.6f}, {0.25f, -0.05f, 0}, false, {}, {}, {0, 0, 0.5f}, {0, 0.1f, -0.6f}, 0.15f, 0,
      {0.35f, 0.05f, -0.2f}, {0.35f, -0.15f, -0.2f}}},
    {"FIGHTER_05", 290, 4, 0.14f, 0.07f, 0.06f, 0.1f, 0.15f, GunClass::Plasma, PlasmaGun, {0.175f, 0.1f, 0.225f},
     LauncherClass::SmallMissile, PairedSmallMissile, LauncherMode::Pair, {0.2f, -0.1f, 0}, 0,
     Trails({{{0.28f, 0.075f, -0.55f}, 0.08f}, {{-0.28f, 0.075f, -0.55f}, 0.08f}, {{0.32f, -0.075f, -0.45f}, 0.08f},
      {{-0.32f, -0.075f, -0.45f}, 0.08f}}),
     Trails({{{0.28f, 0.075f, 0.2f}, 0.08f}, {{-0.28f, 0.075f, 0.2f}, 0.08f}, {{0.32f, -0.075f, 0.2f}, 0.08f},
      {{-0.32f, -0.075f, 0.2f}, 0.08f}}),
     false,
     {{0.28f, 0.075f, -0.55f}, {0.28f, 0.075f, 0.2f}, true, {0.32f, -0.075f, -0.45f}, {0.32f, -0.075f, 0.2f},
      {0, 0.1f, 0.45f}, {0, 0.075f, -0.55f}, 0.15f, 0, {0.45f, 0.05f, -0.1f}, {0.45f, -0.15f, -0.1f}}},
    {"FIGHTER_06", 260, 3, 0.125f, 0.06f, 0.05f, 0.11f, 0.2f, GunClass::Plasma, PlasmaGun, {0.23f, -0.075f, 0.15f},
     LauncherClass::Missile, HeavyMissile, LauncherMode::Single, {0, -0.225f, 0}, 0,
     Trails({{{0, -0.1f, -0.55f}, 0.1f}, {{0.4f, -0.025f, -0.7f}, 0.08f}, {{-0.4f, -0.025f, -0.7f}, 0.08f}}),
     Trails({{{0.4f, -0.025f, -0.25f}, 0.08f}, {{-0.4f, -0.025f, -0.25f}, 0.08f}}), false,
     {{0.4f, -0.025f, -0.7f}, {0.4f, -0.025f, -0.25f}, false, {}, {}, {0, 0, 0.45f}, {0, 0, -0.6f}, 0.15f, 0,
      {0.5f, 0.05f, -0.4f}, {0.5f, -0.1f, -0.4f}}},
    {"FIGHTER_07", 300, 3, 0.118f, 0.06f, 0.05f, 0.11f, 0.15f, GunClass::Plasma, PlasmaGun, {0.075f, -0.1125f, 0.6f},
     LauncherClass::Missile, HeavyMissile, LauncherMode::Single, {0, -0.175f, 0.2f}, 0,
     Trails({{{0, 0, -0.4f}, 0.1f}, {{0.25f, -0.025f, -0.4f}, 0.08f}, {{-0.25f, -0.025f, -0.4f}, 0.08f}}),
     Trails({{{0.3f, -0.025f, 0.13f}, 0.08f}, {{-0.3f, -0.025f, 0.13f}, 0.08f}}), false,
     {{0.25f, -0.025f, -0.4f}, {0.3f, -0.025f, 0.13f}, false, {}, {}, {0, 0, 0.7f}, {0, 0.05f, -0.45f}, 0.125f, 0,
      {0.35f, 0.05f, -0.1f}, {0.35f, -0.1f, -0.1f}}},
    {"FIGHTER_08", 250, 4, 0.11f, 0.08f, 0.04f, 0.1f, 0.2f, GunClass::Plasma, PlasmaGun, {0.175f, -0.1f, 0.45f},
     LauncherClass::Missile, SlowMissile, LauncherMode::Single, {0, -0.225f, 0.3f}, 0,
     Trails({{{0, 0.1f, -0.5f}, 0.07f}, {{0, -0.1f, -0.5f}, 0.07f}, {{0.25f, 0, -0.5f}, 0.07f}, {{-0.25f, 0, -0.5f}, 0.07f}}),
     Trails({{{0.3f, -0.05f, 0.075f}, 0.07f}, {{-0.3f, -0.05f, 0.075f}, 0.07f}}), false,
     {{0.25f, 0, -0.5f}, {0.3f, -0.05f, 0.075f}, false, {}, {}, {0, 0, 0.55f}, {0, 0.1f, -0.5f}, 0.2f, 0,
      {0.4f, 0.05f, -0.2f}, {0.4f, -0.15f, -0.2f}}},
    {"FIGHTER_09", 280, 3, 0.105f, 0.07f, 0.04f, 0.1f, 0.2f, GunClass::Plasma, PlasmaGun, {0.125f, -0.1f, 0.425f},
     LauncherClass::SmallMissile, PairedSmallMissile, LauncherMode::Pair, {0.25f, 0, -0.3f}, 0,
     Trails({{{0.1f, 0, -0.35f}, 0.09f}, {{-0.1f, 0, -0.35f}, 0.09f}}),
     Trails({{{0.125f, -0.05f, 0}, 0.09f}, {{-0.125f, -0.05f, 0}, 0.09f}}), false,
     {{0.1f, 0, -0.35f}, {0.125f, -0.05f, 0}, false, {}, {}, {0, 0, 0.5f}, {0, 0.05f, -0.4f}, 0.1f, 0,
      {0.35f, 0.05f, -0.1f}, {0.35f, -0.1f, -0.1f}}},
    {"FIGHTER_10", 320, 3, 0.13f, 0.07f, 0.06f, 0.12f, 0.15f, GunClass::Plasma, PlasmaGun, {0.1f, -0.125f, 0.55f},
     LauncherClass::Missile, HeavyMissile, LauncherMode::Single, {0, -0.175f, 0.15f}, 0,
     Trails({{{0, -0.075f, -0.35f}, 0.09f}, {{0.05f, 0.1f, -0.225f}, 0.09f}, {{-0.05f, 0.1f, -0.225f}, 0.09f}}),
     Trails({{{0, 0.125f, 0.425f}, 0.08f}, {{0.125f, 0.125f, 0.15f}, 0.08f}, {{-0.125f, 0.125f, 0.15f}, 0.08f}}), true,
     {{0.05f, 0.1f, -0.225f}, {0.125f, 0.125f, 0.15f}, false, {}, {}, {0, 0.125f, 0.6f}, {0, 0.1f, -0.4f}, 0.2f, 0,
      {0.35f, 0.05f, 0}, {0.35f, -0.1f, 0}}},
    {"FIGHTER_11", 270, 4, 0.12f, 0.06f, 0.05f, 0.11f, 0.15f, GunClass::Plasma, PlasmaGun, {0.225f, -0.125f, 0.15f},
     LauncherClass::SmallMissile, QuickSmallMissile, LauncherMode::Single, {0, -0.15f, 0.35f}, -0.25f,
     Trails({{{0.325f, -0.05f, -0.3f}, 0.075f}, {{-0.325f, -0.05f, -0.3f}, 0.075f}, {{0.2f, -0.025f, -0.4f}, 0.065f},
      {{-0.2f, -0.025f, -0.4f}, 0.065f}}),
     Trails({{{0.325f, -0.05f, 0.15f}, 0.075f}, {{-0.325f, -0.05f, 0.15f}, 0.07f}, {{0.25f, 0.05f, 0.15f}, 0.065f},
      {{-0.25f, 0.05f, 0.15f}, 0.065f}}),
     false,
     {{0.325f, -0.05f, -0.3f}, {0.325f, -0.05f, 0.15f}, false, {}, {}, {0, 0, 0.45f}, {0, 0.05f, -0.45f}, 0.15f, 0,
      {0.45f, 0.05f, -0.1f}, {0.45f, -0.15f, -0.1f}}},
    {"FIGHTER_12", 300, 3, 0.115f, 0.08f, 0.06f, 0.11f, 0.1f, GunClass::Plasma, PlasmaGun, {0.1f, -0.0875f, 0.5f},
     LauncherClass::Missile, HeavyMissile, LauncherMode::Single, {0, -0.175f, 0.15f}, 0,
     Trails({{{0, 0.075f, -0.275f}, 0.07f}, {{0.175f, -0.025f, -0.275f}, 0.07f}, {{-0.175f, -0.025f, -0.275f}, 0.07f}}),
     Trails({{{0, 0.075f, 0.425f}, 0.07f}, {{0.175f, -0.025f, 0.425f}, 0.07f}, {{-0.175f, -0.025f, 0.425f}, 0.07f}}), false,
     {{0.175f, -0.025f, -0.275f}, {0.175f, -0.025f, 0.425f}, false, {}, {}, {0, 0.075f, 0.6f}, {0, 0.075f, -0.35f},
      0.15f, 0, {0.35f, 0.05f, 0}, {0.35f, -0.1f, 0}}},
};

} // namespace

const std::array<FighterType, 12>& FighterTypes() {
    static const std::array<FighterType, 12> types = [] {
        std::array<FighterType, 12> built{};
        for (int i = 0; i < 12; ++i) built[size_t(i)] = Build(Rows[i], i);
        return built;
    }();
    return types;
}
