#pragma once

#include "assetgen/Geometry.h"

#include <vector>

namespace assetgen {

// Where things leave a fighter, as (aside, above, ahead) on the model: the
// flight code starts trails, puffs, bolts and missiles at these points, so the
// model puts a nozzle, a barrel or a rail at each.
struct Outlet {
    Vec3 at;
    float width = 0.0f;
};

struct FighterOutlets {
    // Main engines (exhaust towards -z) and retro thrusters (towards +z).
    std::vector<Outlet> engines;
    std::vector<Outlet> retros;
    // Gun muzzles of barrel 1; barrel 0 is the mirror image in x.
    std::vector<Vec3> muzzles;
    // Where missiles start (their centre), and the way they leave.
    std::vector<Vec3> launchers;
    Vec3 launchDirection{0.0f, 0.0f, 1.0f};
};

// Fighter type k + 1 (k = 0 .. 11).
const FighterOutlets& FighterOutletsOf(int type);

} // namespace assetgen
