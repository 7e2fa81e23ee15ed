// A full battle - twelve countries, ten fighters each - under the sanitizers
// for many frames: no finding, no list past its capacity, and the statistics
// table agrees with the destructions as they happened. Short by default;
// STARMARCH_SOAK_FRAMES=30000 runs it long.
#include "game/flow/BattleFactories.h"
#include "game/flow/HeadlessBattle.h"
#include "game/world/World.h"
#include "platform/Log.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

BattleStats::Column DestroyedColumn(UnitFamily family) {
    switch (family) {
    case UnitFamily::Station: return BattleStats::StationsDestroyed;
    case UnitFamily::Panel: return BattleStats::PanelsDestroyed;
    case UnitFamily::Turret: return BattleStats::TurretsDestroyed;
    case UnitFamily::Fighter: break;
    }
    return BattleStats::FightersDestroyed;
}

} // namespace

TEST(BattleSoak, FullBattleKeepsItsBooks) {
    const char* length = std::getenv("STARMARCH_SOAK_FRAMES");
    int frames = length ? std::atoi(length) : 1500;
    std::string log;
    SetLogCapture(&log);
    Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
    graphics.resources = &ResourceTable::Embedded();
    if (ResourceTable::Embedded().Find("X", "STATION_01").empty()) GTEST_SKIP() << "no models embedded";
    BattleFamilies families;
    families.Load(graphics);

    HeadlessBattleOptions options;
    options.seed = 2026;
    options.frames = frames;
    options.selection.fightersPerTeam = 10;
    for (int c = 0; c < CountryCount; ++c) options.selection.Place(c, c, 1 + c % 4);

    // The books as kept from the destructions themselves.
    int expected[CountryCount][BattleStats::ColumnCount] = {};
    int events = 0;
    HeadlessFrameHooks hooks;
    hooks.afterStep = [](World& world, int) {
        ASSERT_LE(world.shots.Count(), 1024u);
        ASSERT_LE(world.fighters.Count(), 120u);
    };
    HeadlessBattleResult result = RunHeadlessBattle(
        graphics, options,
        [&](World& world) {
            families.Install(world);
            world.onUnitDestroyed = [&](const Unit& unit, int killerCountry, int killerTeam, int points) {
                ++events;
                UnitFamily family = world.FamilyOf(&unit);
                ASSERT_TRUE(unit.country >= 0 && unit.country < CountryCount);
                // Each family's lost column follows its destroyed one.
                expected[unit.country][DestroyedColumn(family) + 1] += 1;
                if (killerCountry >= 0) {
                    expected[killerCountry][BattleStats::Score] += points;
                    if (killerTeam != unit.team) expected[killerCountry][DestroyedColumn(family)] += 1;
                }
            };
        },
        hooks);
    SetLogCapture(nullptr);

    EXPECT_EQ(result.participants, 12);
    EXPECT_GT(events, 0) << "a battle this size destroys something within " << frames << " frames";
    for (int c = 0; c < CountryCount; ++c) {
        for (int k = 1; k < BattleStats::ColumnCount; ++k)
            EXPECT_EQ(result.stats.Get(c, BattleStats::Column(k)), expected[c][k]) << "country " << c << " column " << k;
        EXPECT_EQ(result.stats.Get(c, BattleStats::TeamNumber), 1 + c % 4);
    }
}
