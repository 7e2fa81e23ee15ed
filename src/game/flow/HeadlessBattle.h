#pragma once

#include "game/flow/CountrySelection.h"
#include "game/world/BattleStats.h"

#include <cstdint>
#include <functional>
#include <vector>

class Graphics;
class World;

// A battle without a player: set up as the country selection's "Start" does,
// then run frame after frame of the battle's own step. Used by the headless
// battle lab and by tests.
struct HeadlessBattleOptions {
    uint32_t seed = 1;
    int frames = 3000;
    CountrySelection selection;
};

struct HeadlessBattleResult {
    BattleStats stats;
    int participants = 0;
    // Milliseconds of logic per frame.
    std::vector<double> frameMs;
    // The most live units of each family (stations, panels, turrets, fighters) and shots.
    int peakUnits[4] = {};
    int peakShots = 0;
    // The most live explosions, vapour puffs and trails.
    int peakEffects[3] = {};
};

// Installs the factories that build the real stations and fighters into a world.
using FactoryInstaller = std::function<void(World&)>;

// What a caller adds around each frame's step (drawing, snapshots, events).
// Their time counts in the frame's time.
struct HeadlessFrameHooks {
    std::function<void(World&, int frame)> beforeStep;
    std::function<void(World&, int frame)> afterStep;
};

// Runs one battle on the given graphics (a NullDevice for logic alone). The
// battle's models are loaded from graphics.resources; sound stays silent.
HeadlessBattleResult RunHeadlessBattle(Graphics& graphics, const HeadlessBattleOptions& options,
                                       const FactoryInstaller& install, const HeadlessFrameHooks& hooks = {});
