#include "game/replay/ReplayFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

enum Tag : uint8_t { StepFields = 0x1F, QuietRun = 0x20, CheckpointTag = 0x21, EndTag = 0x22 };
enum StepBit : uint8_t { ButtonsBit = 1, DxBit = 2, DyBit = 4, WheelBit = 8, SkippedBit = 16 };

// The buttons word: two bits per action, then the left and right mouse
// buttons and Escape, then Alt.
constexpr int LeftShift = 2 * ActionCount, RightShift = LeftShift + 2, EscapeShift = RightShift + 2,
              AltShift = EscapeShift + 2, ButtonBits = AltShift + 1;
static_assert(ButtonBits <= 64);

uint64_t PackButtons(const BattleInput& in) {
    uint64_t word = 0;
    for (int a = 0; a < ActionCount; ++a) word |= uint64_t(in.actions[size_t(a)] & 3) << (2 * a);
    word |= uint64_t(in.left & 3) << LeftShift;
    word |= uint64_t(in.right & 3) << RightShift;
    word |= uint64_t(in.escape & 3) << EscapeShift;
    word |= uint64_t(in.alt ? 1 : 0) << AltShift;
    return word;
}

void UnpackButtons(uint64_t word, BattleInput& in) {
    for (int a = 0; a < ActionCount; ++a) in.actions[size_t(a)] = uint8_t((word >> (2 * a)) & 3);
    in.left = uint8_t((word >> LeftShift) & 3);
    in.right = uint8_t((word >> RightShift) & 3);
    in.escape = uint8_t((word >> EscapeShift) & 3);
    in.alt = (word >> AltShift) & 1;
}

void PutVarint(std::vector<uint8_t>& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(uint8_t(value | 0x80));
        value >>= 7;
    }
    out.push_back(uint8_t(value));
}
void PutSigned(std::vector<uint8_t>& out, int64_t value) {
    PutVarint(out, (uint64_t(value) << 1) ^ uint64_t(value >> 63));
}

// Reads the file front to back; the first problem stops it and is kept.
class Reader {
public:
    Reader(const uint8_t* data, size_t size, size_t at = 0) : data(data), size(size), at(at) {}

    bool Fail(const std::string& why) {
        if (error.empty()) error = why;
        return false;
    }
    bool Byte(uint8_t& out) {
        if (at >= size) return Fail("the file ends early (truncated)");
        out = data[at++];
        return true;
    }
    bool Varint(uint64_t& out, uint64_t max, const char* what) {
        out = 0;
        for (int shift = 0;; shift += 7) {
            uint8_t b = 0;
            if (!Byte(b)) return false;
            if (shift >= 63 && (b & 0xFE)) return Fail(std::string("a number too large for ") + what);
            out |= uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) break;
        }
        if (out > max) return Fail(std::string(what) + " out of range (" + std::to_string(out) + ")");
        return true;
    }
    bool Number(int& out, int lo, int hi, const char* what) {
        uint64_t v = 0;
        if (!Varint(v, uint64_t(0xFFFFFFFF), what)) return false;
        if (v < uint64_t(lo) || v > uint64_t(hi))
            return Fail(std::string(what) + " " + std::to_string(v) + " is outside " + std::to_string(lo) +
                        ".." + std::to_string(hi));
        out = int(v);
        return true;
    }
    bool Signed(int64_t& out, int64_t lo, int64_t hi, const char* what) {
        uint64_t v = 0;
        if (!Varint(v, UINT64_MAX, what)) return false;
        out = int64_t(v >> 1) ^ -int64_t(v & 1);
        if (out < lo || out > hi)
            return Fail(std::string(what) + " " + std::to_string(out) + " is outside " + std::to_string(lo) +
                        ".." + std::to_string(hi));
        return true;
    }
    size_t Left() const { return size - at; }
    size_t At() const { return at; }

    std::string error;

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

bool ReadChecksum(Reader& in, WorldChecksum& sum) {
    for (auto& country : sum.units)
        for (uint32_t& hash : country) {
            uint64_t v = 0;
            if (!in.Varint(v, 0xFFFFFFFF, "a checkpoint's hash")) return false;
            hash = uint32_t(v);
        }
    for (int32_t& score : sum.scores) {
        int64_t v = 0;
        if (!in.Signed(v, INT32_MIN, INT32_MAX, "a checkpoint's score")) return false;
        score = int32_t(v);
    }
    return true;
}

void PutChecksum(std::vector<uint8_t>& out, const WorldChecksum& sum) {
    for (const auto& country : sum.units)
        for (uint32_t hash : country) PutVarint(out, hash);
    for (int32_t score : sum.scores) PutSigned(out, score);
}

// One step record after its tag; false on a bad field.
bool ReadStep(Reader& in, uint8_t tag, uint64_t& buttons, ReplayStep& step) {
    step = {};
    if (tag & ButtonsBit) {
        uint64_t change = 0;
        if (!in.Varint(change, (uint64_t(1) << ButtonBits) - 1, "a step's buttons")) return false;
        if (change == 0) return in.Fail("a step's buttons say they changed and did not");
        buttons ^= change;
    }
    int64_t v = 0;
    if (tag & DxBit) {
        if (!in.Signed(v, -replay::MaxMotion, replay::MaxMotion, "a step's pointer motion")) return false;
        step.input.dx = int(v);
    }
    if (tag & DyBit) {
        if (!in.Signed(v, -replay::MaxMotion, replay::MaxMotion, "a step's pointer motion")) return false;
        step.input.dy = int(v);
    }
    if (tag & WheelBit) {
        if (!in.Signed(v, -replay::MaxMotion, replay::MaxMotion, "a step's wheel")) return false;
        step.input.wheel = int(v);
    }
    step.skipped = tag & SkippedBit;
    UnpackButtons(buttons, step.input);
    return true;
}

constexpr const char* FamilyNames[WorldChecksum::Families] = {"stations", "panels", "turrets", "fighters"};
constexpr const char* ColumnNames[BattleStats::ColumnCount] = {"team",          "stations destroyed",
                                                               "stations lost", "panels destroyed",
                                                               "panels lost",   "turrets destroyed",
                                                               "turrets lost",  "fighters destroyed",
                                                               "fighters lost", "score"};

} // namespace

const char* GameBuildId() {
    return "Starmarch 1.03";
}

std::string DescribeDifference(const WorldChecksum& recorded, const WorldChecksum& now) {
    for (int c = 0; c < CountryCount; ++c)
        if (recorded.scores[size_t(c)] != now.scores[size_t(c)])
            return std::string(CountryName(c)) + "'s score is " + std::to_string(now.scores[size_t(c)]) +
                   ", recorded " + std::to_string(recorded.scores[size_t(c)]);
    for (int c = 0; c < CountryCount; ++c)
        for (int f = 0; f < WorldChecksum::Families; ++f)
            if (recorded.units[size_t(c)][size_t(f)] != now.units[size_t(c)][size_t(f)])
                return std::string(CountryName(c)) + "'s " + FamilyNames[f] +
                       " differ (slot, position, orientation or hit points)";
    return {};
}

std::vector<ReplayRow> ResultRows(const CountrySelection& selection, const BattleStats& stats) {
    std::vector<ReplayRow> rows;
    for (int country : selection.slotCountry) {
        if (country < 0) continue;
        ReplayRow row;
        row.country = country;
        for (int k = 0; k < BattleStats::ColumnCount; ++k)
            row.columns[size_t(k)] = stats.Get(country, BattleStats::Column(k));
        rows.push_back(row);
    }
    return rows;
}

std::string DescribeTableDifference(const std::vector<ReplayRow>& recorded,
                                    const std::vector<ReplayRow>& now) {
    if (recorded.size() != now.size())
        return "the table has " + std::to_string(now.size()) + " rows, recorded " +
               std::to_string(recorded.size());
    for (size_t r = 0; r < recorded.size(); ++r) {
        if (recorded[r].country != now[r].country)
            return "row " + std::to_string(r + 1) + " is " + CountryName(now[r].country) + ", recorded " +
                   CountryName(recorded[r].country);
        for (int k = 0; k < BattleStats::ColumnCount; ++k)
            if (recorded[r].columns[size_t(k)] != now[r].columns[size_t(k)])
                return std::string(CountryName(now[r].country)) + "'s " + ColumnNames[k] + " is " +
                       std::to_string(now[r].columns[size_t(k)]) + ", recorded " +
                       std::to_string(recorded[r].columns[size_t(k)]);
    }
    return {};
}

bool ParseReplay(const uint8_t* data, size_t size, Replay& out, std::string& error) {
    Replay r;
    if (size < sizeof replay::Magic || std::memcmp(data, replay::Magic, sizeof replay::Magic) != 0) {
        error = "not a replay file (wrong magic)";
        return false;
    }
    Reader in(data, size, sizeof replay::Magic);
    auto failed = [&] {
        error = in.error;
        return false;
    };
    uint64_t version = 0;
    if (!in.Varint(version, UINT64_MAX, "the version")) return failed();
    if (version != uint64_t(replay::Version)) {
        error = "replay format version " + std::to_string(version) +
                " is not known to this game (it reads version " + std::to_string(replay::Version) + ")";
        return false;
    }
    int idLength = 0;
    if (!in.Number(idLength, 0, replay::MaxBuildId, "the build id's length")) return failed();
    if (in.Left() < size_t(idLength)) return in.Fail("the file ends early (truncated)"), failed();
    for (int i = 0; i < idLength; ++i) {
        uint8_t c = 0;
        in.Byte(c);
        r.buildId += char(c >= 0x20 && c < 0x7F ? c : '?');
    }
    if (!in.Number(r.width, 1, replay::MaxSize, "the back-buffer width") ||
        !in.Number(r.height, 1, replay::MaxSize, "the back-buffer height") ||
        !in.Number(r.uiScale, 1, replay::MaxUiScale, "the UI scale"))
        return failed();
    uint8_t seed[4] = {};
    for (uint8_t& b : seed)
        if (!in.Byte(b)) return failed();
    r.seed = uint32_t(seed[0]) | uint32_t(seed[1]) << 8 | uint32_t(seed[2]) << 16 | uint32_t(seed[3]) << 24;

    CountrySelection& s = r.selection;
    int64_t playerSlot = 0;
    int slots = 0;
    if (!in.Number(s.fightersPerTeam, 1, MaxFightersPerTeam, "the fighters per country") ||
        !in.Signed(playerSlot, -1, CountryCount - 1, "the player's slot"))
        return failed();
    uint64_t slotCount = 0;
    if (!in.Varint(slotCount, UINT64_MAX, "the number of slots")) return failed();
    if (slotCount > uint64_t(CountryCount)) {
        error = "the setup has " + std::to_string(slotCount) + " slots; a battle has at most " +
                std::to_string(CountryCount) + " countries";
        return false;
    }
    s.playerSlot = int(playerSlot);
    for (int j = 0; j < int(slotCount); ++j) {
        int64_t country = 0;
        int team = 0;
        if (!in.Signed(country, -1, CountryCount - 1, "a slot's country") ||
            !in.Number(team, 1, MaxTeams, "a slot's team"))
            return failed();
        s.slotTeam[size_t(j)] = team;
        if (country >= 0 && !s.Place(int(country), j, team)) {
            error = std::string("the setup places ") + CountryName(int(country)) + " twice";
            return false;
        }
        slots += country >= 0;
    }
    if (slots == 0) {
        error = "the setup places no country";
        return false;
    }
    uint64_t steps = 0, checkpoints = 0;
    if (!in.Varint(steps, 0xFFFFFFFF, "the number of steps") ||
        !in.Varint(checkpoints, 0xFFFFFFFF, "the number of checkpoints"))
        return failed();
    // A checkpoint takes at least one byte per field; they come every
    // CheckpointSteps steps, so both counts must fit the bytes that are left.
    constexpr size_t CheckpointBytes = 2 + CountryCount * (WorldChecksum::Families + 1);
    if (checkpoints > in.Left() / CheckpointBytes) {
        error = "the file claims " + std::to_string(checkpoints) + " checkpoints, more than its " +
                std::to_string(in.Left()) + " remaining bytes can hold (truncated or corrupted)";
        return false;
    }
    if (steps / replay::CheckpointSteps != checkpoints) {
        error = "the file claims " + std::to_string(steps) + " steps with " + std::to_string(checkpoints) +
                " checkpoints; one comes every " + std::to_string(replay::CheckpointSteps) + " steps";
        return false;
    }
    r.steps = uint32_t(steps);
    const size_t recordsStart = in.At();

    // The records: every field checked, the counts added up.
    uint64_t seen = 0, buttons = 0;
    bool ended = false;
    while (!ended) {
        uint8_t tag = 0;
        if (!in.Byte(tag)) return failed();
        if (tag <= StepFields) {
            ReplayStep step;
            if (!ReadStep(in, tag, buttons, step)) return failed();
            ++seen;
        } else if (tag == QuietRun) {
            uint64_t n = 0;
            if (!in.Varint(n, 0xFFFFFFFF, "a run of quiet steps")) return failed();
            if (n < 2) return in.Fail("a run of fewer than two quiet steps"), failed();
            seen += n;
        } else if (tag == CheckpointTag) {
            ReplayCheckpoint point;
            uint64_t at = 0;
            if (!in.Varint(at, 0xFFFFFFFF, "a checkpoint's step") || !ReadChecksum(in, point.sum))
                return failed();
            const uint64_t expected = uint64_t(r.checkpoints.size() + 1) * replay::CheckpointSteps;
            if (at != expected || seen != expected) {
                error = "a checkpoint after step " + std::to_string(seen) + " says step " +
                        std::to_string(at) + "; the next one belongs after step " + std::to_string(expected) +
                        " (corrupted)";
                return false;
            }
            point.step = uint32_t(at);
            r.checkpoints.push_back(point);
        } else if (tag == EndTag) {
            ended = true;
        } else {
            error = "an unknown record " + std::to_string(tag) + " at byte " + std::to_string(in.At() - 1) +
                    " (corrupted)";
            return false;
        }
        if (seen > steps) {
            error = "the file holds more steps than the " + std::to_string(steps) + " it claims (corrupted)";
            return false;
        }
    }
    const size_t recordsEnd = in.At() - 1;
    if (seen != steps || r.checkpoints.size() != checkpoints) {
        error = "the file holds " + std::to_string(seen) + " steps and " +
                std::to_string(r.checkpoints.size()) + " checkpoints but claims " + std::to_string(steps) +
                " and " + std::to_string(checkpoints) + " (corrupted)";
        return false;
    }
    int rows = 0;
    if (!in.Number(rows, 0, slots, "the result table's rows")) return failed();
    for (int i = 0; i < rows; ++i) {
        ReplayRow row;
        if (!in.Number(row.country, 0, CountryCount - 1, "a result row's country")) return failed();
        for (int32_t& column : row.columns) {
            int64_t v = 0;
            if (!in.Signed(v, INT32_MIN, INT32_MAX, "a result column")) return failed();
            column = int32_t(v);
        }
        r.table.push_back(row);
    }
    if (in.Left() != 0) {
        error = std::to_string(in.Left()) + " bytes after the end of the replay (corrupted)";
        return false;
    }
    r.records.assign(data + recordsStart, data + recordsEnd);
    out = std::move(r);
    return true;
}

bool LoadReplay(const std::string& path, Replay& out, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (length < 0 || uint64_t(length) > replay::MaxFileBytes) {
        error = path + " is not a replay (" + std::to_string(length) + " bytes)";
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), length)) {
        error = "cannot read " + path;
        return false;
    }
    if (!ParseReplay(bytes.data(), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool ReplaySteps::Next(ReplayStep& step) {
    if (done >= replay.steps) return false;
    if (quiet > 0) {
        --quiet;
        step = {};
        UnpackButtons(buttons, step.input);
        ++done;
        return true;
    }
    // The records were checked when the replay was read.
    Reader in(replay.records.data(), replay.records.size(), at);
    for (;;) {
        uint8_t tag = 0;
        if (!in.Byte(tag)) return false;
        if (tag <= StepFields) {
            if (!ReadStep(in, tag, buttons, step)) return false;
            at = in.At();
            ++done;
            return true;
        }
        if (tag == QuietRun) {
            uint64_t n = 0;
            if (!in.Varint(n, 0xFFFFFFFF, "")) return false;
            at = in.At();
            quiet = uint32_t(n);
            return Next(step);
        }
        if (tag != CheckpointTag) return false;
        uint64_t skipStep = 0;
        WorldChecksum skipSum;
        if (!in.Varint(skipStep, 0xFFFFFFFF, "") || !ReadChecksum(in, skipSum)) return false;
    }
}

ReplayWriter::ReplayWriter(const std::string& buildId, int width, int height, int uiScale, uint32_t seed,
                           const CountrySelection& selection)
    : buildId(buildId.substr(0, replay::MaxBuildId)), width(width), height(height), uiScale(uiScale),
      seed(seed), selection(selection) {}

void ReplayWriter::FlushQuiet() {
    if (quiet == 1) records.push_back(0);
    if (quiet > 1) {
        records.push_back(QuietRun);
        PutVarint(records, quiet);
    }
    quiet = 0;
}

void ReplayWriter::Step(const ReplayStep& step) {
    ++steps;
    const uint64_t word = PackButtons(step.input);
    uint8_t tag = 0;
    if (word != buttons) tag |= ButtonsBit;
    if (step.input.dx) tag |= DxBit;
    if (step.input.dy) tag |= DyBit;
    if (step.input.wheel) tag |= WheelBit;
    if (step.skipped) tag |= SkippedBit;
    if (tag == 0) {
        ++quiet;
        return;
    }
    FlushQuiet();
    records.push_back(tag);
    if (tag & ButtonsBit) PutVarint(records, word ^ buttons);
    auto clamp = [](int v) { return std::max(-replay::MaxMotion, std::min(replay::MaxMotion, v)); };
    if (tag & DxBit) PutSigned(records, clamp(step.input.dx));
    if (tag & DyBit) PutSigned(records, clamp(step.input.dy));
    if (tag & WheelBit) PutSigned(records, clamp(step.input.wheel));
    buttons = word;
}

void ReplayWriter::Checkpoint(const WorldChecksum& sum) {
    FlushQuiet();
    records.push_back(CheckpointTag);
    PutVarint(records, steps);
    PutChecksum(records, sum);
    last = sum;
    ++checkpoints;
}

std::vector<uint8_t> ReplayWriter::Finish(const std::vector<ReplayRow>& table) {
    FlushQuiet();
    std::vector<uint8_t> file(std::begin(replay::Magic), std::end(replay::Magic));
    PutVarint(file, replay::Version);
    PutVarint(file, buildId.size());
    file.insert(file.end(), buildId.begin(), buildId.end());
    PutVarint(file, uint64_t(width));
    PutVarint(file, uint64_t(height));
    PutVarint(file, uint64_t(uiScale));
    for (int i = 0; i < 4; ++i) file.push_back(uint8_t(seed >> (8 * i)));
    PutVarint(file, uint64_t(selection.fightersPerTeam));
    PutSigned(file, selection.playerSlot);
    PutVarint(file, CountryCount);
    for (int j = 0; j < CountryCount; ++j) {
        PutSigned(file, selection.slotCountry[size_t(j)]);
        PutVarint(file, uint64_t(selection.slotTeam[size_t(j)]));
    }
    PutVarint(file, steps);
    PutVarint(file, checkpoints);
    file.insert(file.end(), records.begin(), records.end());
    file.push_back(EndTag);
    PutVarint(file, table.size());
    for (const ReplayRow& row : table) {
        PutVarint(file, uint64_t(row.country));
        for (int32_t column : row.columns) PutSigned(file, column);
    }
    return file;
}
