#pragma once

#include "game/flow/BattleInput.h"
#include "game/flow/CountrySelection.h"
#include "game/world/BattleStats.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class World;

// A replay file: the battle's setup and seed, then what the player did in
// every step, a fingerprint of the world every CheckpointSteps steps, and the
// result table at the end. Numbers are LEB128 varints (signed ones zigzagged)
// unless said otherwise.
//
//   header   "SMREPLAY", version, build id (length + bytes), back-buffer width
//            and height, UI scale, seed (4 bytes, little-endian), fighters per country,
//            the player's slot, the placed slots (slot, country, team each),
//            the number of steps and of checkpoints
//   records  0x00-0x1F  a step; its bits say which fields follow:
//                       1 the buttons word XOR the last step's, 2 dx, 4 dy,
//                       8 wheel, 16 the device could not draw it.
//                       0x00 alone is a quiet step: buttons as before, no motion.
//            0x20       a run of quiet steps: the count (2 or more)
//            0x21       a checkpoint: the step it follows, the hash of each
//                       country's units family by family, every country's score
//            0x22       the end: the result table's rows (country, then every
//                       column), and nothing after it
namespace replay {
constexpr char Magic[8] = {'S', 'M', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr int Version = 1;
constexpr int CheckpointSteps = 300;
constexpr int MaxSize = 16384;
constexpr int MaxUiScale = 16;
constexpr int MaxBuildId = 64;
// What a step's motion and wheel may be: far beyond any screen, short of overflow.
constexpr int MaxMotion = 1 << 20;
// Replay files are read whole; none is near this.
constexpr size_t MaxFileBytes = size_t(64) << 20;
// The files the game keeps in its replays folder.
constexpr int KeptFiles = 20;
constexpr const char* Extension = ".smreplay";
} // namespace replay

// The world's fingerprint: for every country and unit family a hash of each
// unit's slot, position, orientation and hit points, and every country's score.
struct WorldChecksum {
    static constexpr int Families = 4;
    std::array<std::array<uint32_t, Families>, CountryCount> units{};
    std::array<int32_t, CountryCount> scores{};
    bool operator==(const WorldChecksum&) const = default;
};
WorldChecksum ChecksumWorld(const World& world);
// The first difference between a replay's checksum and the world's, for a
// person ("France's score is 40, recorded 60"); empty when they agree.
std::string DescribeDifference(const WorldChecksum& recorded, const WorldChecksum& now);

struct ReplayStep {
    BattleInput input;
    // The device could not draw the step: only the cursor moved.
    bool skipped = false;
};

struct ReplayCheckpoint {
    uint32_t step = 0;
    WorldChecksum sum;
};

// One row of the result table: the country and its columns.
struct ReplayRow {
    int country = 0;
    std::array<int32_t, BattleStats::ColumnCount> columns{};
    bool operator==(const ReplayRow&) const = default;
};

struct Replay {
    int version = replay::Version;
    std::string buildId;
    int width = 640, height = 480;
    // Screen-space things (the pointer among them) count pixels this many times larger.
    int uiScale = 1;
    uint32_t seed = 1;
    // The placed slots, the player's slot and the fighters per country.
    CountrySelection selection;
    uint32_t steps = 0;
    std::vector<ReplayCheckpoint> checkpoints;
    std::vector<ReplayRow> table;
    // The encoded step records, checkpoints included (ReplaySteps reads them).
    std::vector<uint8_t> records;
};

// The result table as the replay keeps it: one row per placed country, in slot order.
std::vector<ReplayRow> ResultRows(const CountrySelection& selection, const BattleStats& stats);
// The first difference between two tables, for a person; empty when equal.
std::string DescribeTableDifference(const std::vector<ReplayRow>& recorded,
                                    const std::vector<ReplayRow>& now);

// Reads and checks a whole replay; on failure says why in words a player can
// act on, and leaves out untouched.
bool ParseReplay(const uint8_t* data, size_t size, Replay& out, std::string& error);
bool LoadReplay(const std::string& path, Replay& out, std::string& error);

// The steps of a parsed replay, one at a time.
class ReplaySteps {
public:
    explicit ReplaySteps(const Replay& replay) : replay(replay) {}
    // False after the last step.
    bool Next(ReplayStep& step);
    uint32_t Done() const { return done; }

private:
    const Replay& replay;
    size_t at = 0;
    uint32_t done = 0, quiet = 0;
    uint64_t buttons = 0;
};

// Builds a replay as the battle goes: the setup first, then every step, the
// world's checkpoints and finally the table.
class ReplayWriter {
public:
    ReplayWriter(const std::string& buildId, int width, int height, int uiScale, uint32_t seed,
                 const CountrySelection& selection);
    void Step(const ReplayStep& step);
    // After each step: every CheckpointSteps steps the world's fingerprint.
    void AfterStep(const World& world);
    void Checkpoint(const WorldChecksum& sum);
    // The whole file, with the final table.
    std::vector<uint8_t> Finish(const std::vector<ReplayRow>& table);
    uint32_t Steps() const { return steps; }
    const WorldChecksum& LastChecksum() const { return last; }

private:
    void FlushQuiet();

    std::string buildId;
    int width, height, uiScale;
    uint32_t seed;
    CountrySelection selection;
    std::vector<uint8_t> records;
    uint32_t steps = 0, checkpoints = 0, quiet = 0;
    uint64_t buttons = 0;
    WorldChecksum last;
};

// The build id the game writes into its replays.
const char* GameBuildId();
