#include "ReplayCommand.h"

#include "game/flow/BattleFactories.h"
#include "game/replay/ReplayRun.h"
#include "platform/Log.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr const char* ColumnNames[BattleStats::ColumnCount] = {
    "team",           "stations_killed", "stations_lost",   "panels_killed", "panels_lost",
    "turrets_killed", "turrets_lost",    "fighters_killed", "fighters_lost", "score"};

int ReplayUsage(const char* problem) {
    std::fprintf(stderr, "starmarch-sim: %s\nusage: starmarch-sim --replay FILE [--json] [--verify]\n",
                 problem);
    return 2;
}

// JSON strings here are file names and the game's own messages.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        out += c;
    }
    return out + "\"";
}

} // namespace

int ReplayCommand(int argc, char** argv) {
    bool asked = false;
    for (int i = 1; i < argc; ++i) asked = asked || std::strcmp(argv[i], "--replay") == 0;
    if (!asked) {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], "--verify") == 0) return ReplayUsage("--verify needs --replay FILE");
        return -1;
    }
    std::string path;
    bool json = false, verify = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replay") == 0) {
            if (i + 1 >= argc) return ReplayUsage("--replay needs a file");
            path = argv[++i];
        } else if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--verify") == 0) {
            verify = true;
        } else {
            return ReplayUsage(
                (std::string("--replay takes only --json and --verify, not ") + argv[i]).c_str());
        }
    }

    Replay replay;
    std::string error;
    if (!LoadReplay(path, replay, error)) {
        std::fprintf(stderr, "starmarch-sim: %s\n", error.c_str());
        return 2;
    }

    std::string log;
    SetLogCapture(&log);
    const auto start = std::chrono::steady_clock::now();
    ReplayRunResult result;
    {
        // The models go before the log is let go: their release lines stay captured.
        Graphics graphics(std::make_unique<NullDevice>(), replay.width, replay.height);
        graphics.resources = &ResourceTable::Embedded();
        BattleFamilies families;
        families.Load(graphics);
        result = RunReplay(
            graphics, replay, [&families](World& world) { families.Install(world); }, verify);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    SetLogCapture(nullptr);

    if (json) {
        std::printf(
            "{\"replay\":%s,\"build\":%s,\"seed\":%u,\"size\":[%d,%d],\"steps\":%u,\"participants\":[",
            Quoted(path).c_str(), Quoted(replay.buildId).c_str(), replay.seed, replay.width, replay.height,
            result.steps);
        for (size_t r = 0; r < result.table.size(); ++r) {
            const ReplayRow& row = result.table[r];
            std::printf("%s{\"country\":%d,\"name\":%s,\"stats\":[", r ? "," : "", row.country,
                        Quoted(CountryName(row.country)).c_str());
            for (int k = 0; k < BattleStats::ColumnCount; ++k)
                std::printf("%s%d", k ? "," : "", row.columns[size_t(k)]);
            std::printf("]}");
        }
        std::printf("]");
        if (verify)
            std::printf(",\"verified\":%s,\"difference\":%s", result.difference.empty() ? "true" : "false",
                        Quoted(result.difference).c_str());
        std::printf(",\"timing\":{\"total_ms\":%.1f}}\n", ms);
    } else {
        std::printf("%-16s", "country");
        for (const char* name : ColumnNames) std::printf(" %15s", name);
        std::printf("\n");
        for (const ReplayRow& row : result.table) {
            std::printf("%-16s", CountryName(row.country));
            for (int32_t value : row.columns) std::printf(" %15d", value);
            std::printf("\n");
        }
        std::printf("replay %s: seed %u, %dx%d, %u steps in %.0f ms%s\n", path.c_str(), replay.seed,
                    replay.width, replay.height, result.steps, ms,
                    verify && result.difference.empty()
                        ? (", verified: " + std::to_string(replay.checkpoints.size()) +
                           " checkpoints and the table as recorded")
                              .c_str()
                        : "");
    }
    if (verify && !result.difference.empty()) {
        std::fprintf(stderr, "starmarch-sim: %s differs from its recording at %s\n", path.c_str(),
                     result.difference.c_str());
        return 1;
    }
    return 0;
}
