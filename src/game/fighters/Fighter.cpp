#include "game/fighters/Fighter.h"

#include "game/weapons/Laser.h"
#include "game/weapons/Missile.h"
#include "game/weapons/Plasma.h"
#include "game/world/BattleSetup.h"
#include "game/world/BattleStats.h"
#include "game/world/World.h"
#include "platform/Actions.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "render/Graphics.h"

#include <algorithm>
#include <cstdio>

namespace {

// Share of the old value kept per frame: thrust settles in about 25 frames,
// the control response in about 6.
constexpr float ThrustSmoothing = 0.96f;
constexpr float ResponseSmoothing = 0.85f;
constexpr float MinThrottle = -1;
constexpr float MaxThrottle = 3;
constexpr int TrailSegments = 8;
constexpr float ThrottleUpPuff = 2.0f;
constexpr float ThrottleDownPuff = 1.5f;
constexpr float ControlPuff = 1.0f;

// The wreck drifts and spins for 51 frames, bursting every fifth, then stays
// invisible for five more before the pool deletes it.
constexpr int WreckFrames = 50;
constexpr int DeleteAfter = 55;
constexpr int WreckBurstEvery = 5;
constexpr float TumbleStep = 0.2f;
constexpr float WreckBurstSize = 2.0f;
constexpr float WreckBurstSpread = 0.5f;
constexpr float FinalExplosionSize = 5.0f;

// Velocity in the descriptions: distance per 30 frames at throttle 1.
constexpr float FramesPerSecond = 30.0f;

WeaponSpec MakeMount(const MountNumbers& n) {
    return WeaponSpec(n.interval, n.barrels, n.damage, n.life, n.speed, n.rangeFactor);
}

template <typename... Args> void AppendFormat(std::string& text, const char* format, Args... args) {
    char buffer[256];
    int length = std::snprintf(buffer, sizeof buffer, format, args...);
    if (length > 0) text.append(buffer, size_t(std::min<int>(length, int(sizeof buffer) - 1)));
}

} // namespace

Fighter::Fighter(World& world, const FighterType& type, int team, Unit** ownerSlot, const Vector3& launchPos,
                 const Vector3& launchForward, const Vector3& launchUp)
    : Unit(world, team, type.countryIndex, TraitsOf(UnitFamily::Fighter).scoreValue, ownerSlot, type.hp, &body,
           TraitsOf(UnitFamily::Fighter).hitTest, TraitsOf(UnitFamily::Fighter).pickRadius),
      type(type), trailCount(std::clamp(type.trailCount, 0, FighterType::MaxTrails)), baseSpeed(type.baseSpeed),
      pitchRate(type.pitchRate), yawRate(type.yawRate), rollRate(type.rollRate) {
    body.Init(&world.assets.fighters[size_t(type.countryIndex)], 0, 0, 0, 1);
    body.tag = DrawTag(0);
    mainWeapon = MakeMount(type.main);
    subWeapon = MakeMount(type.sub);
    if (ownerSlot) *ownerSlot = this;
    body.SetPosition(launchPos + launchUp * (type.clearance + 0.1f));
    // A launch forward along the launch up (or a zero axis) gives no frame to fly in.
    if (Vec3LengthSq(Vec3Cross(launchUp, launchForward)) < 1e-12f) {
        Log("戦闘機: 発進方向 (%g, %g, %g) と上方向が使えません. 既定の向きにします.\n", double(launchForward.x),
            double(launchForward.y), double(launchForward.z));
        body.SetOrientation({0, 0, 1}, {0, 1, 0});
    } else {
        body.SetOrientation(launchForward, launchUp);
    }
}

Fighter::~Fighter() = default;

void Fighter::Describe(std::string& text) const {
    AppendFormat(text, "\n\n  Class: Fighter\n    Velocity: %.2f", double(baseSpeed * FramesPerSecond));
    AppendWeaponText(text);
}

void Fighter::Showcase(std::string& text) {
    AppendFormat(text, "\n\n  Fighter\n    HP: %d\n    Velocity: %.2f", maxHp, double(baseSpeed * FramesPerSecond));
    AppendWeaponText(text);
    body.RotateY(-0.05f);
    body.Draw();
}

void Fighter::AppendWeaponText(std::string& text) const {
    AppendFormat(text, "\n    Main Weapon\n      Damage: %d\n      Type: %s\n    Sub Weapon\n      Damage: %d\n      Type: %s",
                 mainWeapon.damage, type.gun == GunClass::Laser ? "Laser" : "Plasma", subWeapon.damage,
                 type.launcher == LauncherClass::SmallMissile ? "Small Missile" : "Missile");
}

void Fighter::OnDestroyed(int killerCountry) {
    pitchResponse = yawResponse = rollResponse = 0;
    pitchInput = yawInput = rollInput = 0;
    driftDirection = body.GetForward();
    tumbleAxis = Vec3Normalize(world.random.RandomVector<Vector3>(1.0f));
    // All three draws at exactly 0 would leave no axis to spin about.
    if (Vec3LengthSq(tumbleAxis) == 0.0f) tumbleAxis = {0, 1, 0};
    world.stats.CountDestroyed(UnitFamily::Fighter, killerCountry, country);
}

Vector3 Fighter::GetAimPoint(const Vector3& shooter, float shotFactor) const {
    Vector3 position = body.GetPosition();
    float distance = Vec3Length(position - shooter);
    return position + body.GetForward() * (distance * speedFactor * baseSpeed * shotFactor);
}

bool Fighter::Order(Unit* target) {
    if (country != world.setup.playerCountry) return false;
    if (!target) {
        orderedTarget = chosenTarget = nullptr;
        return true;
    }
    if (target->team == team) return false;
    orderedTarget = target;
    chosenTarget = nullptr;
    return true;
}

bool Fighter::TakeManualControl() {
    // A fighter that has lost its slot (destroyed) cannot be flown.
    if (country != world.setup.playerCountry || !ownerSlot) return false;
    orderedTarget = nullptr;
    world.selectedUnit = nullptr;
    world.manualSlot = ownerSlot;
    world.pilotView = false;
    world.camera.SetFocus(nullptr);
    world.cursorX = world.graphics.uiWidth / 2;
    world.cursorY = world.graphics.uiHeight / 2;
    return true;
}

void Fighter::ForgetUnit(const Unit* gone) {
    if (orderedTarget == gone) orderedTarget = nullptr;
    if (chosenTarget == gone) chosenTarget = nullptr;
}

bool Fighter::Update() {
    if (hp <= 0) return UpdateDying();
    Vector3 position = body.GetPosition();
    Vector3 forward = body.GetForward();

    mainWeapon.CountDown();
    subWeapon.CountDown();
    speedFactor = (1 - ThrustSmoothing) * throttle + ThrustSmoothing * speedFactor;
    pitchResponse = (1 - ResponseSmoothing) * pitchInput + ResponseSmoothing * pitchResponse;
    yawResponse = (1 - ResponseSmoothing) * yawInput + ResponseSmoothing * yawResponse;
    rollResponse = (1 - ResponseSmoothing) * rollInput + ResponseSmoothing * rollResponse;
    body.RotateX(pitchResponse * pitchRate);
    body.RotateY(yawResponse * yawRate);
    body.RotateZ(rollResponse * rollRate);

    // The step follows the nose as it was before this frame's turn.
    Vector3 reached;
    Unit* met = world.hitTable.RayCast(this, reached, position, forward, baseSpeed * speedFactor);
    if (met) Collide(*met);
    body.SetPosition(reached);
    body.Draw();
    if (orderedTarget && world.selectedUnit == this) orderedTarget->DrawTargetBox();
    DrawFighterMarker();
    DrawMeter();
    return false;
}

bool Fighter::UpdateDying() {
    if (dyingFrames > WreckFrames) return ++dyingFrames > DeleteAfter;
    Vector3 reached;
    Unit* met = world.hitTable.RayCast(this, reached, body.GetPosition(), driftDirection, baseSpeed * speedFactor);
    if (met) {
        Collide(*met);
        dyingFrames = WreckFrames;
    }
    body.SetPosition(reached);
    body.RotateAxis(tumbleAxis, TumbleStep);
    body.Draw();
    DrawFighterMarker();
    DrawMeter();
    if (dyingFrames % WreckBurstEvery == 0)
        world.explosions.SpawnExplosion(reached + world.random.RandomVector<Vector3>(WreckBurstSpread), WreckBurstSize,
                                        false);
    if (++dyingFrames > WreckFrames) {
        ReleaseTrails();
        world.explosions.SpawnExplosion(reached, FinalExplosionSize, true);
    }
    return false;
}

void Fighter::ChangeThrottle(float step) {
    throttle += step;
    if (!(throttle >= MinThrottle)) {
        throttle = MinThrottle;
        return;
    }
    if (throttle > MaxThrottle) {
        throttle = MaxThrottle;
        return;
    }
    if (step <= 0) {
        Puffs(FighterHook::ThrottleDown, ThrottleDownPuff);
        if (throttle == MinThrottle) {
            for (int i = 0; i < type.retroCount && i < trailCount; ++i) {
                const TrailMount& mount = type.retros[size_t(i)];
                trails[size_t(i)] = world.trails.CreateTrail(&body, mount.at.x, mount.at.y, mount.at.z, TrailSegments,
                                                             mount.width, country);
            }
        }
    } else {
        Puffs(FighterHook::ThrottleUp, ThrottleUpPuff);
        if (throttle == 1) {
            for (int i = 0; i < type.engineCount && i < trailCount; ++i) {
                const TrailMount& mount = type.engines[size_t(i)];
                trails[size_t(i)] = world.trails.CreateTrail(&body, mount.at.x, mount.at.y, mount.at.z, TrailSegments,
                                                             mount.width, country);
            }
        }
    }
    if (throttle == 0) ReleaseTrails();
}

void Fighter::ReleaseTrails() {
    for (Trail*& trail : trails) {
        if (trail) trail->Detach();
        trail = nullptr;
    }
}

void Fighter::SetElevator(float value) {
    if (pitchInput > value) Puffs(FighterHook::ElevatorDecreased, ControlPuff);
    if (pitchInput < value) Puffs(FighterHook::ElevatorIncreased, ControlPuff);
    pitchInput = value;
}

void Fighter::SetRudder(float value) {
    if (yawInput > value) Puffs(FighterHook::RudderDecreased, ControlPuff);
    if (yawInput < value) Puffs(FighterHook::RudderIncreased, ControlPuff);
    yawInput = value;
}

void Fighter::SetAileron(float value) {
    if (rollInput > value) Puffs(FighterHook::AileronDecreased, ControlPuff);
    if (rollInput < value) Puffs(FighterHook::AileronIncreased, ControlPuff);
    rollInput = value;
}

void Fighter::Puffs(FighterHook hook, float size) {
    Vector3 forward = body.GetForward();
    Vector3 up = body.GetUp();
    Vector3 velocity = forward * (baseSpeed * speedFactor);
    Vector3 turning{pitchRate * pitchResponse, yawRate * yawResponse, rollRate * rollResponse};
    for (int i = 0; i < type.puffCounts[size_t(hook)]; ++i) {
        const Puff& puff = type.puffs[size_t(hook)][size_t(i)];
        Vector3 blow = puff.blow == Blow::Forward    ? forward
                       : puff.blow == Blow::Backward ? -forward
                       : puff.blow == Blow::Up       ? up
                                                     : -up;
        world.vapour.SpawnVapour(body, puff.at, blow, velocity, turning, size);
    }
}

Vector3 Fighter::WorldPoint(const ModelPoint& at) const {
    return body.GetPosition() + body.GetRight() * at.x + body.GetUp() * at.y + body.GetForward() * at.z;
}

void Fighter::FireMain() {
    if (!mainWeapon.Trigger()) return;
    // Barrel 1 is the right muzzle, so the first shot after launch leaves on the right.
    ModelPoint muzzle = type.muzzle;
    if (mainWeapon.nextBarrel == 0) muzzle.x = -muzzle.x;
    if (type.gun == GunClass::Laser) {
        world.shots.Fire<Laser>(world, this, mainWeapon, &body, muzzle);
        return;
    }
    world.shots.Fire<Plasma>(world, this, mainWeapon, baseSpeed * speedFactor, WorldPoint(muzzle), body.GetForward());
}

void Fighter::FireSub() {
    if (!subWeapon.Trigger()) return;
    ModelPoint at = type.launcherAt;
    switch (type.launcherMode) {
    case LauncherMode::Single: LaunchMissile(at); break;
    case LauncherMode::Alternating:
        if (subWeapon.nextBarrel == 0) at.x = -at.x;
        LaunchMissile(at);
        break;
    case LauncherMode::Pair:
        LaunchMissile(at);
        LaunchMissile({-at.x, at.y, at.z});
        break;
    }
}

void Fighter::LaunchMissile(const ModelPoint& at) {
    Vector3 direction = body.GetForward() + body.GetUp() * type.launchTilt;
    float speed = baseSpeed * speedFactor;
    if (type.launcher == LauncherClass::SmallMissile)
        world.shots.Fire<SmallMissile>(world, this, subWeapon, GetTarget(), speed, WorldPoint(at), direction);
    else
        world.shots.Fire<Missile>(world, this, subWeapon, GetTarget(), speed, WorldPoint(at), direction);
}

void Fighter::UpdateManual() {
    auto state = [this](int action) {
        return action >= 0 && action < World::MaxActions ? int(world.playerActions[size_t(action)]) : int(Input::Up);
    };
    auto down = [&state](int action) { return IsDown(state(action)); };
    // When both keys of an axis are down, the first named wins.
    SetElevator(down(ElevatorDown) ? 1.0f : down(ElevatorUp) ? -1.0f : 0.0f);
    SetAileron(down(AileronLeft) ? 1.0f : down(AileronRight) ? -1.0f : 0.0f);
    SetRudder(down(RudderRight) ? 1.0f : down(RudderLeft) ? -1.0f : 0.0f);
    // A throttle key changes the throttle once per press.
    if (IsPressed(state(ThrottleUp))) ChangeThrottle(1);
    if (IsPressed(state(ThrottleDown))) ChangeThrottle(-1);
    if (down(MainWeapon)) FireMain();
    if (down(SubWeapon)) FireSub();
}
