#pragma once

#include "game/flow/HeadlessBattle.h"
#include "game/replay/ReplayFormat.h"

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
};

// Plays a replay's battle through the battle frame without a window, on
// graphics of the replay's back-buffer size (a NullDevice will do); sound
// stays silent. With verify it compares every checkpoint and the final table
// and stops at the first difference.
ReplayRunResult RunReplay(Graphics& graphics, const Replay& replay, const FactoryInstaller& install, bool verify);
