#pragma once

#include "game/types/StationTypes.h"
#include "game/weapons/WeaponSpec.h"
#include "game/world/Unit.h"
#include "render/SceneNode.h"

#include <array>
#include <string>

class Station;

// A gun on a station: a mount that turns about its own up axis and a barrel
// that pitches on it. Every frame a live turret takes the nearest enemy
// fighter within its elevation band, swings smoothly towards where that
// fighter will be, and fires when reloaded, in range, roughly aligned and
// with no teammate in the line of fire. Owned by the turret pool.
class Turret : public Unit {
public:
    // Frames a destroyed turret tumbles and fades before its pool deletes it.
    static constexpr int FadeFrames = 41;
    // Share of the old barrel direction kept each frame while tracking.
    static constexpr float Steadiness = 0.7f;
    // Cosine of the largest sideways error at which the turret fires.
    static constexpr float FireAlignment = 0.8f;

    // position and the axes are in the station's frame.
    Turret(Station& station, TurretKind kind, Unit** ownerSlot, const Vector3& position,
           const Vector3& forward, const Vector3& up);

    void Describe(std::string& text) const override;
    void OnDestroyed(int killerCountry) override;
    bool Update() override;
    // The station is being deleted first: the turret keeps its place in the
    // world but no longer hangs on it.
    void ForgetUnit(const Unit* gone) override;

    // Mount, barrel and the parts at rest (the display station).
    void Draw();
    // The muzzle the weapon's barrel index fires from, in world space; false
    // when that index has no muzzle.
    bool Muzzle(int index, Vector3& position) const;

    const TurretType& type;
    // Lead constant divided by the shot speed, for the target's aim point.
    float leadFactor;
    float windowHighSin;
    float clampHighSin;
    float windowLowSin;
    float clampLowSin;
    // Random unit axis the destroyed turret tumbles about.
    Vector3 spinAxis;
    // The unit's node; hangs on the station's node and turns about its up axis.
    SceneNode mount;
    // Hangs on the mount; pitches about its x axis.
    SceneNode barrel;
    WeaponSpec weapon;
    // Not owned; only compared, and null once the station has been deleted.
    const Unit* station;

protected:
    // What moves beyond mount and barrel, every frame (faded once dead).
    virtual void UpdateExtras() {}
    // The extras at rest.
    virtual void DrawExtras() {}
    // A shot left muzzle `index`.
    virtual void OnFired(int /*index*/) {}
    // Intensity of the death fade, 1 while alive.
    float FadeIntensity() const { return hp > 0 ? 1.0f : mount.intensity; }
    void DrawPart(SceneNode& node);

private:
    // Steps 2 to 10 of a live frame: choose, aim, turn and perhaps fire.
    void Track();
    void Fire(Unit* target);
};

// Turret D: three tubes whose missiles rise back into view after each launch.
class TubeTurret : public Turret {
public:
    // Frames a tube takes to reload its missile fully.
    static constexpr int TubeReload = 100;

    TubeTurret(Station& station, Unit** ownerSlot, const Vector3& position, const Vector3& forward,
               const Vector3& up);

    // Frames since each tube last fired, up to TubeReload.
    std::array<int, 3> tubes;
    // Shows the missile of a tube.
    SceneNode missile;

protected:
    void UpdateExtras() override;
    void DrawExtras() override;
    void OnFired(int index) override;

private:
    void DrawTube(int index, float height);
};

// Turret G: a slide that recoils along the barrel when it fires.
class SlideTurret : public Turret {
public:
    static constexpr int RecoilFrames = 5;
    // Where the slide rests on the barrel, and how far back each frame of recoil puts it.
    static constexpr float RestZ = 0.375f;
    static constexpr float RecoilStep = 0.04f;

    SlideTurret(Station& station, Unit** ownerSlot, const Vector3& position, const Vector3& forward,
                const Vector3& up);

    // Frames of recoil left.
    int recoil = 0;
    // Hangs on the barrel.
    SceneNode slide;

protected:
    void UpdateExtras() override;
    void DrawExtras() override;
    void OnFired(int index) override;
};

// Makes the turret of the kind into the world's turret pool; null when full.
Turret* CreateTurret(Station& station, TurretKind kind, Unit** ownerSlot, const Vector3& position,
                     const Vector3& forward, const Vector3& up);
