#include "game/replay/ReplayRun.h"

#include "game/flow/BattleFrame.h"
#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/World.h"
#include "platform/CommandLine.h"
#include "platform/Sound.h"
#include "render/Graphics.h"

namespace {

// The battle screen without a screen: no sounds, no pointer; Escape records
// the last step and resets the world.
class ReplayHost : public BattleHost {
public:
    ReplayHost(World& world, ReplayWriter& writer) : world(world), writer(writer) {
        overlay.drawText = [](int, int, const std::string&, uint32_t) {};
        overlay.countryName = [](int country) { return std::string(CountryName(country)); };
    }
    void PlayHover() override {}
    void PlayClick() override {}
    void Leave() override {
        writer.Step(step);
        writer.AfterStep(world);
        left = true;
        world.ResetWorld();
    }
    void PlaceListener(const Matrix&) override {}
    void DrawCursor(int, int, bool, bool) override {}

    World& world;
    ReplayWriter& writer;
    ReplayStep step;
    bool left = false;
};

// Stops at the checkpoint that differs; checked after every step.
using CheckpointCheck = std::function<bool(const ReplayWriter& writer, ReplayRunResult& result)>;

ReplayRunResult Run(Graphics& graphics, const ReplayBattle& battle, const FactoryInstaller& install,
                    const ReplayInputSource& source, const CheckpointCheck& check) {
    ReplayRunResult result;
    graphics.SetUiScale(battle.uiScale);
    CommandLine noSwitches;
    SoundSystem silence(noSwitches, "./");
    BattleAssets assets(silence);
    assets.LoadMeshes(graphics);
    BattleSetup setup;
    battle.selection.FillSetup(setup);

    World world(graphics, assets, result.stats, setup, battle.seed);
    if (install) install(world);
    world.ResetWorld();
    result.participants = BeginBattle(world, battle.selection);

    ReplayWriter writer(GameBuildId(), battle.width, battle.height, battle.uiScale, battle.seed,
                        battle.selection);
    ReplayHost host(world, writer);
    host.overlay.participantCount = result.participants;
    ReplayStep step;
    while (!host.left && source(world, result.steps, step)) {
        host.step = step;
        BattleFrameEnd end = BattleFrameEnd::Presented;
        if (step.skipped)
            SkipBattleFrame(world, step.input);
        else
            end = RunBattleFrame(world, step.input, host);
        if (end != BattleFrameEnd::Left) {
            writer.Step(step);
            writer.AfterStep(world);
        }
        ++result.steps;
        if (check && !check(writer, result)) break;
    }
    // The table is read before the reset, as the battle screen's Escape does.
    if (!host.left) world.ResetWorld();
    result.table = ResultRows(battle.selection, result.stats);
    result.file = writer.Finish(result.table);
    return result;
}

} // namespace

ReplayRunResult RunReplayBattle(Graphics& graphics, const ReplayBattle& battle,
                                const FactoryInstaller& install, const ReplayInputSource& source) {
    return Run(graphics, battle, install, source, {});
}

ReplayRunResult RunReplay(Graphics& graphics, const Replay& replay, const FactoryInstaller& install,
                          bool verify) {
    const ReplayBattle battle{replay.width, replay.height, replay.uiScale, replay.seed, replay.selection};
    ReplaySteps steps(replay);
    size_t compared = 0;
    uint32_t checked = 0;
    auto check = [&](const ReplayWriter& writer, ReplayRunResult& result) {
        if (writer.Steps() == checked || writer.Steps() % replay::CheckpointSteps != 0) return true;
        checked = writer.Steps();
        if (compared >= replay.checkpoints.size() || replay.checkpoints[compared].step != checked)
            return true;
        const std::string difference =
            DescribeDifference(replay.checkpoints[compared++].sum, writer.LastChecksum());
        if (difference.empty()) return true;
        result.difference = "step " + std::to_string(checked) + ": " + difference;
        return false;
    };
    ReplayRunResult result = Run(
        graphics, battle, install,
        [&steps](const World&, uint32_t, ReplayStep& next) { return steps.Next(next); },
        verify ? CheckpointCheck(check) : CheckpointCheck());
    if (verify && result.difference.empty()) {
        if (result.steps != replay.steps)
            result.difference = "the battle ended after step " + std::to_string(result.steps) +
                                ", recorded " + std::to_string(replay.steps);
        else if (std::string d = DescribeTableDifference(replay.table, result.table); !d.empty())
            result.difference = "the final table: " + d;
    }
    return result;
}
