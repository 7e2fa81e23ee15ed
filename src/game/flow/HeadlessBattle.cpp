#include "game/flow/HeadlessBattle.h"

#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/World.h"
#include "platform/CommandLine.h"
#include "platform/Sound.h"

#include <algorithm>
#include <chrono>

HeadlessBattleResult RunHeadlessBattle(Graphics& graphics, const HeadlessBattleOptions& options,
                                       const FactoryInstaller& install, const HeadlessFrameHooks& hooks) {
    HeadlessBattleResult result;
    // A sound system that never starts: every sound request is counted, none is heard.
    CommandLine noSwitches;
    SoundSystem silence(noSwitches, "./");
    BattleAssets assets(silence);
    assets.LoadMeshes(graphics);
    BattleSetup setup;
    options.selection.FillSetup(setup);

    World world(graphics, assets, result.stats, setup, options.seed);
    if (install) install(world);
    world.ResetWorld();
    result.participants = BeginBattle(world, options.selection);

    result.frameMs.reserve(size_t(std::max(options.frames, 0)));
    for (int frame = 0; frame < options.frames; ++frame) {
        auto start = std::chrono::steady_clock::now();
        if (hooks.beforeStep) hooks.beforeStep(world, frame);
        world.StepBattle();
        if (hooks.afterStep) hooks.afterStep(world, frame);
        auto end = std::chrono::steady_clock::now();
        result.frameMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        result.peakUnits[0] = std::max(result.peakUnits[0], int(world.stations.Count()));
        result.peakUnits[1] = std::max(result.peakUnits[1], int(world.panels.Count()));
        result.peakUnits[2] = std::max(result.peakUnits[2], int(world.turrets.Count()));
        result.peakUnits[3] = std::max(result.peakUnits[3], int(world.fighters.Count()));
        result.peakShots = std::max(result.peakShots, int(world.shots.Count()));
        result.peakEffects[0] = std::max(result.peakEffects[0], int(world.explosions.Count()));
        result.peakEffects[1] = std::max(result.peakEffects[1], int(world.vapour.Count()));
        result.peakEffects[2] = std::max(result.peakEffects[2], int(world.trails.Count()));
    }
    world.ResetWorld();
    return result;
}
