#pragma once

#include "game/types/Countries.h"
#include "render/Math.h"

#include <array>

// The station, panel and turret types as data: every type of a family is one
// row, and the family's behaviour is written once over these rows.

// Panel types, also the index into StationAssets' panel models.
enum PanelKind : int { PanelA, PanelB, PanelC };
// Turret types, also the index into StationAssets' turret models.
enum TurretKind : int { TurretA, TurretB, TurretC, TurretD, TurretE, TurretF, TurretG, TurretH, TurretI };

struct PanelType {
    // The type line of the description ("Plain" ...).
    const char* typeLine = nullptr;
    int hitPoints = 0;
    // Hit points repaired on the station every RepairInterval frames.
    int capacity = 0;
    // How far out along its mount axis the panel stands from its mount point.
    float extension = 0;
};

// What a turret's weapon fires.
enum class ShotClass { Plasma, SmallMissile, Missile, Barrage, Laser };
// The moving parts a few turrets have beyond mount and barrel.
enum class TurretExtras { None, Tubes, Slide };

struct TurretType {
    static constexpr int MaxMuzzles = 9;

    const char* typeLine = nullptr;
    ShotClass shot = ShotClass::Plasma;
    int hitPoints = 0;
    // The weapon: reload interval, barrels, damage, life, speed, range factor.
    int reload = 0;
    int barrels = 0;
    int damage = 0;
    int life = 0;
    float speed = 0;
    float rangeFactor = 0;
    // Lead constant for the target's aim point (divided by the shot speed).
    float lead = 0;
    // Elevations above the mount's base plane, in radians: the band in which
    // targets are taken and aimed at, and the band the barrel is held in.
    float windowHigh = 0;
    float windowLow = 0;
    float clampHigh = 0;
    float clampLow = 0;
    // The barrel's pivot on the mount.
    Vector3 barrelOffset{};
    // Muzzle offsets along the barrel's right, up and forward axes, by the
    // weapon's barrel index. A barrel index without a muzzle fires nothing
    // (turret C's pod fires 9 of its 18 turns, then rests for 9).
    int muzzleCount = 0;
    std::array<Vector3, MaxMuzzles> muzzles{};
    // Speed a missile leaves the tube with.
    float missileStartSpeed = 0;
    TurretExtras extras = TurretExtras::None;
};

enum class RotorSpin { None, AboutZ, AboutY };

struct PanelMount {
    PanelKind type = PanelA;
    // In the station's frame: where the strut meets the hull, and the axis the
    // panel stands out along.
    Vector3 position{};
    Vector3 axis{};
};

struct TurretMount {
    TurretKind type = TurretA;
    // In the station's frame.
    Vector3 position{};
    Vector3 forward{};
    Vector3 up{};
};

struct StationType {
    static constexpr int MaxPanels = 7;
    static constexpr int MaxTurrets = 3;

    const char* codeName = nullptr;
    int hitPoints = 0;
    RotorSpin rotor = RotorSpin::None;
    // Radians per frame.
    float rotorRate = 0;
    // Which of StationAssets' rotor models (only with a rotor).
    int rotorModel = 0;
    // Where fighters leave and how they are turned, in the station's frame.
    Vector3 launchPoint{};
    Vector3 launchUp{};
    Vector3 launchForward{};
    // Panels and turrets in creation order, which is also their slot order.
    int panelCount = 0;
    std::array<PanelMount, MaxPanels> panels{};
    int turretCount = 0;
    std::array<TurretMount, MaxTurrets> turrets{};
};

const PanelType& GetPanelType(PanelKind kind);
const TurretType& GetTurretType(TurretKind kind);
// Station types 01, 02 ... at index 0, 1 ...; country index i owns type i + 1.
const std::array<StationType, CountryCount>& StationTypeTable();
