#pragma once

#include "assetgen/Mesh.h"

#include <string>
#include <vector>

namespace assetgen {

struct ModelAsset {
    std::string name;
    Mesh mesh;
};

// Each family of models, finished (compacted) and named as the game loads them.
std::vector<ModelAsset> BuildFighterModels(); // FIGHTER_01 .. FIGHTER_12
std::vector<ModelAsset> BuildStationModels(); // STATION_nn, STATION_CDnn, the rotors and their twins
std::vector<ModelAsset> BuildPanelModels();   // PANEL_A/B/C, PANEL_CDA/CDB/CDC
std::vector<ModelAsset> BuildTurretModels();  // TURRET_AM .. IM, AB .. IB, GS
std::vector<ModelAsset> BuildEffectModels();  // shots, LASER, TRAIL_nn, EXPLOTION, VAPOR, SIGHT, ARROW1/2
std::vector<ModelAsset> BuildLoadingModels(); // OP_00 .. OP_09

// All 97 models.
std::vector<ModelAsset> BuildModels();

} // namespace assetgen
