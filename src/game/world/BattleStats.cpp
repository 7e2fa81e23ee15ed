#include "game/world/BattleStats.h"

#include "platform/Log.h"

namespace {
bool Valid(int country) { return country >= 0 && country < BattleStats::Countries; }
} // namespace

void BattleStats::StartCountry(int country, int team) {
    if (!Valid(country)) {
        Log("戦績: 国番号 %d は範囲外です.\n", country);
        return;
    }
    rows[size_t(country)] = {};
    rows[size_t(country)][TeamNumber] = team;
}

void BattleStats::CountDestroyed(UnitFamily family, int killerCountry, int ownerCountry) {
    Column destroyed = FightersDestroyed;
    switch (family) {
    case UnitFamily::Station: destroyed = StationsDestroyed; break;
    case UnitFamily::Panel: destroyed = PanelsDestroyed; break;
    case UnitFamily::Turret: destroyed = TurretsDestroyed; break;
    case UnitFamily::Fighter: destroyed = FightersDestroyed; break;
    }
    if (killerCountry >= 0) Add(killerCountry, destroyed);
    // Each lost column sits right after its destroyed column.
    Add(ownerCountry, Column(destroyed + 1));
}

void BattleStats::SetScore(int country, int score) {
    if (Valid(country)) rows[size_t(country)][Score] = score;
}

int BattleStats::Get(int country, Column column) const {
    if (!Valid(country) || column < 0 || column >= ColumnCount) return 0;
    return rows[size_t(country)][column];
}

void BattleStats::Add(int country, Column column) {
    if (!Valid(country)) {
        // The display set's units (team 0) belong to real countries too, so
        // this only happens with bad data.
        Log("戦績: 国番号 %d は範囲外です.\n", country);
        return;
    }
    ++rows[size_t(country)][column];
}
