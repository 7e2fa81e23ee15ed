#include "game/types/StationTypes.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace {

constexpr PanelType PanelTypes[] = {
    {.typeLine = "Plain", .hitPoints = 300, .capacity = 8, .extension = 3.0f},
    {.typeLine = "Large", .hitPoints = 700, .capacity = 16, .extension = 1.5f},
    {.typeLine = "Wide", .hitPoints = 400, .capacity = 11, .extension = 3.0f},
};

// Elevation bounds shared by most turrets: just short of straight up, and
// the base plane.
constexpr float NearlyUp = 1.5676548f;
constexpr float BasePlane = 0.0f;
constexpr float BelowPlane = -0.5215044f;

// Two muzzles side by side: index 0 on the left, index 1 on the right.
constexpr std::array<Vector3, TurretType::MaxMuzzles> Pair(float aside, float ahead) {
    return {Vector3{-aside, 0, ahead}, Vector3{aside, 0, ahead}};
}

constexpr std::array<TurretType, 9> TurretRows{{
    // A
    {.typeLine = "Plasma",
     .shot = ShotClass::Plasma,
     .hitPoints = 500,
     .reload = 2,
     .barrels = 2,
     .damage = 10,
     .life = 25,
     .speed = 1.2f,
     .rangeFactor = 1.0f,
     .lead = 1.0f,
     .windowHigh = NearlyUp,
     .windowLow = BasePlane,
     .clampHigh = NearlyUp,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.15f, 0},
     .muzzleCount = 2,
     .muzzles = Pair(0.15f, 0.75f)},
    // B
    {.typeLine = "Plasma",
     .shot = ShotClass::Plasma,
     .hitPoints = 500,
     .reload = 2,
     .barrels = 2,
     .damage = 10,
     .life = 25,
     .speed = 1.2f,
     .rangeFactor = 1.0f,
     .lead = 1.0f,
     .windowHigh = NearlyUp,
     .windowLow = BasePlane,
     .clampHigh = NearlyUp,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.1f, -0.25f},
     .muzzleCount = 2,
     .muzzles = {Vector3{0, 0.0625f, 0.95f}, Vector3{0, 0, 1.0f}}},
    // C (the pod's muzzles are laid out below)
    {.typeLine = "Small Missile",
     .shot = ShotClass::SmallMissile,
     .hitPoints = 600,
     .reload = 5,
     .barrels = 18,
     .damage = 20,
     .life = 90,
     .speed = 0.7f,
     .rangeFactor = 0.7f,
     .lead = 0.0f,
     .windowHigh = NearlyUp,
     .windowLow = BelowPlane,
     .clampHigh = NearlyUp,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.3f, -0.05f},
     .muzzleCount = 9},
    // D (three tubes, below)
    {.typeLine = "Missile",
     .shot = ShotClass::Missile,
     .hitPoints = 600,
     .reload = 35,
     .barrels = 3,
     .damage = 50,
     .life = 175,
     .speed = 0.5f,
     .rangeFactor = 0.6f,
     .lead = 0.0f,
     .windowHigh = NearlyUp,
     .windowLow = BelowPlane,
     .clampHigh = 1.0461504f,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.25f, -0.2f},
     .muzzleCount = 3,
     .missileStartSpeed = 0.2f,
     .extras = TurretExtras::Tubes},
    // E (a 2 x 2 grid, below)
    {.typeLine = "Plasma",
     .shot = ShotClass::Plasma,
     .hitPoints = 500,
     .reload = 1,
     .barrels = 4,
     .damage = 8,
     .life = 25,
     .speed = 1.2f,
     .rangeFactor = 1.0f,
     .lead = 1.0f,
     .windowHigh = NearlyUp,
     .windowLow = BasePlane,
     .clampHigh = NearlyUp,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.2f, -0.2f},
     .muzzleCount = 4},
    // F
    {.typeLine = "Plasma",
     .shot = ShotClass::Plasma,
     .hitPoints = 500,
     .reload = 2,
     .barrels = 2,
     .damage = 10,
     .life = 25,
     .speed = 1.2f,
     .rangeFactor = 1.0f,
     .lead = 1.0f,
     .windowHigh = NearlyUp,
     .windowLow = -NearlyUp,
     .clampHigh = NearlyUp,
     .clampLow = -NearlyUp,
     .barrelOffset = {0, 0, 0},
     .muzzleCount = 2,
     .muzzles = Pair(0.2f, 0.5f)},
    // G
    {.typeLine = "Barrage",
     .shot = ShotClass::Barrage,
     .hitPoints = 500,
     .reload = 10,
     .barrels = 1,
     .damage = 40,
     .life = 30,
     .speed = 1.2f,
     .rangeFactor = 1.0f,
     .lead = 1.2f,
     .windowHigh = NearlyUp,
     .windowLow = BasePlane,
     .clampHigh = NearlyUp,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.225f, -0.125f},
     .muzzleCount = 1,
     .muzzles = {Vector3{0, 0, 0.875f}},
     .extras = TurretExtras::Slide},
    // H
    {.typeLine = "Laser",
     .shot = ShotClass::Laser,
     .hitPoints = 400,
     .reload = 14,
     .barrels = 1,
     .damage = 18,
     .life = 10,
     .speed = 30.0f,
     .rangeFactor = 0.1f,
     .lead = 1.0f,
     .windowHigh = NearlyUp,
     .windowLow = BasePlane,
     .clampHigh = NearlyUp,
     .clampLow = BasePlane,
     .barrelOffset = {0, 0.175f, -0.05f},
     .muzzleCount = 1,
     .muzzles = {Vector3{0, 0, 0.35f}}},
    // I
    {.typeLine = "Plasma",
     .shot = ShotClass::Plasma,
     .hitPoints = 500,
     .reload = 2,
     .barrels = 2,
     .damage = 10,
     .life = 25,
     .speed = 1.2f,
     .rangeFactor = 1.0f,
     .lead = 1.0f,
     .windowHigh = NearlyUp,
     .windowLow = -0.21991149f,
     .clampHigh = NearlyUp,
     .clampLow = -0.21991149f,
     .barrelOffset = {0, 0.2f, 0},
     .muzzleCount = 2,
     .muzzles = Pair(0.075f, 0.5f)},
}};

std::array<TurretType, 9> BuildTurretTypes() {
    std::array<TurretType, 9> t = TurretRows;
    // C: a 3 x 3 pod, filled row by row from the top right.
    for (int i = 0; i < 9; ++i)
        t[TurretC].muzzles[size_t(i)] = {-0.05f * float(i % 3) - 0.075f, 0.05f - 0.05f * float(i / 3), 0.15f};
    // D: three tubes side by side on top of the launcher.
    for (int i = 0; i < 3; ++i) t[TurretD].muzzles[size_t(i)] = {0.15f - 0.15f * float(i), 0.25f, 0.1f};
    // E: a 2 x 2 grid.
    for (int i = 0; i < 4; ++i)
        t[TurretE].muzzles[size_t(i)] = {0.1f * float(i % 2) - 0.05f, 0.05f - 0.1f * float(i / 2), 1.0f};
    return t;
}

constexpr Vector3 X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};
constexpr Vector3 NX{-1, 0, 0}, NY{0, -1, 0}, NZ{0, 0, -1};

// Station types 01..12. The panels of 02 and 12 stand on rings, laid out below.
constexpr StationType StationRows[] = {
    // 01
    {.codeName = "Fresh Air",
     .hitPoints = 2400,
     .launchPoint = {-3.5f, 0, 0},
     .launchUp = Y,
     .launchForward = NX,
     .panelCount = 4,
     .panels = {PanelMount{.type = PanelA, .position = {0, 0.5f, 3}, .axis = Y},
                PanelMount{.type = PanelA, .position = {0.5f, 0, 3}, .axis = X},
                PanelMount{.type = PanelA, .position = {0, -0.5f, 3}, .axis = NY},
                PanelMount{.type = PanelA, .position = {-0.5f, 0, 3}, .axis = NX}},
     .turretCount = 2,
     .turrets = {TurretMount{.type = TurretA, .position = {0, 0.5f, 0}, .forward = {-1, 0, 1}, .up = Y},
                 TurretMount{.type = TurretA, .position = {0, -0.5f, 0}, .forward = {-1, 0, 1}, .up = NY}}},
    // 02
    {.codeName = "Neon Angel",
     .hitPoints = 2100,
     .rotor = RotorSpin::AboutZ,
     .rotorRate = 0.01f,
     .launchPoint = {0, 0, -3},
     .launchUp = X,
     .launchForward = NZ,
     .panelCount = 6,
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretI, .position = {0, 0.5f, -2.5f}, .forward = NZ, .up = Y},
                 TurretMount{.type = TurretI, .position = {0, -0.5f, -2.5f}, .forward = NZ, .up = NY},
                 TurretMount{.type = TurretI, .position = {0, 0, 3.5f}, .forward = Y, .up = Z}}},
    // 03
    {.codeName = "Adjuster",
     .hitPoints = 2400,
     .launchPoint = {0, 0, -2.5f},
     .launchUp = Y,
     .launchForward = NZ,
     .panelCount = 2,
     .panels = {PanelMount{.type = PanelB, .position = {3.5f, 0, -1.5f}, .axis = X},
                PanelMount{.type = PanelB, .position = {-3.5f, 0, -1.5f}, .axis = NX}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretB, .position = {0, 1, 1}, .forward = NZ, .up = Y},
                 TurretMount{.type = TurretB, .position = {0, -1, -1}, .forward = Z, .up = NY},
                 TurretMount{.type = TurretC, .position = {0, 0, 3.5f}, .forward = Y, .up = Z}}},
    // 04
    // Its fighters leave from the mouth of the bow ring, away from the
    // station: launched inside the frame towards its centre, they turned away
    // from the station they had to evade straight into its turrets.
    {.codeName = "Aero King",
     .hitPoints = 2600,
     .launchPoint = {0, 0, 3},
     .launchUp = X,
     .launchForward = Z,
     .panelCount = 6,
     .panels =
         {PanelMount{.type = PanelA, .position = {0, 2, -2.5f}, .axis = Y},
          PanelMount{.type = PanelA, .position = {0, 2, 2.25f}, .axis = Y},
          PanelMount{.type = PanelA, .position = {1.73205f, -1, -2.5f}, .axis = {0.866025f, -0.5f, 0}},
          PanelMount{.type = PanelA, .position = {1.73205f, -1, 2.25f}, .axis = {0.866025f, -0.5f, 0}},
          PanelMount{.type = PanelA, .position = {-1.73205f, -1, -2.5f}, .axis = {-0.866025f, -0.5f, 0}},
          PanelMount{.type = PanelA, .position = {-1.73205f, -1, 2.25f}, .axis = {-0.866025f, -0.5f, 0}}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretA, .position = {0, -1.433f, -1}, .forward = Z, .up = NY},
                 TurretMount{.type = TurretA,
                             .position = {-1.24101f, 0.7165f, -1},
                             .forward = Z,
                             .up = {-0.866025f, 0.5f, 0}},
                 TurretMount{.type = TurretA,
                             .position = {1.24101f, 0.7165f, -1},
                             .forward = Z,
                             .up = {0.866025f, 0.5f, 0}}}},
    // 05
    {.codeName = "Gray Horizon",
     .hitPoints = 2200,
     .launchPoint = {-1, -3, 1.25f},
     .launchUp = X,
     .launchForward = NY,
     .panelCount = 2,
     .panels = {PanelMount{.type = PanelB, .position = {1, 0.5f, 3.75f}, .axis = Z},
                PanelMount{.type = PanelB, .position = {-1, -0.5f, -3.75f}, .axis = NZ}},
     .turretCount = 2,
     .turrets = {TurretMount{.type = TurretE, .position = {1.75f, 0.5f, 0}, .forward = NY, .up = X},
                 TurretMount{.type = TurretE, .position = {-1.75f, -0.5f, 0}, .forward = Y, .up = NX}}},
    // 06
    {.codeName = "Wing Commander",
     .hitPoints = 2600,
     .launchPoint = {3, 0, 3},
     .launchUp = Y,
     .launchForward = X,
     .panelCount = 4,
     .panels = {PanelMount{.type = PanelC, .position = {2.25f, 1.25f, 3}, .axis = NZ},
                PanelMount{.type = PanelC, .position = {0.75f, 1.25f, 3}, .axis = NZ},
                PanelMount{.type = PanelC, .position = {-0.75f, 1.25f, 3}, .axis = NZ},
                PanelMount{.type = PanelC, .position = {-2.25f, 1.25f, 3}, .axis = NZ}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretF, .position = {2.65f, -1, 1.5f}, .forward = X, .up = Z},
                 TurretMount{.type = TurretF, .position = {-2.65f, -1, 1.5f}, .forward = NX, .up = Z},
                 TurretMount{.type = TurretF, .position = {0, 1.25f, -3}, .forward = NZ, .up = X}}},
    // 07
    {.codeName = "Blacksmith",
     .hitPoints = 2500,
     .rotor = RotorSpin::AboutY,
     .rotorRate = 0.015f,
     .rotorModel = 1,
     .launchPoint = {0, 1.85f, -2.5f},
     .launchUp = X,
     .launchForward = Y,
     .panelCount = 4,
     .panels = {PanelMount{.type = PanelA, .position = {0.45f, 0.2f, -2.55f}, .axis = {1, 0, 0.3f}},
                PanelMount{.type = PanelA, .position = {0.45f, 0.2f, -2.95f}, .axis = {1, 0, -0.3f}},
                PanelMount{.type = PanelA, .position = {-0.45f, 0.2f, -2.55f}, .axis = {-1, 0, 0.3f}},
                PanelMount{.type = PanelA, .position = {-0.45f, 0.2f, -2.95f}, .axis = {-1, 0, -0.3f}}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretG, .position = {1.25f, -1.1f, -2.75f}, .forward = NZ, .up = X},
                 TurretMount{.type = TurretG, .position = {-1.25f, -1.1f, -2.75f}, .forward = NZ, .up = NX},
                 TurretMount{.type = TurretD, .position = {0, 2.35f, 1}, .forward = Z, .up = Y}}},
    // 08
    {.codeName = "Static Field",
     .hitPoints = 2500,
     .launchPoint = {0, 0, 3.5f},
     .launchUp = Y,
     .launchForward = Z,
     .panelCount = 4,
     .panels = {PanelMount{.type = PanelC, .position = {0, 1.25f, 2.75f}, .axis = NZ},
                PanelMount{.type = PanelC, .position = {0, 2.75f, 2.75f}, .axis = NZ},
                PanelMount{.type = PanelC, .position = {0, -1.25f, 2.75f}, .axis = NZ},
                PanelMount{.type = PanelC, .position = {0, -2.75f, 2.75f}, .axis = NZ}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretG, .position = {-1.75f, 0.75f, 1}, .forward = NX, .up = Y},
                 TurretMount{.type = TurretG, .position = {-1.75f, -0.75f, 1}, .forward = NX, .up = NY},
                 TurretMount{.type = TurretG, .position = {3.5f, 0, 0.75f}, .forward = NZ, .up = X}}},
    // 09
    {.codeName = "Moon Cage",
     .hitPoints = 2300,
     .launchPoint = {0.5f, -0.5f, -4.25f},
     .launchUp = {1, 1, 0},
     .launchForward = NZ,
     .panelCount = 4,
     .panels = {PanelMount{.type = PanelA, .position = {0.35f, 0, -1.1f}, .axis = X},
                PanelMount{.type = PanelA, .position = {-0.35f, 0, -1.1f}, .axis = NX},
                PanelMount{.type = PanelA, .position = {0.35f, 0, -2.4f}, .axis = X},
                PanelMount{.type = PanelA, .position = {-0.35f, 0, -2.4f}, .axis = NX}},
     .turretCount = 2,
     .turrets = {TurretMount{.type = TurretF, .position = {0, 1.25f, -1.75f}, .forward = Y, .up = NZ},
                 TurretMount{.type = TurretF, .position = {0, -1.25f, -1.75f}, .forward = NY, .up = NZ}}},
    // 10
    {.codeName = "Stack Fish",
     .hitPoints = 2300,
     .launchPoint = {0, -2.75f, 0},
     .launchUp = Z,
     .launchForward = NY,
     .panelCount = 2,
     .panels = {PanelMount{.type = PanelB, .position = {3.75f, 0.75f, 0}, .axis = X},
                PanelMount{.type = PanelB, .position = {-3.75f, 0.75f, 0}, .axis = NX}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretH, .position = {0, 2.75f, 0}, .forward = Z, .up = Y},
                 TurretMount{.type = TurretB, .position = {0, -1.5f, 1.5f}, .forward = NY, .up = Z},
                 TurretMount{.type = TurretB, .position = {0, -1.5f, -1.5f}, .forward = NY, .up = NZ}}},
    // 11
    {.codeName = "Flat Arrow",
     .hitPoints = 2400,
     .launchPoint = {-3, -1.5f, -3.25f},
     .launchUp = Y,
     .launchForward = NX,
     .panelCount = 4,
     .panels = {PanelMount{.type = PanelA, .position = {1, 0, 3.25f}, .axis = X},
                PanelMount{.type = PanelA, .position = {1, -1.5f, 3.25f}, .axis = X},
                PanelMount{.type = PanelC, .position = {-0.75f, -1.5f, -3}, .axis = Z},
                PanelMount{.type = PanelC, .position = {-2.25f, -1.5f, -3}, .axis = Z}},
     .turretCount = 3,
     .turrets = {TurretMount{.type = TurretI, .position = {-3, -1.5f, 3.25f}, .forward = Y, .up = NX},
                 TurretMount{.type = TurretH, .position = {3, 0, -2.25f}, .forward = Z, .up = X},
                 TurretMount{.type = TurretI, .position = {0.5f, 2, 1.25f}, .forward = NX, .up = Y}}},
    // 12
    {.codeName = "Metallic Star",
     .hitPoints = 2500,
     .launchPoint = {0, -0.25f, -2.5f},
     .launchUp = Y,
     .launchForward = NZ,
     .panelCount = 7,
     .turretCount = 2,
     .turrets = {TurretMount{.type = TurretE, .position = {0, 0.75f, 0}, .forward = Z, .up = Y},
                 TurretMount{.type = TurretE, .position = {0, -0.75f, 0}, .forward = Z, .up = NY}}},
};
static_assert(std::size(StationRows) == CountryCount, "one station type per country");

// A battle of every country fits the panel and turret pools.
constexpr bool FitsThePools() {
    int panels = 0, turrets = 0;
    for (const StationType& row : StationRows) {
        if (row.panelCount > StationType::MaxPanels || row.turretCount > StationType::MaxTurrets)
            return false;
        panels += row.panelCount;
        turrets += row.turretCount;
    }
    return panels <= PanelCapacity && turrets <= TurretCapacity;
}
static_assert(FitsThePools(), "the stations' panels and turrets fit their pools");

std::array<StationType, CountryCount> BuildStationTypes() {
    std::array<StationType, CountryCount> s;
    std::copy(std::begin(StationRows), std::end(StationRows), s.begin());
    // 02: six panels on a ring about the station's Z axis, 60 degrees apart.
    for (int i = 0; i < 6; ++i) {
        float theta = float(i) * 1.0471976f;
        float sn = std::sin(theta), cs = std::cos(theta);
        s[1].panels[size_t(i)] = {
            .type = PanelA, .position = {0.3f * sn, 0.3f * cs, 1.5f}, .axis = {sn, cs, 0}};
    }
    // 12: seven panels on a ring about the station's Y axis, from 135 degrees
    // down in steps of 45, alternately above and below the equator.
    for (int i = 0; i < 7; ++i) {
        float phi = (135.0f - 45.0f * float(i)) * std::numbers::pi_v<float> / 180.0f;
        float sn = std::sin(phi), cs = std::cos(phi);
        float y = i % 2 == 0 ? 0.25f : -0.25f;
        s[11].panels[size_t(i)] = {.type = PanelA, .position = {3 * sn, y, 3 * cs}, .axis = {sn, 0, cs}};
    }
    return s;
}

} // namespace

const PanelType& GetPanelType(PanelKind kind) {
    return PanelTypes[kind];
}

const TurretType& GetTurretType(TurretKind kind) {
    static const std::array<TurretType, 9> types = BuildTurretTypes();
    return types[size_t(kind)];
}

const std::array<StationType, CountryCount>& StationTypeTable() {
    static const std::array<StationType, CountryCount> types = BuildStationTypes();
    return types;
}
