#include "game/flow/BattleFactories.h"
#include "game/replay/ReplayFiles.h"
#include "game/replay/ReplayFormat.h"
#include "game/replay/ReplayRun.h"
#include "platform/Input.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"
#include "support/TempDir.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

CountrySelection TwoCountries() {
    CountrySelection selection;
    selection.Place(2, 0, 1);
    selection.Place(7, 5, 3);
    selection.playerSlot = 5;
    selection.slotTeam[9] = 4;
    selection.fightersPerTeam = 1;
    return selection;
}

ReplayStep Step(int action, int edge, int dx = 0, int dy = 0, int wheel = 0, bool skipped = false) {
    ReplayStep step;
    if (action >= 0) step.input.actions[size_t(action)] = uint8_t(edge);
    step.input.dx = dx;
    step.input.dy = dy;
    step.input.wheel = wheel;
    step.skipped = skipped;
    return step;
}

// A replay of `steps` steps: a few of every kind, the rest quiet.
std::vector<uint8_t> Recorded(uint32_t steps, int width = 800, int height = 600,
                              const CountrySelection& selection = TwoCountries()) {
    ReplayWriter writer("test build", width, height, 1, 0xDEADBEEF, selection);
    WorldChecksum sum;
    for (uint32_t s = 1; s <= steps; ++s) {
        writer.Step(s % 97 == 0 ? Step(MainWeapon, Input::Pressed, 3, -4, -120) : ReplayStep{});
        sum.scores[1] = int32_t(s);
        if (s % replay::CheckpointSteps == 0) writer.Checkpoint(sum);
    }
    return writer.Finish({{2, {1, 0, 0, 0, 0, 0, 0, 0, 0, -30}}, {7, {3, 1, 0, 0, 0, 0, 0, 2, 0, 250}}});
}

std::string ParseError(const std::vector<uint8_t>& bytes) {
    Replay replay;
    std::string error;
    if (ParseReplay(bytes.data(), bytes.size(), replay, error)) return "(read)";
    return error.empty() ? "(no reason)" : error;
}

} // namespace

TEST(ReplayFormat, StepsCheckpointsAndTableComeBackAsWritten) {
    const CountrySelection selection = TwoCountries();
    ReplayWriter writer("build 7", 1024, 768, 2, 0x80000001u, selection);
    // Edges of one key, motion, the mouse's buttons, Alt, Escape, a step the
    // device could not draw, and motion beyond any screen (kept at the limit).
    std::vector<ReplayStep> steps = {Step(ThrottleUp, Input::Pressed),
                                     Step(ThrottleUp, Input::Held),
                                     Step(ThrottleUp, Input::Held, 5, -7),
                                     Step(ThrottleUp, Input::Released),
                                     Step(-1, 0, 0, 0, -240),
                                     Step(-1, 0, 1, 1, 0, true),
                                     Step(MyFighter, Input::Pressed, 1 << 30, -(1 << 30))};
    ReplayStep buttons;
    buttons.input.left = Input::Pressed;
    buttons.input.right = Input::Held;
    buttons.input.escape = Input::Pressed;
    buttons.input.alt = true;
    steps.push_back(buttons);
    for (int i = 0; i < 292; ++i) steps.push_back({});
    for (const ReplayStep& step : steps) writer.Step(step);
    WorldChecksum sum;
    sum.units[3][2] = 0xFFFFFFFFu;
    sum.scores[11] = -77;
    writer.Checkpoint(sum);
    const std::vector<ReplayRow> table = ResultRows(selection, BattleStats{});
    const std::vector<uint8_t> bytes = writer.Finish(table);

    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay(bytes.data(), bytes.size(), replay, error)) << error;
    EXPECT_EQ(replay.buildId, "build 7");
    EXPECT_EQ(replay.width, 1024);
    EXPECT_EQ(replay.height, 768);
    EXPECT_EQ(replay.uiScale, 2);
    EXPECT_EQ(replay.seed, 0x80000001u);
    EXPECT_EQ(replay.selection.slotCountry, selection.slotCountry);
    EXPECT_EQ(replay.selection.slotTeam, selection.slotTeam) << "an empty slot's team counts for the player";
    EXPECT_EQ(replay.selection.playerSlot, 5);
    EXPECT_EQ(replay.selection.fightersPerTeam, 1);
    ASSERT_EQ(replay.checkpoints.size(), 1u);
    EXPECT_EQ(replay.checkpoints[0].step, 300u);
    EXPECT_EQ(replay.checkpoints[0].sum, sum);
    EXPECT_EQ(replay.table, table);

    steps[6].input.dx = replay::MaxMotion;
    steps[6].input.dy = -replay::MaxMotion;
    ReplaySteps read(replay);
    ReplayStep step;
    for (size_t i = 0; i < steps.size(); ++i) {
        ASSERT_TRUE(read.Next(step)) << i;
        EXPECT_EQ(step.input, steps[i].input) << "step " << i;
        EXPECT_EQ(step.skipped, steps[i].skipped) << "step " << i;
    }
    EXPECT_FALSE(read.Next(step));
}

TEST(ReplayFormat, QuietStepsCostAlmostNothing) {
    auto quiet = [](int steps) {
        ReplayWriter writer("", 640, 480, 1, 1, TwoCountries());
        for (int i = 0; i < steps; ++i) writer.Step({});
        return writer.Finish({}).size();
    };
    EXPECT_LE(quiet(299), quiet(2) + 2)
        << "a run of quiet steps is one count (it and the step count grow a byte)";
    EXPECT_EQ(quiet(1), quiet(0) + 1);
    // Ten minutes with a change every 97 steps: checkpoints and changes, well under a byte a step.
    EXPECT_LT(Recorded(18000).size(), 18000u / 2);
}

TEST(ReplayFormat, BadFilesAreRefusedWithTheirReason) {
    const std::vector<uint8_t> good = Recorded(600);
    ASSERT_EQ(ParseError(good), "(read)");
    // Header offsets of this file: magic 0..7, version 8, build id 9..19,
    // width 20..21, height 22..23, UI scale 24, seed 25..28, fighters 29, player 30, slots 31.
    auto with = [&](size_t at, std::vector<uint8_t> bytes, size_t replace = 1) {
        std::vector<uint8_t> file = good;
        file.erase(file.begin() + ptrdiff_t(at), file.begin() + ptrdiff_t(at + replace));
        file.insert(file.begin() + ptrdiff_t(at), bytes.begin(), bytes.end());
        return file;
    };
    ASSERT_EQ(good[31], CountryCount);
    // The end record, then the two rows of the table (24 bytes).
    const size_t end = good.size() - 25;
    ASSERT_EQ(good[end], 0x22);
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        std::string reason;
    } cases[] = {
        {"empty", {}, "wrong magic"},
        {"wrong magic", with(7, {'X'}), "wrong magic"},
        {"version 2", with(8, {2}), "version 2 is not known"},
        {"width 0", with(20, {0}, 2), "width 0 is outside 1..16384"},
        {"height 100000", with(22, {0xA0, 0x8D, 0x06}, 2), "height 100000 is outside"},
        {"UI scale 0", with(24, {0}), "UI scale 0 is outside 1..16"},
        {"thirteen slots", with(31, {13}), "13 slots"},
        {"a country twice", with(32, {14}), std::string("places ") + CountryName(7) + " twice"},
        {"truncated in the header", std::vector<uint8_t>(good.begin(), good.begin() + 25), "truncated"},
        {"counts beyond the file", std::vector<uint8_t>(good.begin(), good.begin() + 100), "more than its"},
        {"a byte after the end", with(good.size(), {0}, 0), "after the end"},
        {"an unknown record", with(end, {0x23}, 0), "unknown record 35"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ParseError(c.file).find(c.reason), std::string::npos)
            << c.name << ": " << ParseError(c.file);

    // Every shorter file and every byte flipped: a reason or a replay, never a crash.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_NE(ParseError(std::vector<uint8_t>(good.begin(), good.begin() + ptrdiff_t(n))), "(read)") << n;
    for (size_t at = 0; at < good.size(); ++at) {
        std::vector<uint8_t> file = good;
        file[at] ^= 0xFF;
        ParseError(file);
    }
}

TEST(ReplayFormat, ChecksumNamesTheCountryAndFamilyThatDiffer) {
    WorldTestKit kit;
    TestUnit* fighter = kit.Make(UnitFamily::Fighter, 1, 4, 10, {1, 2, 3});
    kit.Make(UnitFamily::Station, 2, 9, 100, {-5, 0, 0});
    ASSERT_NE(fighter, nullptr);
    const WorldChecksum before = ChecksumWorld(*kit.world);
    EXPECT_EQ(DescribeDifference(before, ChecksumWorld(*kit.world)), "");

    fighter->hp = 9;
    EXPECT_EQ(DescribeDifference(before, ChecksumWorld(*kit.world)),
              std::string(CountryName(4)) + "'s fighters differ (slot, position, orientation or hit points)");
    fighter->hp = 10;
    fighter->node->SetPosition({1, 2, 3.001f});
    EXPECT_NE(DescribeDifference(before, ChecksumWorld(*kit.world)), "") << "a moved unit";
    fighter->node->SetPosition({1, 2, 3});
    kit.stats.SetScore(9, 40);
    EXPECT_EQ(DescribeDifference(before, ChecksumWorld(*kit.world)),
              std::string(CountryName(9)) + "'s score is 40, recorded 0");
}

TEST(ReplayFormat, VerifyStopsAtTheFirstDifferenceAndNamesIt) {
    Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
    graphics.resources = &ResourceTable::Embedded();
    BattleFamilies families;
    families.Load(graphics);
    auto install = [&families](World& world) { families.Install(world); };
    ReplayBattle battle;
    battle.selection = TwoCountries();
    battle.seed = 3;
    // The camera turns now and then; Escape after 610 steps.
    const ReplayRunResult recorded =
        RunReplayBattle(graphics, battle, install, [](const World&, uint32_t step, ReplayStep& next) {
            next = {};
            next.input.right = step % 100 < 20 ? Input::Held : 0;
            next.input.dx = step % 100 < 20 ? 5 : 0;
            next.input.escape = step == 609 ? Input::Pressed : 0;
            return step < 700;
        });
    EXPECT_EQ(recorded.steps, 610u);
    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay(recorded.file.data(), recorded.file.size(), replay, error)) << error;
    ASSERT_EQ(replay.checkpoints.size(), 2u);

    EXPECT_EQ(RunReplay(graphics, replay, install, true).difference, "");
    Replay changed = replay;
    changed.table[1].columns[BattleStats::FightersLost] += 1;
    EXPECT_EQ(RunReplay(graphics, changed, install, true).difference,
              "the final table: " + std::string(CountryName(7)) + "'s fighters lost is " +
                  std::to_string(replay.table[1].columns[BattleStats::FightersLost]) + ", recorded " +
                  std::to_string(replay.table[1].columns[BattleStats::FightersLost] + 1));
    changed = replay;
    changed.checkpoints[1].sum.units[2][0] ^= 1;
    const ReplayRunResult stopped = RunReplay(graphics, changed, install, true);
    EXPECT_EQ(stopped.difference, "step 600: " + std::string(CountryName(2)) +
                                      "'s stations differ (slot, position, orientation or hit points)");
    EXPECT_EQ(stopped.steps, 600u) << "it stops there";
}

TEST(ReplayFiles, TheNewestTwentyStayAndNothingElseIsTouched) {
    TempDir folder;
    folder.Write("notes.txt", "mine");
    folder.Write("battle-20000101-000000-000.smreplay", "the oldest");
    const std::vector<uint8_t> bytes = Recorded(10);
    std::string error, last;
    for (int i = 0; i < replay::KeptFiles; ++i)
        last = SaveReplay(folder.path + "/replays", bytes, replay::KeptFiles, error);
    ASSERT_NE(last, "") << error;
    std::filesystem::copy_file(folder.path + "/battle-20000101-000000-000.smreplay",
                               folder.path + "/replays/battle-20000101-000000-000.smreplay");
    last = SaveReplay(folder.path + "/replays", bytes, replay::KeptFiles, error);
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path + "/replays")) {
        ++kept;
        EXPECT_NE(entry.path().filename(), "battle-20000101-000000-000.smreplay") << "the oldest goes";
    }
    EXPECT_EQ(kept, replay::KeptFiles);
    EXPECT_TRUE(folder.Exists("notes.txt"));
    Replay back;
    EXPECT_TRUE(LoadReplay(last, back, error)) << error;

    // A folder that can't be made: the reason, no file, no crash.
    EXPECT_EQ(SaveReplay(folder.path + "/notes.txt/replays", bytes, replay::KeptFiles, error), "");
    EXPECT_NE(error.find("cannot make the replays folder"), std::string::npos) << error;
    EXPECT_FALSE(LoadReplay(folder.path + "/missing.smreplay", back, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}
