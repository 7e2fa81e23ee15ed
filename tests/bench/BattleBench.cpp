// The logic of a full-load battle frame (twelve countries, ten fighters
// each), measured where the fight is busiest: from frame 3,000 on.
#include "game/flow/BattleFactories.h"
#include "game/flow/CountrySelection.h"
#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/BattleStats.h"
#include "game/world/World.h"
#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"

#include <benchmark/benchmark.h>

namespace {

void FullBattleFrame(benchmark::State& state) {
    std::string log;
    SetLogCapture(&log);
    {
        Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
        graphics.resources = &ResourceTable::Embedded();
        CommandLine noSwitches;
        SoundSystem silence(noSwitches, "./");
        BattleAssets assets(silence);
        assets.LoadMeshes(graphics);
        BattleFamilies families;
        families.Load(graphics);
        CountrySelection selection;
        selection.fightersPerTeam = 10;
        for (int c = 0; c < CountryCount; ++c) selection.Place(c, c, 1 + c % 4);
        BattleStats stats;
        BattleSetup setup;
        selection.FillSetup(setup);
        World world(graphics, assets, stats, setup, 7);
        families.Install(world);
        world.ResetWorld();
        CreateCountryRecords(world, selection);
        StartBattle(world);
        for (int frame = 0; frame < 3000; ++frame) world.StepBattle();
        for (auto _ : state) world.StepBattle();
        state.counters["fighters"] = double(world.fighters.Count());
        state.counters["shots"] = double(world.shots.Count());
        world.ResetWorld();
    }
    SetLogCapture(nullptr);
}

} // namespace

BENCHMARK(FullBattleFrame)->Unit(benchmark::kMillisecond)->Iterations(3000);
