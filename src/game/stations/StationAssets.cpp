#include "game/stations/StationAssets.h"

#include <cstdio>

namespace {

// Models carry their own colours; no colour key, one mip level.
constexpr uint32_t NoColorKey = 0;
constexpr int MipLevels = 1;

void LoadNamed(MeshResource& mesh, Graphics& graphics, const char* format, int number) {
    char name[32];
    std::snprintf(name, sizeof name, format, number);
    mesh.Load(graphics, name, NoColorKey, MipLevels);
}

void LoadLettered(MeshResource& mesh, Graphics& graphics, const char* format, int index) {
    char name[32];
    std::snprintf(name, sizeof name, format, 'A' + index);
    mesh.Load(graphics, name, NoColorKey, MipLevels);
}

} // namespace

void StationAssets::LoadMeshes(Graphics& graphics) {
    for (int i = 0; i < PanelTypes; ++i) {
        LoadLettered(wings[size_t(i)], graphics, "PANEL_%c", i);
        LoadLettered(wingCollisions[size_t(i)], graphics, "PANEL_CD%c", i);
    }
    for (int i = 0; i < TurretTypes; ++i) {
        LoadLettered(mounts[size_t(i)], graphics, "TURRET_%cM", i);
        LoadLettered(barrels[size_t(i)], graphics, "TURRET_%cB", i);
        // Turret G's slide belongs to its type.
        if (i == 'G' - 'A') slide.Load(graphics, "TURRET_GS", NoColorKey, MipLevels);
    }
    constexpr int RotorTypes[2] = {2, 7};
    for (int i = 0; i < StationTypes; ++i) {
        LoadNamed(hulls[size_t(i)], graphics, "STATION_%02d", i + 1);
        LoadNamed(hullCollisions[size_t(i)], graphics, "STATION_CD%02d", i + 1);
        for (size_t r = 0; r < rotors.size(); ++r) {
            if (RotorTypes[r] != i + 1) continue;
            LoadNamed(rotors[r], graphics, "STATION_%02dR", RotorTypes[r]);
            LoadNamed(rotorCollisions[r], graphics, "STATION_CD%02dR", RotorTypes[r]);
        }
    }
}
