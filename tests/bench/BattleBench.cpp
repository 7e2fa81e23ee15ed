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
#include "platform/Window.h"
#include "render/Batcher.h"
#include "render/DrawList.h"
#include "render/SceneNode.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

// Keeps the last list it was asked to draw.
class KeepingDevice : public DrawListDevice {
public:
    DrawList last;

protected:
    void RenderList(const DrawList& list, DrawStats&) override { last = list; }
    void ShowPicture() override {}
};

// Sets up the battle on the graphics, runs 3,000 frames, then measures one
// frame per iteration; drawn frames are bracketed like the game's. With
// batch set, the measured part is turning frame 3,000's draw list into
// batches (the CPU's share of the batched renderer), again and again.
void RunBattle(benchmark::State& state, Graphics& graphics, bool drawn, bool batch = false) {
    graphics.resources = &ResourceTable::Embedded();
    {
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
        Vector3 at = world.stations.AveragePosition();
        SetCamera(graphics, at + Vector3{-0.524f, 0.454f, 0.722f} * 180.0f, at, {0, 1, 0});
        if (batch) {
            graphics.BeginFrame(0xFF000000);
            graphics.SetDirectionalLight(1, -2, 1, 1, 1, 1, 1);
            world.StepBattle();
            graphics.EndFrame();
            const DrawList& list = static_cast<KeepingDevice*>(graphics.device())->last;
            BatchedFrame frame;
            for (auto _ : state) BuildBatches(list, 1024, 768, frame);
            state.counters["records"] = double(list.records.size());
            state.counters["batches"] = double(frame.batches.size());
            state.counters["triangles"] = double(frame.triangles);
            world.ResetWorld();
            return;
        }
        for (auto _ : state) {
            if (drawn) {
                graphics.BeginFrame(0xFF000000);
                graphics.SetDirectionalLight(1, -2, 1, 1, 1, 1, 1);
            }
            world.StepBattle();
            if (drawn) graphics.EndFrame();
        }
        state.counters["fighters"] = double(world.fighters.Count());
        state.counters["shots"] = double(world.shots.Count());
        world.ResetWorld();
    }
}

void FullBattleFrame(benchmark::State& state) {
    std::string log;
    SetLogCapture(&log);
    {
        Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
        RunBattle(state, graphics, false);
    }
    SetLogCapture(nullptr);
}

// The CPU's share of the batched renderer for one busy frame at 1024 x 768:
// transforming, lighting and culling what the game drew.
void BatchBusyFrame(benchmark::State& state) {
    std::string log;
    SetLogCapture(&log);
    {
        Graphics graphics(std::make_unique<KeepingDevice>(), 1024, 768);
        RunBattle(state, graphics, false, true);
    }
    SetLogCapture(nullptr);
}

// The same with drawing on this machine's OpenGL (llvmpipe in software
// here), on SDL's offscreen driver when there is no display: width, height,
// and 1 for the fixed-function renderer.
void FullBattleFrameDrawn(benchmark::State& state) {
    if (Window::OpenVideo() != Window::VideoStatus::Ready) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (Window::OpenVideo() != Window::VideoStatus::Ready) {
            state.SkipWithError("no OpenGL");
            return;
        }
    }
    std::string log;
    SetLogCapture(&log);
    {
        const int width = int(state.range(0)), height = int(state.range(1));
        Window window;
        window.Create(width, height);
        CommandLine commandLine(std::vector<std::string>{"-win"});
        Graphics graphics(window, commandLine, 1, width, height);
        graphics.classicRenderer = state.range(2) != 0;
        if (graphics.Init()) RunBattle(state, graphics, true);
    }
    SetLogCapture(nullptr);
    Window::CloseVideo();
}

} // namespace

BENCHMARK(FullBattleFrame)->Unit(benchmark::kMillisecond)->Iterations(3000);
BENCHMARK(BatchBusyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(FullBattleFrameDrawn)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1500)
    ->ArgNames({"w", "h", "classic"})
    ->Args({1024, 768, 0})
    ->Args({1024, 768, 1})
    ->Args({1920, 1080, 0});
