#pragma once

#include "game/types/Countries.h"
#include "game/world/Unit.h"

#include <array>

// The battle's counters per country, read by the result screen. Belongs to
// the game session: it survives the world's reset.
class BattleStats {
public:
    static constexpr int Countries = CountryCount;

    enum Column {
        TeamNumber = 0,
        StationsDestroyed,
        StationsLost,
        PanelsDestroyed,
        PanelsLost,
        TurretsDestroyed,
        TurretsLost,
        FightersDestroyed,
        FightersLost,
        Score,
        ColumnCount
    };

    // A country's record was created: its team number in column 0, the rest cleared.
    void StartCountry(int country, int team);
    // A unit of the family was destroyed: the killer's destroyed column (when
    // somebody is credited, killer >= 0) and the owner's lost column.
    void CountDestroyed(UnitFamily family, int killerCountry, int ownerCountry);
    void SetScore(int country, int score);

    // 0 for a country index outside 0..11.
    int Get(int country, Column column) const;
    void Clear() { rows = {}; }

private:
    // Adds one to a counter; a country outside the table is logged and skipped.
    void Add(int country, Column column);

    std::array<std::array<int, ColumnCount>, Countries> rows{};
};
