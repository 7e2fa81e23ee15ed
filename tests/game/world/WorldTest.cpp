#include "game/weapons/Plasma.h"
#include "game/weapons/WeaponSpec.h"
#include "game/world/BattleStats.h"
#include "game/world/Country.h"
#include "support/DrawBoxes.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

TEST(WorldReset, EmptiesTheBattleButKeepsTheStatistics) {
    WorldTestKit kit;
    World& world = *kit.world;
    world.launchFighter = [&](Country& country, int slot) {
        return kit.Make(UnitFamily::Fighter, country.teamId, country.countryIndex, 10, {50, 0, 0},
                        &country.fighters[size_t(slot)]);
    };
    Country* country = world.countries.Create(1, 0);
    TestUnit* station = kit.Make(UnitFamily::Station, 1, 0, 100, {0, 0, 0}, &country->station);
    kit.Make(UnitFamily::Panel, 1, 0, 10, {0, 3, 0});
    kit.Make(UnitFamily::Turret, 1, 0, 10, {0, -3, 0});
    world.countries.UpdateAll();
    ASSERT_EQ(world.fighters.Count(), 1u);
    WeaponSpec gun(2, 2, 10, 25, 1.2f, 1.0f);
    world.shots.Fire<Plasma>(world, station, gun, 0.0f, Vector3{0, 10, 0}, Vector3{0, 1, 0});
    world.explosions.ExplosionBurst(3, {0, 0, 0}, 1, 1);
    world.trails.CreateTrail(&station->body, 0, 0, 0, 4, 0.1f, 0);
    world.vapour.SpawnVapour(station->body, {}, {0, 0, 1}, {}, {}, 1);
    world.selectedUnit = station;
    world.camera.SetFocus(station);
    world.meterMode = 2;
    world.overlayOn = false;
    world.pilotView = true;
    world.cursorX = 3;
    world.manualSlot = &country->fighters[0];
    world.playerStation = station;
    world.playerCountryRecord = country;
    kit.stats.CountDestroyed(UnitFamily::Turret, 0, 1);

    world.ResetWorld();
    EXPECT_EQ(world.stations.Count() + world.panels.Count() + world.turrets.Count() + world.fighters.Count(), 0u);
    EXPECT_EQ(world.hitTable.Count(), 0u);
    EXPECT_EQ(world.shots.Count(), 0u);
    EXPECT_EQ(world.explosions.Count() + world.trails.Count() + world.vapour.Count(), 0u);
    EXPECT_EQ(world.countries.Count(), 0u);
    EXPECT_EQ(world.selectedUnit, nullptr);
    EXPECT_EQ(world.camera.GetFocus(), nullptr);
    EXPECT_EQ(world.camera.distance, 180.0f);
    EXPECT_EQ(world.playerStation, nullptr);
    EXPECT_EQ(world.playerCountryRecord, nullptr);
    EXPECT_TRUE(world.NobodyFlown());
    EXPECT_EQ(world.FlownUnit(), nullptr);
    EXPECT_EQ(world.meterMode, 1);
    EXPECT_TRUE(world.overlayOn);
    EXPECT_FALSE(world.pilotView);
    EXPECT_EQ(world.cursorX, 320);
    EXPECT_EQ(world.cursorY, 240);
    EXPECT_EQ(kit.stats.Get(0, BattleStats::TurretsDestroyed), 1) << "the result screen still needs them";
}

TEST(WorldQueries, NearestAcrossFamiliesWeighsFightersAndBreaksTiesToTheLaterFamily) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* station = kit.Make(UnitFamily::Station, 2, 1, 10, {10, 0, 0});
    TestUnit* fighter = kit.Make(UnitFamily::Fighter, 2, 1, 10, {12.5f, 0, 0});
    constexpr int All = World::StationFamily | World::PanelFamily | World::TurretFamily | World::FighterFamily;
    EXPECT_EQ(world.NearestAcrossFamilies(nullptr, {0, 0, 0}, All), fighter) << "12.5 x 0.8 ties with 10";
    fighter->body.SetPosition({13, 0, 0});
    EXPECT_EQ(world.NearestAcrossFamilies(nullptr, {0, 0, 0}, All), station);
    EXPECT_EQ(world.NearestAcrossFamilies(nullptr, {0, 0, 0}, World::FighterFamily), fighter);
    TestUnit* me = kit.Make(UnitFamily::Turret, 2, 1, 10, {0, 0, 0});
    EXPECT_EQ(world.NearestAcrossFamilies(me, {0, 0, 0}, All), nullptr) << "no enemies of team 2";
    EXPECT_EQ(world.NearestAcrossFamilies(nullptr, {0, 0, 0}, 0), nullptr);
}

TEST(WorldQueries, PickUnderCursorPrefersFightersAndIgnoresWhatIsBehind) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* station = kit.Make(UnitFamily::Station, 1, 0, 10, {0, 0, 0});
    EXPECT_EQ(world.PickUnderCursor(320, 240), station);
    TestUnit* fighter = kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 10});
    EXPECT_EQ(world.PickUnderCursor(320, 240), fighter) << "a fighter behind the station still wins";
    kit.Make(UnitFamily::Turret, 1, 0, 10, {0, 0, -200});
    EXPECT_EQ(world.PickUnderCursor(320, 240), fighter) << "behind the camera";

    // A fighter 60 units away picks within 1000 x 0.7 / 60 = 11.67 pixels.
    Vector3 centre = ProjectToScreen(*kit.graphics, fighter->GetWorldPosition());
    station->SelfDestruct();
    EXPECT_EQ(world.PickUnderCursor(int(centre.x) + 11, int(centre.y)), fighter);
    EXPECT_EQ(world.PickUnderCursor(int(centre.x) + 12, int(centre.y)), nullptr);
    fighter->SelfDestruct();
    EXPECT_EQ(world.PickUnderCursor(320, 240), nullptr) << "the dead are not selectable";
}

TEST(WorldQueries, SameSeedSameBattleInWorldsSideBySide) {
    WorldTestKit a(7), b(7), c(8);
    a.world->explosions.ExplosionBurst(4, {0, 0, 0}, 1, 3);
    b.world->explosions.ExplosionBurst(2, {0, 0, 0}, 1, 3);
    c.world->explosions.ExplosionBurst(4, {0, 0, 0}, 1, 3);
    b.world->explosions.ExplosionBurst(2, {0, 0, 0}, 1, 3);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(a.world->explosions[i]->position, b.world->explosions[i]->position);
        EXPECT_NE(a.world->explosions[i]->position, c.world->explosions[i]->position);
    }
    // The draws are the described ones: z, y and x of each offset in turn.
    RandomGenerator replica(7);
    Vector3 first = replica.RandomVector<Vector3>(3);
    EXPECT_EQ(a.world->explosions[0]->position, first);
}

TEST(UnitMeter, BarsFrameAndFocusMarks) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* unit = kit.Make(UnitFamily::Fighter, 1, 0, 100, {0, 0, 0});
    // 50 units away on a 640-pixel screen: s = 2 x 640 x 0.7 / 50.
    const float s = 17.92f;
    unit->DrawMeter();
    auto bars = Boxes(kit.Primitives());
    ASSERT_EQ(bars.size(), 1u) << "full health: only green";
    EXPECT_EQ(bars[0].color, 0x8000FF00u);
    EXPECT_NEAR(bars[0].left, 320 - s / 2, 1e-3f);
    EXPECT_NEAR(bars[0].right, 320 + s / 2, 1e-3f);
    EXPECT_NEAR(bars[0].top, 240 - 0.6f * s, 1e-3f);
    EXPECT_NEAR(bars[0].bottom - bars[0].top, 2, 1e-4f) << "thickness trunc(0.72), at least 2";

    kit.ClearDraws();
    unit->hp = 1;
    unit->DrawMeter();
    bars = Boxes(kit.Primitives());
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_NEAR(bars[0].right - bars[0].left, 0.01f * s, 1e-3f);
    EXPECT_EQ(bars[1].color, 0x80FF0000u);
    EXPECT_NEAR(bars[1].right - bars[1].left, 0.99f * s, 1e-3f);

    // Meter mode 0 shows only the selected and the flown unit.
    kit.ClearDraws();
    world.meterMode = 0;
    unit->DrawMeter();
    EXPECT_TRUE(kit.Primitives().empty());
    Unit* slot = unit;
    world.manualSlot = &slot;
    unit->DrawMeter();
    EXPECT_EQ(kit.Primitives().size(), 2u);
    world.ReleaseManualControl();

    kit.ClearDraws();
    world.selectedUnit = unit;
    world.camera.SetFocus(unit);
    unit->DrawMeter();
    bars = Boxes(kit.Primitives());
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars[2].color, 0xC0FFFFFFu);
    EXPECT_NEAR(bars[2].right - bars[2].left, s, 1e-3f) << "the frame spans the bar";
    EXPECT_EQ(bars[3].color, 0xFF004080u);
    EXPECT_EQ(bars[4].color, 0xFF0080FFu);
    EXPECT_GT(bars[3].left, bars[2].right) << "right of the bar";
    EXPECT_GT(bars[4].left, bars[3].left);
    EXPECT_GT(bars[4].top, bars[3].top);

    // Off screen nothing is drawn.
    kit.ClearDraws();
    unit->body.SetPosition({0, 0, -100});
    unit->DrawMeter();
    unit->DrawTargetBox();
    EXPECT_TRUE(kit.Primitives().empty());
}

TEST(UnitMeter, HpBarAndTargetBox) {
    WorldTestKit kit;
    TestUnit* unit = kit.Make(UnitFamily::Fighter, 1, 0, 300, {0, 0, 0});
    unit->hp = 100;
    unit->DrawHpBar(10, 20, 54, 9);
    auto bars = Boxes(kit.Primitives());
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].color, 0x4000FF00u);
    EXPECT_EQ(bars[0].right, 28) << "100 x 54 / 300, in whole pixels";
    EXPECT_EQ(bars[1].left, 28);
    EXPECT_EQ(bars[1].right, 64);
    EXPECT_EQ(bars[1].bottom, 29);

    kit.ClearDraws();
    unit->DrawTargetBox();
    bars = Boxes(kit.Primitives());
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].color, 0xFFFFFF00u);
    EXPECT_NEAR(bars[0].right - 320, 640 * 0.7f / 50, 1e-3f);
    EXPECT_NEAR(240 - bars[0].top, 640 * 0.7f / 50, 1e-3f);
}
