#pragma once

#include "game/types/Countries.h"
#include "render/MeshResource.h"

#include <array>

class Graphics;

// The models of the stations, their rotors, panels and turrets: loaded once
// at start-up next to the battle's own assets, shared by every world and
// never changed by a battle. Index i of the station arrays is station type
// i + 1; the panel arrays run A, B, C and the turret arrays A .. I.
class StationAssets {
public:
    static constexpr int StationTypes = CountryCount;
    static constexpr int PanelTypes = 3;
    static constexpr int TurretTypes = 9;

    StationAssets() = default;
    StationAssets(const StationAssets&) = delete;
    StationAssets& operator=(const StationAssets&) = delete;

    // Loads every model by its resource name: the panels, the turrets, then
    // the stations (each with its rotor). A model that fails is logged by its
    // load and stays empty: what shows it is not drawn and cannot be hit.
    void LoadMeshes(Graphics& graphics);

    std::array<MeshResource, StationTypes> hulls;
    // The hulls' collision twins, tested exactly and never drawn.
    std::array<MeshResource, StationTypes> hullCollisions;
    // The rotors of types 02 and 07, visible and collision, in that order.
    std::array<MeshResource, 2> rotors;
    std::array<MeshResource, 2> rotorCollisions;
    std::array<MeshResource, PanelTypes> wings;
    std::array<MeshResource, PanelTypes> wingCollisions;
    std::array<MeshResource, TurretTypes> mounts;
    std::array<MeshResource, TurretTypes> barrels;
    // Turret G's recoiling slide.
    MeshResource slide;
};
