#include "game/types/FighterType.h"

#include <initializer_list>
#include <iterator>

namespace {

// Where the attitude thrusters of a model sit, on its right side (the left
// ones mirror them). A turn puffs where a thruster would have to fire to
// cause it: yaw at an engine blowing back and at a retro thruster blowing
// forward on the other side; pitch above or below the nose and the tail;
// roll above one wing and below the other.
struct Thrusters {
    ModelPoint engine{};
    ModelPoint retro{};
    // A second yaw pair (models with two engine rows), or none.
    bool secondYawPair = false;
    ModelPoint engine2{};
    ModelPoint retro2{};
    // The top of the nose and of the tail; their undersides lie `drop` lower.
    ModelPoint nose{};
    ModelPoint tail{};
    float drop = 0;
    // Non-zero: pitch puffs come in pairs this far to either side.
    float pitchSpread = 0;
    ModelPoint wingTop{};
    ModelPoint wingBottom{};
};

// One type's numbers before its puffs are laid out.
struct Row {
    const char* meshName = nullptr;
    int hp = 0;
    int trailCount = 0;
    float baseSpeed = 0, pitchRate = 0, yawRate = 0, rollRate = 0, clearance = 0;
    GunClass gun = GunClass::Plasma;
    MountNumbers main{};
    ModelPoint muzzle{};
    LauncherClass launcher = LauncherClass::Missile;
    MountNumbers sub{};
    LauncherMode launcherMode = LauncherMode::Single;
    ModelPoint launcherAt{};
    float launchTilt = 0;
    // Unused entries have width 0.
    std::array<TrailMount, FighterType::MaxTrails> engines{};
    std::array<TrailMount, FighterType::MaxTrails> retros{};
    // One type's throttle-down puffs blow backwards like its engines.
    bool retroPuffsBackward = false;
    Thrusters thrusters;
};

constexpr MountNumbers LaserGun{
    .interval = 7, .barrels = 2, .damage = 18, .life = 10, .speed = 30.0f, .rangeFactor = 0.1f};
constexpr MountNumbers PlasmaGun{
    .interval = 1, .barrels = 2, .damage = 10, .life = 25, .speed = 1.0f, .rangeFactor = 1.0f};
constexpr MountNumbers HeavyMissile{
    .interval = 60, .barrels = 1, .damage = 50, .life = 200, .speed = 0.5f, .rangeFactor = 0.7f};
// Two launchers that fire in turn.
constexpr MountNumbers TwinHeavyMissile{
    .interval = 60, .barrels = 2, .damage = 50, .life = 200, .speed = 0.5f, .rangeFactor = 0.7f};
constexpr MountNumbers SlowMissile{
    .interval = 90, .barrels = 1, .damage = 50, .life = 200, .speed = 0.5f, .rangeFactor = 0.7f};
constexpr MountNumbers QuickSmallMissile{
    .interval = 15, .barrels = 1, .damage = 30, .life = 120, .speed = 0.7f, .rangeFactor = 0.7f};
constexpr MountNumbers PairedSmallMissile{
    .interval = 45, .barrels = 1, .damage = 30, .life = 160, .speed = 0.7f, .rangeFactor = 0.7f};

// A trail list of up to four mounts, the rest left unused.
constexpr std::array<TrailMount, FighterType::MaxTrails> Trails(std::initializer_list<TrailMount> mounts) {
    std::array<TrailMount, FighterType::MaxTrails> out{};
    size_t i = 0;
    for (const TrailMount& mount : mounts)
        if (i < out.size()) out[i++] = mount;
    return out;
}

ModelPoint Mirror(const ModelPoint& p) {
    return {-p.x, p.y, p.z};
}
ModelPoint Lower(const ModelPoint& p, float drop) {
    return {p.x, p.y - drop, p.z};
}

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
    for (int i = 0; i < type.engineCount; ++i)
        add(FighterHook::ThrottleUp, type.engines[size_t(i)].at, Blow::Backward);
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

constexpr Row Rows[] = {
    {.meshName = "FIGHTER_01",
     .hp = 300,
     .trailCount = 3,
     .baseSpeed = 0.1f,
     .pitchRate = 0.07f,
     .yawRate = 0.05f,
     .rollRate = 0.1f,
     .clearance = 0.2f,
     .gun = GunClass::Laser,
     .main = LaserGun,
     .muzzle = {0.15f, -0.15f, 0.5f},
     .launcher = LauncherClass::Missile,
     .sub = SlowMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.15f, 0.5f},
     .engines = Trails({{.at = {0, -0.05f, -0.75f}, .width = 0.1f},
                        {.at = {0.325f, -0.05f, -0.45f}, .width = 0.08f},
                        {.at = {-0.325f, -0.05f, -0.45f}, .width = 0.08f}}),
     .retros = Trails({{.at = {0, 0.175f, 0}, .width = 0.08f},
                       {.at = {0.375f, -0.05f, 0}, .width = 0.08f},
                       {.at = {-0.375f, -0.05f, 0}, .width = 0.08f}}),
     .thrusters = {.engine = {0.325f, -0.05f, -0.45f},
                   .retro = {0.375f, -0.05f, 0},
                   .nose = {0, 0, 0.7f},
                   .tail = {0, 0, -0.7f},
                   .drop = 0.1f,
                   .wingTop = {0.3f, 0.1f, 0},
                   .wingBottom = {0.3f, -0.2f, 0}}},
    {.meshName = "FIGHTER_02",
     .hp = 250,
     .trailCount = 4,
     .baseSpeed = 0.135f,
     .pitchRate = 0.06f,
     .yawRate = 0.06f,
     .rollRate = 0.12f,
     .clearance = 0.1f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.275f, -0.025f, 0.3f},
     .launcher = LauncherClass::Missile,
     .sub = HeavyMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.125f, 0},
     .engines = Trails({{.at = {0, -0.025f, -0.6f}, .width = 0.08f},
                        {.at = {0, 0.075f, -0.333f}, .width = 0.08f},
                        {.at = {0.725f, -0.025f, -0.3f}, .width = 0.07f},
                        {.at = {-0.725f, -0.025f, -0.3f}, .width = 0.07f}}),
     .retros = Trails({{.at = {0.4f, -0.025f, 0.15f}, .width = 0.08f},
                       {.at = {-0.4f, -0.025f, 0.15f}, .width = 0.08f},
                       {.at = {0.725f, -0.025f, -0.1f}, .width = 0.07f},
                       {.at = {-0.725f, -0.025f, -0.1f}, .width = 0.07f}}),
     .thrusters = {.engine = {0.725f, -0.025f, -0.3f},
                   .retro = {0.725f, -0.025f, -0.1f},
                   .nose = {0, 0.05f, 0.55f},
                   .tail = {0, 0.05f, -0.6f},
                   .drop = 0.1f,
                   .wingTop = {0.6f, 0.05f, -0.2f},
                   .wingBottom = {0.6f, -0.1f, -0.2f}}},
    {.meshName = "FIGHTER_03",
     .hp = 280,
     .trailCount = 4,
     .baseSpeed = 0.145f,
     .pitchRate = 0.06f,
     .yawRate = 0.04f,
     .rollRate = 0.08f,
     .clearance = 0.15f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.15f, -0.125f, 0.55f},
     .launcher = LauncherClass::Missile,
     .sub = TwinHeavyMissile,
     .launcherMode = LauncherMode::Alternating,
     .launcherAt = {0.25f, -0.05f, 0.05f},
     .engines = Trails({{.at = {0.24f, 0.14f, -0.2f}, .width = 0.07f},
                        {.at = {-0.24f, 0.14f, -0.2f}, .width = 0.07f},
                        {.at = {0.34f, -0.09f, -0.4f}, .width = 0.07f},
                        {.at = {-0.34f, -0.09f, -0.4f}, .width = 0.07f}}),
     .retros = Trails({{.at = {0.24f, 0.14f, 0.3f}, .width = 0.07f},
                       {.at = {-0.24f, 0.14f, 0.3f}, .width = 0.07f},
                       {.at = {0.34f, -0.09f, 0.1f}, .width = 0.07f},
                       {.at = {-0.34f, -0.09f, 0.1f}, .width = 0.07f}}),
     .thrusters = {.engine = {0.24f, 0.14f, -0.2f},
                   .retro = {0.24f, 0.14f, 0.3f},
                   .secondYawPair = true,
                   .engine2 = {0.34f, -0.09f, -0.4f},
                   .retro2 = {0.34f, -0.09f, 0.1f},
                   .nose = {0, 0.05f, 0.6f},
                   .tail = {0, 0.1f, -0.4f},
                   .drop = 0.15f,
                   .pitchSpread = 0.15f,
                   .wingTop = {0.4f, 0.05f, -0.1f},
                   .wingBottom = {0.4f, -0.15f, -0.1f}}},
    {.meshName = "FIGHTER_04",
     .hp = 280,
     .trailCount = 3,
     .baseSpeed = 0.112f,
     .pitchRate = 0.06f,
     .yawRate = 0.06f,
     .rollRate = 0.1f,
     .clearance = 0.2f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.05f, -0.15f, 0.4f},
     .launcher = LauncherClass::SmallMissile,
     .sub = QuickSmallMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.15f, 0.4f},
     .engines = Trails({{.at = {0, 0.1f, -0.6f}, .width = 0.09f},
                        {.at = {0.25f, -0.05f, -0.6f}, .width = 0.09f},
                        {.at = {-0.25f, -0.05f, -0.6f}, .width = 0.09f}}),
     .retros =
         Trails({{.at = {0.25f, -0.05f, 0}, .width = 0.09f}, {.at = {-0.25f, -0.05f, 0}, .width = 0.09f}}),
     .thrusters = {.engine = {0.25f, -0.05f, -0.6f},
                   .retro = {0.25f, -0.05f, 0},
                   .nose = {0, 0, 0.5f},
                   .tail = {0, 0.1f, -0.6f},
                   .drop = 0.15f,
                   .wingTop = {0.35f, 0.05f, -0.2f},
                   .wingBottom = {0.35f, -0.15f, -0.2f}}},
    {.meshName = "FIGHTER_05",
     .hp = 290,
     .trailCount = 4,
     .baseSpeed = 0.14f,
     .pitchRate = 0.07f,
     .yawRate = 0.06f,
     .rollRate = 0.1f,
     .clearance = 0.15f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.175f, 0.1f, 0.225f},
     .launcher = LauncherClass::SmallMissile,
     .sub = PairedSmallMissile,
     .launcherMode = LauncherMode::Pair,
     .launcherAt = {0.2f, -0.1f, 0},
     .engines = Trails({{.at = {0.28f, 0.075f, -0.55f}, .width = 0.08f},
                        {.at = {-0.28f, 0.075f, -0.55f}, .width = 0.08f},
                        {.at = {0.32f, -0.075f, -0.45f}, .width = 0.08f},
                        {.at = {-0.32f, -0.075f, -0.45f}, .width = 0.08f}}),
     .retros = Trails({{.at = {0.28f, 0.075f, 0.2f}, .width = 0.08f},
                       {.at = {-0.28f, 0.075f, 0.2f}, .width = 0.08f},
                       {.at = {0.32f, -0.075f, 0.2f}, .width = 0.08f},
                       {.at = {-0.32f, -0.075f, 0.2f}, .width = 0.08f}}),
     .thrusters = {.engine = {0.28f, 0.075f, -0.55f},
                   .retro = {0.28f, 0.075f, 0.2f},
                   .secondYawPair = true,
                   .engine2 = {0.32f, -0.075f, -0.45f},
                   .retro2 = {0.32f, -0.075f, 0.2f},
                   .nose = {0, 0.1f, 0.45f},
                   .tail = {0, 0.075f, -0.55f},
                   .drop = 0.15f,
                   .wingTop = {0.45f, 0.05f, -0.1f},
                   .wingBottom = {0.45f, -0.15f, -0.1f}}},
    {.meshName = "FIGHTER_06",
     .hp = 260,
     .trailCount = 3,
     .baseSpeed = 0.125f,
     .pitchRate = 0.06f,
     .yawRate = 0.05f,
     .rollRate = 0.11f,
     .clearance = 0.2f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.23f, -0.075f, 0.15f},
     .launcher = LauncherClass::Missile,
     .sub = HeavyMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.225f, 0},
     .engines = Trails({{.at = {0, -0.1f, -0.55f}, .width = 0.1f},
                        {.at = {0.4f, -0.025f, -0.7f}, .width = 0.08f},
                        {.at = {-0.4f, -0.025f, -0.7f}, .width = 0.08f}}),
     .retros = Trails(
         {{.at = {0.4f, -0.025f, -0.25f}, .width = 0.08f}, {.at = {-0.4f, -0.025f, -0.25f}, .width = 0.08f}}),
     .thrusters = {.engine = {0.4f, -0.025f, -0.7f},
                   .retro = {0.4f, -0.025f, -0.25f},
                   .nose = {0, 0, 0.45f},
                   .tail = {0, 0, -0.6f},
                   .drop = 0.15f,
                   .wingTop = {0.5f, 0.05f, -0.4f},
                   .wingBottom = {0.5f, -0.1f, -0.4f}}},
    {.meshName = "FIGHTER_07",
     .hp = 300,
     .trailCount = 3,
     .baseSpeed = 0.118f,
     .pitchRate = 0.06f,
     .yawRate = 0.05f,
     .rollRate = 0.11f,
     .clearance = 0.15f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.075f, -0.1125f, 0.6f},
     .launcher = LauncherClass::Missile,
     .sub = HeavyMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.175f, 0.2f},
     .engines = Trails({{.at = {0, 0, -0.4f}, .width = 0.1f},
                        {.at = {0.25f, -0.025f, -0.4f}, .width = 0.08f},
                        {.at = {-0.25f, -0.025f, -0.4f}, .width = 0.08f}}),
     .retros = Trails(
         {{.at = {0.3f, -0.025f, 0.13f}, .width = 0.08f}, {.at = {-0.3f, -0.025f, 0.13f}, .width = 0.08f}}),
     .thrusters = {.engine = {0.25f, -0.025f, -0.4f},
                   .retro = {0.3f, -0.025f, 0.13f},
                   .nose = {0, 0, 0.7f},
                   .tail = {0, 0.05f, -0.45f},
                   .drop = 0.125f,
                   .wingTop = {0.35f, 0.05f, -0.1f},
                   .wingBottom = {0.35f, -0.1f, -0.1f}}},
    {.meshName = "FIGHTER_08",
     .hp = 250,
     .trailCount = 4,
     .baseSpeed = 0.11f,
     .pitchRate = 0.08f,
     .yawRate = 0.04f,
     .rollRate = 0.1f,
     .clearance = 0.2f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.175f, -0.1f, 0.45f},
     .launcher = LauncherClass::Missile,
     .sub = SlowMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.225f, 0.3f},
     .engines = Trails({{.at = {0, 0.1f, -0.5f}, .width = 0.07f},
                        {.at = {0, -0.1f, -0.5f}, .width = 0.07f},
                        {.at = {0.25f, 0, -0.5f}, .width = 0.07f},
                        {.at = {-0.25f, 0, -0.5f}, .width = 0.07f}}),
     .retros = Trails(
         {{.at = {0.3f, -0.05f, 0.075f}, .width = 0.07f}, {.at = {-0.3f, -0.05f, 0.075f}, .width = 0.07f}}),
     .thrusters = {.engine = {0.25f, 0, -0.5f},
                   .retro = {0.3f, -0.05f, 0.075f},
                   .nose = {0, 0, 0.55f},
                   .tail = {0, 0.1f, -0.5f},
                   .drop = 0.2f,
                   .wingTop = {0.4f, 0.05f, -0.2f},
                   .wingBottom = {0.4f, -0.15f, -0.2f}}},
    {.meshName = "FIGHTER_09",
     .hp = 280,
     .trailCount = 3,
     .baseSpeed = 0.105f,
     .pitchRate = 0.07f,
     .yawRate = 0.04f,
     .rollRate = 0.1f,
     .clearance = 0.2f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.125f, -0.1f, 0.425f},
     .launcher = LauncherClass::SmallMissile,
     .sub = PairedSmallMissile,
     .launcherMode = LauncherMode::Pair,
     .launcherAt = {0.25f, 0, -0.3f},
     .engines =
         Trails({{.at = {0.1f, 0, -0.35f}, .width = 0.09f}, {.at = {-0.1f, 0, -0.35f}, .width = 0.09f}}),
     .retros =
         Trails({{.at = {0.125f, -0.05f, 0}, .width = 0.09f}, {.at = {-0.125f, -0.05f, 0}, .width = 0.09f}}),
     .thrusters = {.engine = {0.1f, 0, -0.35f},
                   .retro = {0.125f, -0.05f, 0},
                   .nose = {0, 0, 0.5f},
                   .tail = {0, 0.05f, -0.4f},
                   .drop = 0.1f,
                   .wingTop = {0.35f, 0.05f, -0.1f},
                   .wingBottom = {0.35f, -0.1f, -0.1f}}},
    {.meshName = "FIGHTER_10",
     .hp = 320,
     .trailCount = 3,
     .baseSpeed = 0.13f,
     .pitchRate = 0.07f,
     .yawRate = 0.06f,
     .rollRate = 0.12f,
     .clearance = 0.15f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.1f, -0.125f, 0.55f},
     .launcher = LauncherClass::Missile,
     .sub = HeavyMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.175f, 0.15f},
     .engines = Trails({{.at = {0, -0.075f, -0.35f}, .width = 0.09f},
                        {.at = {0.05f, 0.1f, -0.225f}, .width = 0.09f},
                        {.at = {-0.05f, 0.1f, -0.225f}, .width = 0.09f}}),
     .retros = Trails({{.at = {0, 0.125f, 0.425f}, .width = 0.08f},
                       {.at = {0.125f, 0.125f, 0.15f}, .width = 0.08f},
                       {.at = {-0.125f, 0.125f, 0.15f}, .width = 0.08f}}),
     .retroPuffsBackward = true,
     .thrusters = {.engine = {0.05f, 0.1f, -0.225f},
                   .retro = {0.125f, 0.125f, 0.15f},
                   .nose = {0, 0.125f, 0.6f},
                   .tail = {0, 0.1f, -0.4f},
                   .drop = 0.2f,
                   .wingTop = {0.35f, 0.05f, 0},
                   .wingBottom = {0.35f, -0.1f, 0}}},
    {.meshName = "FIGHTER_11",
     .hp = 270,
     .trailCount = 4,
     .baseSpeed = 0.12f,
     .pitchRate = 0.06f,
     .yawRate = 0.05f,
     .rollRate = 0.11f,
     .clearance = 0.15f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.225f, -0.125f, 0.15f},
     .launcher = LauncherClass::SmallMissile,
     .sub = QuickSmallMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.15f, 0.35f},
     .launchTilt = -0.25f,
     .engines = Trails({{.at = {0.325f, -0.05f, -0.3f}, .width = 0.075f},
                        {.at = {-0.325f, -0.05f, -0.3f}, .width = 0.075f},
                        {.at = {0.2f, -0.025f, -0.4f}, .width = 0.065f},
                        {.at = {-0.2f, -0.025f, -0.4f}, .width = 0.065f}}),
     .retros = Trails({{.at = {0.325f, -0.05f, 0.15f}, .width = 0.075f},
                       {.at = {-0.325f, -0.05f, 0.15f}, .width = 0.07f},
                       {.at = {0.25f, 0.05f, 0.15f}, .width = 0.065f},
                       {.at = {-0.25f, 0.05f, 0.15f}, .width = 0.065f}}),
     .thrusters = {.engine = {0.325f, -0.05f, -0.3f},
                   .retro = {0.325f, -0.05f, 0.15f},
                   .nose = {0, 0, 0.45f},
                   .tail = {0, 0.05f, -0.45f},
                   .drop = 0.15f,
                   .wingTop = {0.45f, 0.05f, -0.1f},
                   .wingBottom = {0.45f, -0.15f, -0.1f}}},
    {.meshName = "FIGHTER_12",
     .hp = 300,
     .trailCount = 3,
     .baseSpeed = 0.115f,
     .pitchRate = 0.08f,
     .yawRate = 0.06f,
     .rollRate = 0.11f,
     .clearance = 0.1f,
     .gun = GunClass::Plasma,
     .main = PlasmaGun,
     .muzzle = {0.1f, -0.0875f, 0.5f},
     .launcher = LauncherClass::Missile,
     .sub = HeavyMissile,
     .launcherMode = LauncherMode::Single,
     .launcherAt = {0, -0.175f, 0.15f},
     .engines = Trails({{.at = {0, 0.075f, -0.275f}, .width = 0.07f},
                        {.at = {0.175f, -0.025f, -0.275f}, .width = 0.07f},
                        {.at = {-0.175f, -0.025f, -0.275f}, .width = 0.07f}}),
     .retros = Trails({{.at = {0, 0.075f, 0.425f}, .width = 0.07f},
                       {.at = {0.175f, -0.025f, 0.425f}, .width = 0.07f},
                       {.at = {-0.175f, -0.025f, 0.425f}, .width = 0.07f}}),
     .thrusters = {.engine = {0.175f, -0.025f, -0.275f},
                   .retro = {0.175f, -0.025f, 0.425f},
                   .nose = {0, 0.075f, 0.6f},
                   .tail = {0, 0.075f, -0.35f},
                   .drop = 0.15f,
                   .wingTop = {0.35f, 0.05f, 0},
                   .wingBottom = {0.35f, -0.1f, 0}}},

};
static_assert(std::size(Rows) == CountryCount, "one fighter type per country");

} // namespace

const std::array<FighterType, CountryCount>& FighterTypes() {
    static const std::array<FighterType, CountryCount> types = [] {
        std::array<FighterType, CountryCount> built{};
        for (int i = 0; i < CountryCount; ++i) built[size_t(i)] = Build(Rows[i], i);
        return built;
    }();
    return types;
}
