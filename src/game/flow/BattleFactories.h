#pragma once

#include "game/stations/StationAssets.h"

class Graphics;
class World;

// The unit families a battle builds, with their models: loaded once, then
// installed into every world so that its countries deploy real stations and
// launch real fighters.
class BattleFamilies {
public:
    void Load(Graphics& graphics);
    void Install(World& world) const;

    StationAssets stations;
};
