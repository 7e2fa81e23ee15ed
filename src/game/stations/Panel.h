#pragma once

#include "game/types/StationTypes.h"
#include "game/weapons/WeaponSpec.h"
#include "game/world/Unit.h"
#include "render/SceneNode.h"

#include <string>

class Station;

// A solar panel standing out from its station's hull: it repairs the station
// by its capacity every RepairInterval frames while both live, and turns
// about its mount axis to face the light. Owned by the panel pool.
class Panel : public Unit {
public:
    static constexpr int RepairInterval = 30;
    // Frames a destroyed panel tumbles and fades before its pool deletes it.
    static constexpr int FadeFrames = 41;

    // position and axis are in the station's frame; the axis is normalised.
    Panel(Station& station, PanelKind kind, Unit** ownerSlot, const Vector3& position, const Vector3& axis);

    void Describe(std::string& text) const override;
    void OnDestroyed(int killerCountry) override;
    bool Update() override;
    // The station is being deleted first: the panel keeps its place in the
    // world but no longer hangs on it or repairs it.
    void ForgetUnit(const Unit* gone) override;

    // The display station's panel: turned to the light without the station's
    // frame, no repair.
    void DrawShowcase();

    const PanelType& type;
    // Random unit axis the destroyed panel tumbles about.
    Vector3 spinAxis;
    // Unit axis in the station's frame along which the panel stands out.
    Vector3 mountAxis;
    // Drawn; hangs on the station's node.
    SceneNode wing;
    // The unit's node, tested exactly and never drawn; hangs on the station's node.
    SceneNode collisionNode;
    // The repair timer: reloads every RepairInterval frames; damage = capacity.
    WeaponSpec repair;
    // Not owned; null once the station has been deleted.
    Station* station;

private:
    // Orients both nodes: forward along the mount axis, up as near the light
    // as that allows (the light taken into the station's frame).
    void FaceLight();
};
