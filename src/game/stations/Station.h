#pragma once

#include "game/types/StationTypes.h"
#include "game/world/Unit.h"
#include "render/SceneNode.h"

#include <array>
#include <string>

class StationAssets;

// A country's home base: a large unit that launches the country's fighters
// and carries its panels and turrets, which are units of their own fixed to
// the station's node. Stations do not move. Once destroyed it takes its
// panels and turrets with it, shakes for DyingFrames frames and bursts.
class Station : public Unit {
public:
    // Frames a destroyed station shakes before it bursts.
    static constexpr int DyingFrames = 60;

    // Places hull and collision node at position with the given axes and
    // builds the rotor, whose collision node is a second hit-table entry of
    // this station. Panels and turrets are added by DeployStation once the
    // station has its place in the pool.
    Station(World& world, const StationAssets& assets, int typeIndex, int team, int country, Unit** ownerSlot,
            const Vector3& position, const Vector3& forward, const Vector3& up);

    void Describe(std::string& text) const override;
    // Its panels and turrets self-destruct without credit, a burst of
    // explosions starts, the player loses their station, the kill is counted.
    void OnDestroyed(int killerCountry) override;
    bool LaunchPose(Vector3& position, Vector3& forward, Vector3& up) const override;
    bool Update() override;
    void ForgetUnit(const Unit* gone) override;
    bool OwnsSlot(Unit* const* slot) const override;

    // The display station of the country selection, once per frame instead of
    // Update: writes its numbers, spins slowly and draws itself whole.
    void Showcase(std::string& text);

    int LivePanels() const;
    int LiveTurrets() const;

    const StationType& type;
    const StationAssets& assets;
    const char* codeName;
    int panelCount;
    int turretCount;
    // In the station's frame.
    Vector3 launchPoint;
    Vector3 launchUp;
    Vector3 launchForward;
    // What is drawn.
    SceneNode hull;
    // The unit's node: tested exactly, never drawn. Panels and turrets hang on it.
    SceneNode collisionNode;
    // Types with a rotor only: both hang on the hull and turn every frame.
    SceneNode rotor;
    SceneNode rotorCollision;
    // The first panelCount / turretCount entries are the slots of the
    // station's panels and turrets (owned by their pools); a slot is cleared
    // when its unit is destroyed.
    std::array<Unit*, StationType::MaxPanels> panels{};
    std::array<Unit*, StationType::MaxTurrets> turrets{};

private:
    bool HasRotor() const { return type.rotor != RotorSpin::None; }
    // Turns the rotor's two nodes and draws the visible one.
    void UpdateRotor();
    // The slanted frame around the station in meter mode 2.
    void DrawMarker() const;
};

// Builds a station of typeIndex (0..11, type 01..12) into the world's station
// pool with its panels and turrets, and stores it in *ownerSlot. Null (and
// nothing made) when the type is unknown (logged) or the pool is full.
Station* DeployStation(World& world, const StationAssets& assets, int typeIndex, int team, int country,
                       Unit** ownerSlot, const Vector3& position, const Vector3& forward, const Vector3& up);

// Makes the world's station factory build each country's own station type
// from these models. The models must outlive the world.
void InstallStationFactory(World& world, const StationAssets& assets);
