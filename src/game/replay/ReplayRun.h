#pragma once

#include "game/flow/HeadlessBattle.h"
#include "game/replay/ReplayFormat.h"

#include <functional>
#include <string>
#include <vector>

class Graphics;

struct ReplayRunResult {
    BattleStats stats;
    std::vector<ReplayRow> table;
    uint32_t steps = 0;
    int participants = 0;
    // Where the battle left the recording ("step 600: France's score is 40,
    // recorded 60"); empty when it did not, or when nothing was compared.
    std::string difference;
    // The battle as a replay file, written as it went.
    std::vector<uint8_t> file;
};

// The battle's setup as a replay's header keeps it.
struct ReplayBattle {
    int width = 640, height = 480, uiScale = 1;
    uint32_t seed = 1;
    CountrySelection selection;
};

// The next step's input; false when the battle has no more steps. The world
// is the battle's as the last step left it (read it, don't change it).
using ReplayInputSource = std::function<bool(const World& world, uint32_t step, ReplayStep& next)>;

// A battle without a window, as the battle screen runs it: set up from the
// setup and seed, then step after step through the battle frame with the
// source's input, recorded as it goes. Graphics of the battle's back-buffer
// size (a NullDevice will do); sound stays silent. The battle ends when the
// source has no more steps or Escape leaves it. The battle's UI scale is set
// on the graphics.
ReplayRunResult RunReplayBattle(Graphics& graphics, const ReplayBattle& battle,
                                const FactoryInstaller& install, const ReplayInputSource& source);

// Plays a replay's battle; with verify it compares every checkpoint and the
// final table with the recorded ones and stops at the first difference.
ReplayRunResult RunReplay(Graphics& graphics, const Replay& replay, const FactoryInstaller& install,
                          bool verify);
