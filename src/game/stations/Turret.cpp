#include "game/stations/Turret.h"

#include "game/stations/Station.h"
#include "game/stations/StationAssets.h"
#include "game/weapons/Barrage.h"
#include "game/weapons/Laser.h"
#include "game/weapons/Missile.h"
#include "game/weapons/Plasma.h"
#include "game/world/BattleStats.h"
#include "game/world/World.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr FamilyTraits Traits = TraitsOf(UnitFamily::Turret);

constexpr float TumbleStep = 0.01f;
// Fade: intensity 2^(-FadeRate x frames since death).
constexpr float FadeRate = 0.05f;

Vector3 Row(const Matrix& m, int row) {
    return {m.m[row][0], m.m[row][1], m.m[row][2]};
}

void Unhang(SceneNode& node) {
    node.local = node.GetWorldMatrix();
    node.parent = nullptr;
}

} // namespace

Turret::Turret(Station& station, TurretKind kind, Unit** ownerSlot, const Vector3& position,
               const Vector3& forward, const Vector3& up)
    : Unit(station.world, station.team, station.country, Traits.scoreValue, ownerSlot,
           GetTurretType(kind).hitPoints, &mount, Traits.hitTest, Traits.pickRadius),
      type(GetTurretType(kind)), leadFactor(type.lead), windowHighSin(std::sin(type.windowHigh)),
      clampHighSin(std::sin(type.clampHigh)), windowLowSin(std::sin(type.windowLow)),
      clampLowSin(std::sin(type.clampLow)),
      weapon(type.reload, type.barrels, type.damage, type.life, type.speed, type.rangeFactor),
      station(&station) {
    mount.Init(&station.assets.mounts[kind], position.x, position.y, position.z, 1);
    mount.tag = DrawTag(1);
    mount.SetOrientation(forward, up);
    mount.parent = station.node;
    const Vector3& pivot = type.barrelOffset;
    barrel.Init(&station.assets.barrels[kind], pivot.x, pivot.y, pivot.z, 1);
    barrel.tag = DrawTag(2);
    barrel.parent = &mount;
}

void Turret::Describe(std::string& text) const {
    char line[128];
    std::snprintf(line, sizeof line, "\n\n  Class: Turret\n    Damage: %d\n    Range: %.1f\n    Type: %s",
                  weapon.damage, double(weapon.Range()), type.typeLine);
    text += line;
}

void Turret::OnDestroyed(int killerCountry) {
    spinAxis = Vec3Normalize(world.random.RandomVector<Vector3>(1.0f));
    world.stats.CountDestroyed(UnitFamily::Turret, killerCountry, country);
}

bool Turret::Update() {
    if (hp > 0) {
        weapon.CountDown();
        Track();
        mount.Draw();
        barrel.Draw();
        UpdateExtras();
        DrawMeter();
        return false;
    }
    mount.RotateAxis(spinAxis, TumbleStep);
    mount.intensity = barrel.intensity = std::exp2(-FadeRate * float(dyingFrames));
    mount.DrawFaded();
    barrel.DrawFaded();
    UpdateExtras();
    DrawMeter();
    return ++dyingFrames >= FadeFrames;
}

void Turret::ForgetUnit(const Unit* gone) {
    if (!station || gone != station) return;
    Unhang(mount);
    station = nullptr;
}

void Turret::Draw() {
    mount.Draw();
    barrel.Draw();
    DrawExtras();
}

bool Turret::Muzzle(int index, Vector3& position) const {
    if (index < 0 || index >= type.muzzleCount) return false;
    const Vector3& offset = type.muzzles[size_t(index)];
    position = barrel.GetPosition() + barrel.GetRight() * offset.x + barrel.GetUp() * offset.y +
               barrel.GetForward() * offset.z;
    return true;
}

void Turret::DrawPart(SceneNode& node) {
    if (hp > 0) {
        node.Draw();
        return;
    }
    // The extras fade with the mount.
    node.intensity = FadeIntensity();
    node.DrawFaded();
}

void Turret::Track() {
    Unit* target = world.fighters.NearestInCone(mount, this, windowHighSin, windowLowSin);
    if (!target) return;
    Vector3 from = barrel.GetPosition();
    if (Vec3Length(target->GetWorldPosition() - from) > weapon.Range()) return;
    Vector3 n = Vec3Normalize(target->GetAimPoint(from, leadFactor / weapon.speed) - from);
    // The target direction and the smoothed aim, in the mount's frame.
    Vector3 wanted{Vec3Dot(n, Vec3Normalize(mount.GetRight())), Vec3Dot(n, Vec3Normalize(mount.GetUp())),
                   Vec3Dot(n, Vec3Normalize(mount.GetForward()))};
    Vector3 aimed = Row(barrel.local, 2);
    Vector3 f = Vec3Normalize(aimed * Steadiness + wanted * (1.0f - Steadiness));
    float horizontal = std::sqrt(f.x * f.x + f.z * f.z);
    // Straight up gives no direction to turn to; outside the band the turret holds.
    if (horizontal == 0.0f || !(f.y > windowLowSin && f.y < windowHighSin)) return;
    f.y = std::clamp(f.y, clampLowSin, clampHighSin);
    float keep = std::sqrt(1.0f - f.y * f.y) / horizontal;
    f = Vec3Normalize({f.x * keep, f.y, f.z * keep});

    // The mount turns about its own up axis to face the aim's horizontal part.
    Vector3 right = Row(mount.local, 0), up = Row(mount.local, 1), forward = Row(mount.local, 2);
    mount.SetOrientation(Vec3Normalize(right * f.x + forward * f.z), up);
    // The barrel pitches; it never points behind the mount.
    Vector3 b = Vec3Normalize({0, f.y, std::max(f.z, 0.0f)});
    // A level aim straight to the side leaves no pitch to take: keep the old one.
    if (Vec3LengthSq(b) == 0.0f)
        b = aimed;
    else
        barrel.SetOrientation(b, Vec3Cross(b, {1, 0, 0}));

    Vector3 flattened = Vec3Normalize({f.x, f.y, std::max(f.z, 0.0f)});
    if (Vec3Dot(flattened, b) > FireAlignment && weapon.Trigger()) Fire(target);
}

void Turret::Fire(Unit* target) {
    int index = weapon.nextBarrel;
    Vector3 muzzle;
    if (!Muzzle(index, muzzle)) return;
    Vector3 direction = Vec3Normalize(barrel.GetForward());
    // The reload is spent even when a teammate blocks the shot.
    if (world.hitTable.IsFriendInLineOfFire(this, muzzle, direction, weapon.Range())) return;
    switch (type.shot) {
    case ShotClass::Plasma:
        world.shots.Fire<Plasma>(world, this, weapon, 0.0f, muzzle, direction);
        break;
    case ShotClass::SmallMissile:
        world.shots.Fire<SmallMissile>(world, this, weapon, target, type.missileStartSpeed, muzzle,
                                       direction);
        break;
    case ShotClass::Missile:
        world.shots.Fire<Missile>(world, this, weapon, target, type.missileStartSpeed, muzzle, direction);
        break;
    case ShotClass::Barrage:
        world.shots.Fire<Barrage>(world, this, weapon, target, 0.0f, muzzle, direction);
        break;
    case ShotClass::Laser:
        world.shots.Fire<Laser>(world, this, weapon, &barrel, type.muzzles[size_t(index)]);
        break;
    }
    OnFired(index);
}

TubeTurret::TubeTurret(Station& station, Unit** ownerSlot, const Vector3& position, const Vector3& forward,
                       const Vector3& up)
    : Turret(station, TurretD, ownerSlot, position, forward, up) {
    tubes.fill(TubeReload);
    missile.Init(&world.assets.missile, 0, 0, 0, 1);
    missile.tag = DrawTag(3);
    missile.parent = &barrel;
}

void TubeTurret::DrawTube(int index, float height) {
    const Vector3& mouth = type.muzzles[size_t(index)];
    missile.SetPosition({mouth.x, height, mouth.z});
    DrawPart(missile);
}

void TubeTurret::UpdateExtras() {
    // A fired tube's missile rises back into view as it reloads.
    for (int i = 0; i < int(tubes.size()); ++i) {
        int& tube = tubes[size_t(i)];
        if (tube < TubeReload) ++tube;
        DrawTube(i, 0.15f + 0.001f * float(tube));
    }
}

void TubeTurret::DrawExtras() {
    for (int i = 0; i < int(tubes.size()); ++i) DrawTube(i, type.muzzles[size_t(i)].y);
}

void TubeTurret::OnFired(int index) {
    tubes[size_t(index)] = 0;
}

SlideTurret::SlideTurret(Station& station, Unit** ownerSlot, const Vector3& position, const Vector3& forward,
                         const Vector3& up)
    : Turret(station, TurretG, ownerSlot, position, forward, up) {
    slide.Init(&station.assets.slide, 0, 0, RestZ, 1);
    slide.tag = DrawTag(4);
    slide.parent = &barrel;
}

void SlideTurret::UpdateExtras() {
    slide.SetPosition({0, 0, RestZ - RecoilStep * float(recoil)});
    DrawPart(slide);
    if (recoil > 0) --recoil;
}

void SlideTurret::DrawExtras() {
    slide.SetPosition({0, 0, RestZ});
    slide.Draw();
}

void SlideTurret::OnFired(int) {
    recoil = RecoilFrames;
}

Turret* CreateTurret(Station& station, TurretKind kind, Unit** ownerSlot, const Vector3& position,
                     const Vector3& forward, const Vector3& up) {
    TurretPool& pool = station.world.turrets;
    switch (GetTurretType(kind).extras) {
    case TurretExtras::Tubes:
        return pool.Create<TubeTurret>(station, ownerSlot, position, forward, up);
    case TurretExtras::Slide:
        return pool.Create<SlideTurret>(station, ownerSlot, position, forward, up);
    case TurretExtras::None:
        break;
    }
    return pool.Create<Turret>(station, kind, ownerSlot, position, forward, up);
}
