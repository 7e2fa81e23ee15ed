#include "game/replay/ReplayRun.h"

#include "game/flow/BattleFrame.h"
#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/World.h"
#include "platform/CommandLine.h"
#include "platform/Sound.h"

namespace {

// The battle screen without a screen: no sounds, no pointer; Escape checks
// the last step and resets the world.
class ReplayHost : public BattleHost {
public:
    ReplayHost(World& world, ReplayWriter& check) : world(world), check(check) {
        overlay.drawText = [](int, int, const std::string&, uint32_t) {};
        overlay.countryName = [](int country) { return std::string(CountryName(country)); };
    }
    void PlayHover() override {}
    void PlayClick() override {}
    void Leave() override {
        check.Step(step);
        check.AfterStep(world);
        left = true;
        world.ResetWorld();
    }
    void PlaceListener(const Matrix&) override {}
    void DrawCursor(int, int, bool, bool) override {}

    World& world;
    ReplayWriter& check;
    ReplayStep step;
    bool left = false;
};

} // namespace

ReplayRunResult RunReplay(Graphics& graphics, const Replay& replay, const FactoryInstaller& install, bool verify) {
    ReplayRunResult result;
    CommandLine noSwitches;
    SoundSystem silence(noSwitches, "./");
    BattleAssets assets(silence);
    assets.LoadMeshes(graphics);
    BattleSetup setup;
    replay.selection.FillSetup(setup);

    World world(graphics, assets, result.stats, setup, replay.seed);
    if (install) install(world);
    world.ResetWorld();
    result.participants = BeginBattle(world, replay.selection);

    // The run writes its own checkpoints as the game did, and compares them.
    ReplayWriter check(GameBuildId(), replay.width, replay.height, replay.seed, replay.selection);
    ReplayHost host(world, check);
    host.overlay.participantCount = result.participants;
    ReplaySteps steps(replay);
    size_t compared = 0;
    ReplayStep step;
    while (!host.left && steps.Next(step)) {
        host.step = step;
        BattleFrameEnd end = BattleFrameEnd::Presented;
        if (step.skipped)
            SkipBattleFrame(world, step.input);
        else
            end = RunBattleFrame(world, step.input, host);
        if (end != BattleFrameEnd::Left) {
            check.Step(step);
            check.AfterStep(world);
        }
        ++result.steps;
        if (!verify || check.Steps() % replay::CheckpointSteps != 0) continue;
        if (compared < replay.checkpoints.size() && check.Steps() == replay.checkpoints[compared].step) {
            const std::string difference = DescribeDifference(replay.checkpoints[compared].sum, check.LastChecksum());
            ++compared;
            if (!difference.empty()) {
                result.difference = "step " + std::to_string(check.Steps()) + ": " + difference;
                break;
            }
        }
    }
    if (!host.left) world.ResetWorld();
    result.table = ResultRows(replay.selection, result.stats);
    if (verify && result.difference.empty()) {
        if (result.steps != replay.steps)
            result.difference = "the battle ended after step " + std::to_string(result.steps) + ", recorded " +
                                std::to_string(replay.steps);
        else if (std::string d = DescribeTableDifference(replay.table, result.table); !d.empty())
            result.difference = "final table: " + d;
    }
    return result;
}
