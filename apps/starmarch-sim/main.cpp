// The headless battle lab: battles without a window, exactly as the game
// runs them, reproducible from a seed.
//
//   starmarch-sim [--seed N] [--frames N] [--fighters N] [--player COUNTRY]
//                 --country COUNTRY:TEAM [--country ...] [--json] [--runs N] [--threads N]
//                 [--events FILE] [--render WxH] [--renderer batched|classic]
//                 [--pictures-per-step K] [--snapshot-every N [--snapshot-steps M] --out DIR]
//                 [--measure-from N]
//
// --render draws every frame with the real OpenGL device into an offscreen
// W x H back buffer, seen by the orbit camera of a battle's start, and the
// frame time then counts logic and drawing. With --pictures-per-step K the
// device draws K pictures between every two steps instead of one per step
// (the last of them the step itself), as the game does above 30 pictures a
// second; the frame time then counts a step and its K pictures.
#include "game/flow/BattleFactories.h"
#include "game/flow/CountrySelection.h"
#include "game/flow/HeadlessBattle.h"
#include "game/flow/SettingsTable.h"
#include "platform/HeapPolicy.h"
#include "platform/Log.h"
#include "platform/CommandLine.h"
#include "platform/Usage.h"
#include "platform/Window.h"
#include "render/Graphics.h"
#include "render/SceneNode.h"
#include "render/gl/GlDevice.h"
#include "game/world/World.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <stb_image_write.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

struct Options {
    HeadlessBattleOptions battle;
    bool json = false;
    int runs = 1;
    int threads = 1;
    int renderWidth = 0, renderHeight = 0;
    int snapshotEvery = 0;
    std::string out;
    std::string events;
    // Frames before this one are left out of the timing figures.
    int measureFrom = 0;
    // Draw with the fixed-function renderer (the reference picture).
    bool classicRenderer = false;
    // Pictures drawn per step, between the last two steps (1: the step's own).
    int picturesPerStep = 1;
    // Steps saved from each snapshot frame on.
    int snapshotSteps = 1;
};

// What the renderer did per measured frame, on average.
struct DrawingFigures {
    double calls = 0, draws = 0, stateChanges = 0, triangles = 0, culled = 0;
    int frames = 0;
};

constexpr const char* ColumnNames[BattleStats::ColumnCount] = {
    "team", "stations_killed", "stations_lost", "panels_killed", "panels_lost",
    "turrets_killed", "turrets_lost", "fighters_killed", "fighters_lost", "score"};

// Parse's answer when the battle should run.
constexpr int Proceed = -1;

// Bad arguments: the problem, where to read more, exit code 2.
int Usage(const std::string& problem) {
    std::fprintf(stderr, "starmarch-sim: %s\nRun starmarch-sim --help for every option.\n", problem.c_str());
    return 2;
}

// A whole number in decimal, as written (a leading zero is not octal).
bool ParseNumber(const char* text, int lo, int hi, int& out) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (!text[0] || *end || errno == ERANGE || value < lo || value > hi) return false;
    out = int(value);
    return true;
}

// A country by index or by name (case as written); -1 when unknown.
int ParseCountry(const std::string& text) {
    int index = -1;
    if (ParseNumber(text.c_str(), 0, CountryCount - 1, index)) return index;
    for (int i = 0; i < CountryCount; ++i)
        if (text == CountryName(i)) return i;
    return -1;
}

int UnknownCountry(const std::string& text) {
    std::fprintf(stderr, "starmarch-sim: unknown country '%s'; the countries are:\n", text.c_str());
    for (int i = 0; i < CountryCount; ++i) std::fprintf(stderr, "  %2d  %s\n", i, CountryName(i));
    return 2;
}

std::string Range(int lo, int hi) { return std::to_string(lo) + ".." + std::to_string(hi); }

// An option whose value is a whole number in lo..hi, shown as its range.
CLI::Option* AddNumber(CLI::App& app, const std::string& name, int& out, int lo, int hi, const std::string& help) {
    CLI::Validator check(
        [lo, hi](std::string& text) {
            int value = 0;
            return ParseNumber(text.c_str(), lo, hi, value) ? std::string() : "needs a whole number " + Range(lo, hi);
        },
        "");
    return app
        .add_option_function<std::string>(
            name, [&out, lo, hi](const std::string& text) { ParseNumber(text.c_str(), lo, hi, out); }, help)
        ->check(check)
        ->type_name(Range(lo, hi));
}

// An option whose value `read` takes into the options, or refuses with the
// reason (any other answer than an empty one).
CLI::Option* AddText(CLI::App& app, const std::string& name, const std::string& shown, const std::string& help,
                     std::function<std::string(const std::string&, Options&)> read, Options& options) {
    CLI::Validator check([read](std::string& text) { Options scratch; return read(text, scratch); }, "");
    return app
        .add_option_function<std::string>(
            name, [read, &options](const std::string& text) { read(text, options); }, help)
        ->check(check)
        ->type_name(shown);
}

std::string CountryList() {
    std::string list;
    for (int i = 0; i < CountryCount; ++i) list += std::string(i ? ", " : "") + std::to_string(i) + " " + CountryName(i);
    return list;
}

int Parse(int argc, char** argv, Options& options) {
    CLI::App app("The headless battle lab: battles without a window, exactly as the game runs them,\n"
                 "reproducible from a seed. Prints the result table, or JSON with --json.",
                 "starmarch-sim");
    app.set_help_flag("-h,--help", "Print this text and exit");
    app.set_version_flag("--version", std::string("starmarch-sim ") + StarmarchVersion, "Print the version and exit");
    // A repeated option takes its last value; only --country adds up.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    int seed = int(options.battle.seed);
    CountrySelection& selection = options.battle.selection;
    std::string player;
    std::vector<std::string> countries;

    AddNumber(app, "--seed", seed, 0, 2147483647, "The battle's seed (default 1); --runs counts up from it");
    AddNumber(app, "--frames", options.battle.frames, 0, 10000000, "Steps of the battle, 30 a second (default 3000)");
    AddNumber(app, "--fighters", selection.fightersPerTeam, 1, MaxFightersPerTeam,
              "Fighters per country (default " + std::to_string(selection.fightersPerTeam) + ")");
    CLI::Option* playerOption = app.add_option("--player", player, "The player's country, one of the --country entries (default none)")
        ->type_name("COUNTRY");
    app.add_option("--country", countries,
                   "A country and its team, TEAM 1.." + std::to_string(MaxTeams) +
                       "; repeat for each country, at least one")
        ->type_name("COUNTRY:TEAM")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->expected(1)
        ->allow_extra_args(false);
    app.add_flag("--json", options.json, "Print one JSON object instead of the table");
    AddNumber(app, "--runs", options.runs, 1, 100000,
              "Battles from consecutive seeds, summarised per country (default 1)");
    AddNumber(app, "--threads", options.threads, 1, 64, "Threads that share the --runs (default 1)");
    app.add_option("--events", options.events, "Write one JSON line per destroyed unit into FILE")
        ->type_name("FILE");
    AddText(app, "--render", "WxH", "Draw every step with OpenGL into an offscreen W x H picture, 64x48..4096x4096",
            [](const std::string& text, Options& into) -> std::string {
                int w = 0, h = 0;
                char rest = 0;
                if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &rest) != 2 || w < 64 || h < 48 || w > 4096 ||
                    h > 4096)
                    return "needs WxH between 64x48 and 4096x4096, for instance 1024x768";
                into.renderWidth = w;
                into.renderHeight = h;
                return "";
            },
            options);
    AddText(app, "--renderer", "batched|classic", "Which renderer draws with --render (default batched)",
            [](const std::string& text, Options& into) -> std::string {
                if (text != "batched" && text != "classic") return "needs batched or classic";
                into.classicRenderer = text == "classic";
                return "";
            },
            options);
    AddNumber(app, "--pictures-per-step", options.picturesPerStep, 1, 16,
              "Pictures drawn between two steps with --render, the last the step itself (default 1)");
    AddNumber(app, "--snapshot-every", options.snapshotEvery, 1, 10000000,
              "Save the picture of every N-th step as a PNG (needs --render and --out)");
    AddNumber(app, "--snapshot-steps", options.snapshotSteps, 1, 1000,
              "Steps saved from each snapshot step on (default 1)");
    app.add_option("--out", options.out, "The folder the snapshots go into")->type_name("DIR");
    AddNumber(app, "--measure-from", options.measureFrom, 0, 10000000,
              "Leave the steps before this one out of the timing (default 0)");
    app.footer("COUNTRY is an index 0.." + std::to_string(CountryCount - 1) + " or a name: " + CountryList() +
               ".\nExit status: 0 done; 1 no OpenGL display for --render, or the pictures or the events could not be\n"
               "written; 2 bad arguments.");
    app.get_formatter()->column_width(32);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& answer) {
        std::printf("%s\n", answer.what());
        return 0;
    } catch (const CLI::ParseError& error) {
        return Usage(error.what());
    }
    options.battle.seed = uint32_t(seed);

    int slot = 0;
    for (const std::string& entry : countries) {
        size_t colon = entry.rfind(':');
        int team = 0;
        if (colon == std::string::npos || !ParseNumber(entry.c_str() + colon + 1, 1, MaxTeams, team))
            return Usage("--country needs COUNTRY:TEAM with TEAM 1.." + std::to_string(MaxTeams));
        int country = ParseCountry(entry.substr(0, colon));
        if (country < 0) return UnknownCountry(entry.substr(0, colon));
        if (slot >= CountryCount || !selection.Place(country, slot, team))
            return Usage("each country may take part once");
        ++slot;
    }
    int playerCountry = -1;
    if (playerOption->count() && (playerCountry = ParseCountry(player)) < 0) return UnknownCountry(player);
    if (slot == 0) return Usage("name at least one --country");
    if (options.snapshotEvery && (options.out.empty() || !options.renderWidth))
        return Usage("--snapshot-every needs --render and --out");
    for (int j = 0; j < CountryCount; ++j)
        if (playerCountry >= 0 && selection.slotCountry[size_t(j)] == playerCountry) selection.playerSlot = j;
    if (playerCountry >= 0 && selection.playerSlot < 0) return Usage("--player must be one of the --country entries");
    return Proceed;
}

struct Timing {
    double mean = 0, p50 = 0, p99 = 0, max = 0;
};

Timing Summarise(std::vector<double> ms, int from = 0) {
    Timing t;
    ms.erase(ms.begin(), ms.begin() + std::min<ptrdiff_t>(from, ptrdiff_t(ms.size())));
    if (ms.empty()) return t;
    t.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size() - 1) + 0.5))]; };
    t.p50 = at(0.5);
    t.p99 = at(0.99);
    t.max = ms.back();
    return t;
}

// The participants in the result screen's first order: by team, then slot.
std::vector<int> ResultOrder(const CountrySelection& selection) {
    std::vector<int> order;
    for (int team = 1; team <= MaxTeams; ++team)
        for (int j = 0; j < CountryCount; ++j)
            if (selection.slotCountry[size_t(j)] >= 0 && selection.slotTeam[size_t(j)] == team)
                order.push_back(selection.slotCountry[size_t(j)]);
    return order;
}

DrawingFigures drawing;

void PrintTable(const Options& options, const HeadlessBattleResult& result) {
    std::printf("%-16s", "country");
    for (const char* name : ColumnNames) std::printf(" %15s", name);
    std::printf("\n");
    for (int country : ResultOrder(options.battle.selection)) {
        std::printf("%-16s", CountryName(country));
        for (int k = 0; k < BattleStats::ColumnCount; ++k)
            std::printf(" %15d", result.stats.Get(country, BattleStats::Column(k)));
        std::printf("\n");
    }
    Timing t = Summarise(result.frameMs, options.measureFrom);
    std::printf("seed %u, %d frames, %s per frame: mean %.3f ms, p50 %.3f ms, p99 %.3f ms, max %.3f ms\n",
                options.battle.seed, options.battle.frames, options.renderWidth ? "logic and drawing" : "logic", t.mean,
                t.p50, t.p99, t.max);
    if (drawing.frames)
        std::printf("%s renderer, per frame: %.0f draw calls of the game, %.1f OpenGL draws, %.1f state changes, "
                    "%.0f triangles, %.1f draws left out of view\n",
                    options.classicRenderer ? "classic" : "batched", drawing.calls, drawing.draws,
                    drawing.stateChanges, drawing.triangles, drawing.culled);
}

void PrintJson(const Options& options, const HeadlessBattleResult& result) {
    std::printf("{\"seed\":%u,\"frames\":%d,\"fighters\":%d,\"participants\":[", options.battle.seed,
                options.battle.frames, options.battle.selection.fightersPerTeam);
    bool first = true;
    for (int country : ResultOrder(options.battle.selection)) {
        std::printf("%s{\"country\":%d,\"name\":\"%s\",\"team\":%d,\"stats\":[", first ? "" : ",", country,
                    CountryName(country), result.stats.Get(country, BattleStats::TeamNumber));
        for (int k = 0; k < BattleStats::ColumnCount; ++k)
            std::printf("%s%d", k ? "," : "", result.stats.Get(country, BattleStats::Column(k)));
        std::printf("]}");
        first = false;
    }
    Timing t = Summarise(result.frameMs, options.measureFrom);
    std::printf("],\"timing\":{\"mean_ms\":%.4f,\"p50_ms\":%.4f,\"p99_ms\":%.4f,\"max_ms\":%.4f},", t.mean, t.p50, t.p99,
                t.max);
    std::printf("\"peak\":{\"stations\":%d,\"panels\":%d,\"turrets\":%d,\"fighters\":%d,\"shots\":%d,"
                "\"explosions\":%d,\"vapour\":%d,\"trails\":%d}}\n",
                result.peakUnits[0], result.peakUnits[1], result.peakUnits[2], result.peakUnits[3], result.peakShots,
                result.peakEffects[0], result.peakEffects[1], result.peakEffects[2]);
}

const char* FamilyName(UnitFamily family) {
    switch (family) {
    case UnitFamily::Station: return "station";
    case UnitFamily::Panel: return "panel";
    case UnitFamily::Turret: return "turret";
    case UnitFamily::Fighter: break;
    }
    return "fighter";
}

// One JSON line per destroyed unit, written as the battle goes; a fighter's
// line also says in which frame it was launched.
class EventLog {
public:
    explicit EventLog(const std::string& path) : file(path.empty() ? nullptr : std::fopen(path.c_str(), "w")) {}
    ~EventLog() {
        if (file) std::fclose(file);
    }
    bool Failed(const std::string& path) const { return !path.empty() && !file; }
    void Attach(World& world, const int& frame) {
        if (!file) return;
        // A fighter is destroyed before its pool deletes it, so the newest
        // launch at its address is its own.
        world.launchFighter = [this, &frame, launch = world.launchFighter](Country& country,
                                                                           int slot) -> Unit* {
            Unit* fighter = launch ? launch(country, slot) : nullptr;
            if (fighter) launchFrames[fighter] = frame;
            return fighter;
        };
        world.onUnitDestroyed = [this, &world, &frame](const Unit& unit, int killerCountry, int killerTeam,
                                                       int points) {
            UnitFamily family = world.FamilyOf(&unit);
            std::fprintf(file,
                         "{\"frame\":%d,\"family\":\"%s\",\"country\":%d,\"team\":%d,\"killer_country\":%d,"
                         "\"killer_team\":%d,\"points\":%d",
                         frame, FamilyName(family), unit.country, unit.team, killerCountry, killerTeam,
                         points);
            auto launched = launchFrames.find(&unit);
            if (family == UnitFamily::Fighter && launched != launchFrames.end())
                std::fprintf(file, ",\"launched\":%d", launched->second);
            std::fprintf(file, "}\n");
        };
    }

private:
    FILE* file;
    std::unordered_map<const Unit*, int> launchFrames;
};

HeadlessBattleResult RunOne(const HeadlessBattleOptions& battle, EventLog* events = nullptr) {
    Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
    graphics.resources = &ResourceTable::Embedded();
    BattleFamilies families;
    families.Load(graphics);
    int frame = 0;
    HeadlessFrameHooks hooks;
    hooks.beforeStep = [&frame](World&, int now) { frame = now; };
    return RunHeadlessBattle(
        graphics, battle,
        [&](World& world) {
            families.Install(world);
            if (events) events->Attach(world, frame);
        },
        hooks);
}

// One battle drawn with OpenGL: the orbit camera of the battle's start looks
// at the stations' average position from 180 units away.
int RunRendered(const Options& options, HeadlessBattleResult& result) {
    if (Window::OpenVideo() != Window::VideoStatus::Ready) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (Window::OpenVideo() != Window::VideoStatus::Ready) {
            std::fprintf(stderr, "starmarch-sim: no OpenGL display, not even SDL's offscreen one\n");
            return 1;
        }
    }
    int status = 0;
    {
        const int w = options.renderWidth, h = options.renderHeight;
        Window window;
        CommandLine commandLine(std::vector<std::string>{"-win"});
        if (!window.Create(w, h)) return 1;
        Graphics graphics(window, commandLine, 1, w, h);
        graphics.classicRenderer = options.classicRenderer;
        // Meters and markers at the UI scale the game would choose (Auto).
        graphics.SetUiScale(ChooseUiScale(0, w, h));
        if (!graphics.Init()) return 1;
        graphics.resources = &ResourceTable::Embedded();
        auto* device = static_cast<GlDevice*>(graphics.device());
        std::vector<uint32_t> pixels(size_t(w) * size_t(h));
        HeadlessFrameHooks hooks;
        hooks.beforeStep = [&](World& world, int) {
            Vector3 at = world.stations.AveragePosition();
            float yaw = 2.1991148f, pitch = 0.47123894f, distance = 180;
            Vector3 eye = at + Vector3{std::cos(pitch) * std::cos(yaw), std::sin(pitch), std::cos(pitch) * std::sin(yaw)} * distance;
            SetCamera(graphics, eye, at, {0, 1, 0});
            graphics.BeginFrame(0xFF000000);
            graphics.SetDirectionalLight(1, -2, 1, 1, 1, 1, 1);
            device->SetRenderState(RenderState::ZFunc, CmpLessEqual);
            device->SetRenderState(RenderState::Lighting, 1);
        };
        auto snapshot = [&](const char* name) {
            device->ReadPixels(pixels);
            std::vector<unsigned char> rgb(pixels.size() * 3);
            for (size_t i = 0; i < pixels.size(); ++i) {
                rgb[i * 3] = (unsigned char)(pixels[i] >> 16);
                rgb[i * 3 + 1] = (unsigned char)(pixels[i] >> 8);
                rgb[i * 3 + 2] = (unsigned char)pixels[i];
            }
            if (!stbi_write_png((options.out + name).c_str(), w, h, 3, rgb.data(), w * 3)) status = 1;
        };
        const bool between = options.picturesPerStep > 1 && graphics.SetStepped(true);
        hooks.afterStep = [&](World&, int frame) {
            const bool saved = options.snapshotEvery && frame % options.snapshotEvery < options.snapshotSteps;
            char name[64];
            if (saved && !between) {
                std::snprintf(name, sizeof name, "/frame%06d.png", frame);
                snapshot(name);
            }
            graphics.EndFrame();
            // Pictures between this step and the one before, the last the step itself.
            for (int k = 1; between && k <= options.picturesPerStep; ++k) {
                graphics.PresentPicture(float(k) / float(options.picturesPerStep), 0, 0);
                if (!saved) continue;
                std::snprintf(name, sizeof name, "/frame%06d-%02d.png", frame, k);
                snapshot(name);
            }
            if (frame < options.measureFrom) return;
            const DrawStats& counted = device->LastFrameStats();
            drawing.calls += counted.drawCalls;
            drawing.draws += counted.draws;
            drawing.stateChanges += counted.stateChanges;
            drawing.triangles += counted.triangles;
            drawing.culled += counted.culled;
            ++drawing.frames;
        };
        BattleFamilies families;
        families.Load(graphics);
        result = RunHeadlessBattle(graphics, options.battle, [&](World& world) { families.Install(world); }, hooks);
        if (drawing.frames) {
            const double n = drawing.frames;
            drawing.calls /= n;
            drawing.draws /= n;
            drawing.stateChanges /= n;
            drawing.triangles /= n;
            drawing.culled /= n;
        }
    }
    Window::CloseVideo();
    if (status) std::fprintf(stderr, "starmarch-sim: could not write the snapshots into %s\n", options.out.c_str());
    return status;
}

// Several battles from consecutive seeds on several threads, one world each:
// the mean score, stations lost, fighters destroyed and lost per country.
void RunMany(const Options& options) {
    std::vector<HeadlessBattleResult> results(size_t(options.runs));
    std::mutex next;
    int claimed = 0;
    auto worker = [&] {
        for (;;) {
            int run;
            {
                std::lock_guard lock(next);
                if (claimed >= options.runs) return;
                run = claimed++;
            }
            HeadlessBattleOptions battle = options.battle;
            battle.seed = options.battle.seed + uint32_t(run);
            results[size_t(run)] = RunOne(battle);
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < options.threads; ++i) threads.emplace_back(worker);
    for (std::thread& thread : threads) thread.join();

    std::printf("%d battles from seed %u, %d frames each\n%-16s %12s %14s %17s %15s\n", options.runs,
                options.battle.seed, options.battle.frames, "country", "mean_score", "stations_lost",
                "fighters_killed", "fighters_lost");
    for (int country : ResultOrder(options.battle.selection)) {
        double score = 0, stations = 0, killed = 0, lost = 0;
        for (const HeadlessBattleResult& r : results) {
            score += r.stats.Get(country, BattleStats::Score);
            stations += r.stats.Get(country, BattleStats::StationsLost);
            killed += r.stats.Get(country, BattleStats::FightersDestroyed);
            lost += r.stats.Get(country, BattleStats::FightersLost);
        }
        double n = double(results.size());
        std::printf("%-16s %12.1f %14.2f %17.2f %15.2f\n", CountryName(country), score / n, stations / n, killed / n,
                    lost / n);
    }
}

} // namespace

int main(int argc, char** argv) {
    KeepFreedMemoryForReuse();
    Options options;
    if (int answer = Parse(argc, argv, options); answer != Proceed) return answer;
    // The lab prints results, not the loaders' trace.
    std::string log;
    SetLogCapture(&log);
    if (options.runs > 1) {
        RunMany(options);
    } else {
        HeadlessBattleResult result;
        if (options.renderWidth) {
            if (int failed = RunRendered(options, result)) {
                SetLogCapture(nullptr);
                return failed;
            }
        } else {
            EventLog events(options.events);
            if (events.Failed(options.events)) {
                std::fprintf(stderr, "starmarch-sim: cannot write %s\n", options.events.c_str());
                SetLogCapture(nullptr);
                return 1;
            }
            result = RunOne(options.battle, &events);
        }
        if (options.json)
            PrintJson(options, result);
        else
            PrintTable(options, result);
    }
    SetLogCapture(nullptr);
    return 0;
}
