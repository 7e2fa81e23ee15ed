#include "StationTestKit.h"

#include "game/fighters/FighterFactory.h"
#include "game/flow/CountrySelection.h"
#include "game/world/BattleStats.h"
#include "game/world/Country.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool Within(const Vector3& point, const Vector3& low, const Vector3& high, float margin) {
    return point.x >= low.x - margin && point.x <= high.x + margin && point.y >= low.y - margin &&
           point.y <= high.y + margin && point.z >= low.z - margin && point.z <= high.z + margin;
}

} // namespace

TEST(StationTest, EveryTypeCarriesItsPartsOnTheHullAndLaunchesInTheClear) {
    StationTestKit kit;
    constexpr float Margin = 0.3f;
    for (int type = 1; type <= 12; ++type) {
        SCOPED_TRACE(type);
        Vector3 at{float(type) * 200, 0, 0};
        Station* station = kit.Deploy(type, type, at);
        ASSERT_NE(station, nullptr);
        const StationType& row = StationTypeTable()[size_t(type - 1)];
        EXPECT_EQ(station->LivePanels(), row.panelCount);
        EXPECT_EQ(station->LiveTurrets(), row.turretCount);
        ASSERT_TRUE(station->hull.mesh->Loaded());
        Vector3 low = station->hull.mesh->boxMin + at, high = station->hull.mesh->boxMax + at;
        for (int i = 0; i < station->panelCount; ++i) {
            auto* panel = static_cast<Panel*>(station->panels[size_t(i)]);
            Vector3 foot = panel->GetWorldPosition() - panel->mountAxis * panel->type.extension;
            EXPECT_TRUE(Within(foot, low, high, Margin)) << "panel " << i;
        }
        for (int i = 0; i < station->turretCount; ++i)
            EXPECT_TRUE(Within(station->turrets[size_t(i)]->GetWorldPosition(), low, high, Margin))
                << "turret " << i;

        Vector3 launch, forward, up;
        ASSERT_TRUE(station->LaunchPose(launch, forward, up));
        EXPECT_LT(Vec3Length(launch - (station->launchPoint + at)), 1e-4f);
        // A fighter leaving along its launch axis meets nothing of its station.
        Vector3 hit;
        Unit* met =
            kit.world->hitTable.RayCast(nullptr, hit, launch + up * 0.2f, Vec3Normalize(forward), 15.0f);
        EXPECT_TRUE(met == nullptr || (met != station && met->team != type)) << "launch path blocked";
    }
}

TEST(StationTest, FightersLeaveEveryStationUnhurt) {
    // Every country on one team, placed and turned at random as a battle
    // starts them: nothing fights, so any damage a new fighter takes in its
    // first 60 frames comes from its own station, panels or turrets while its
    // AI steers it away from the station. The turns, and with them the
    // rounding the AI's evasion reads, differ from seed to seed.
    constexpr int Window = 60;
    StationTestKit kit;
    // The kit holds every embedded model by now; the battle's fighters load them again.
    kit.assets->LoadFighterMeshes(*kit.graphics);
    InstallFighterFactory(*kit.world);
    World& world = *kit.world;
    kit.setup.fightersPerTeam = 1;
    for (uint32_t seed = 1; seed <= 16; ++seed) {
        world.ResetWorld();
        world.random.Seed(seed);
        for (int country = 0; country < CountryCount; ++country) world.countries.Create(1, country);
        ASSERT_EQ(StartBattle(world), CountryCount);
        for (int frame = 0; frame <= Window; ++frame) {
            world.StepBattle();
            kit.ClearDraws();
            for (int country = 0; country < CountryCount; ++country) {
                const Unit* fighter = world.countries[size_t(country)]->fighters[0];
                ASSERT_NE(fighter, nullptr) << "seed " << seed << ": station " << country + 1
                                            << " lost its fighter " << frame << " frames after its launch";
                ASSERT_EQ(fighter->hp, fighter->maxHp)
                    << "seed " << seed << ": the fighter of station " << country + 1 << " was hurt " << frame
                    << " frames after its launch";
            }
        }
    }
}

TEST(StationTest, PanelsRepairTheirStationAndFaceTheLight) {
    StationTestKit kit;
    Station* station = kit.Deploy(1, 1);
    station->hp = 2000;
    for (int frame = 1; frame <= 29; ++frame) kit.Frame();
    EXPECT_EQ(station->hp, 2000);
    kit.Frame();
    EXPECT_EQ(station->hp, 2032) << "four plain panels, 8 each";
    station->panels[0]->SelfDestruct();
    for (int frame = 0; frame < 30; ++frame) kit.Frame();
    EXPECT_EQ(station->hp, 2056);
    station->hp = station->maxHp - 5;
    for (int frame = 0; frame < 30; ++frame) kit.Frame();
    EXPECT_EQ(station->hp, station->maxHp);

    // Facing the light: each wing stands out along its mount axis and tilts
    // its face towards the light.
    for (int i = 1; i < 4; ++i) {
        auto* panel = static_cast<Panel*>(station->panels[size_t(i)]);
        EXPECT_GT(Vec3Dot(Vec3Normalize(panel->wing.GetForward()), panel->mountAxis), 0.999f);
        EXPECT_GE(Vec3Dot(panel->wing.GetUp(), kit.world->lightDirection * -1.0f), 0.0f);
    }
}

TEST(StationTest, DestructionTakesPanelsAndTurretsWithoutCredit) {
    StationTestKit kit;
    Station* station = kit.Deploy(1, 1);
    kit.world->playerStation = station;
    station->panels[2]->Damage(1000, 4, 5);
    station->Damage(100000, 4, 5);
    const BattleStats& stats = kit.stats;
    EXPECT_EQ(stats.Get(4, BattleStats::StationsDestroyed), 1);
    EXPECT_EQ(stats.Get(0, BattleStats::StationsLost), 1);
    EXPECT_EQ(stats.Get(4, BattleStats::PanelsDestroyed), 1) << "only the panel shot off before";
    EXPECT_EQ(stats.Get(0, BattleStats::PanelsLost), 4);
    EXPECT_EQ(stats.Get(4, BattleStats::TurretsDestroyed), 0);
    EXPECT_EQ(stats.Get(0, BattleStats::TurretsLost), 2);
    EXPECT_EQ(station->LivePanels() + station->LiveTurrets(), 0);
    EXPECT_EQ(kit.world->playerStation, nullptr);
    EXPECT_EQ(kit.world->explosions.Count(), 10u);
    EXPECT_FALSE(kit.world->hitTable.Contains(station));
}

TEST(StationTest, FinalBlastHurtsBothSidesAndChargesItsOwnCountry) {
    StationTestKit kit;
    Country* home = kit.world->countries.Create(1, 0);
    Country* enemy = kit.world->countries.Create(2, 1);
    ASSERT_TRUE(home && enemy);
    auto* station = static_cast<Station*>(home->DeployStation({0, 0, 0}, {0, 0, 1}, {0, 1, 0}));
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(home->station, station);
    Unit* other = enemy->DeployStation({0, 0, 20}, {0, 0, 1}, {0, 1, 0});
    ASSERT_NE(other, nullptr);
    // Fighters well clear of the hull, inside the blast (240 reaches 24 units).
    TestUnit* friendFighter = kit.Make(UnitFamily::Fighter, 1, 0, 50, {0, 12, 0});
    TestUnit* enemyFighter = kit.Make(UnitFamily::Fighter, 2, 1, 50, {0, -12, 0});
    friendFighter->deathFrames = enemyFighter->deathFrames = 100;

    station->Damage(station->hp, 1, 2);
    EXPECT_EQ(home->station, nullptr);
    EXPECT_EQ(enemy->score, 10);
    for (int frame = 1; frame < Station::DyingFrames; ++frame) {
        EXPECT_FALSE(station->Update());
        EXPECT_EQ(friendFighter->hp, 50);
    }
    int otherBefore = other->hp;
    EXPECT_TRUE(station->Update()) << "bursts in the 60th frame";
    EXPECT_EQ(friendFighter->hp, 0);
    EXPECT_EQ(enemyFighter->hp, 0);
    EXPECT_EQ(otherBefore - other->hp, 240 - 200) << "20 units away";
    EXPECT_EQ(home->score, -5 + 1) << "a teammate costs five times its value, an enemy scores";
    EXPECT_EQ(kit.stats.Get(0, BattleStats::FightersDestroyed), 1);
    bool big = false;
    for (size_t i = 0; i < ExplosionPool::Capacity; ++i)
        if (const auto& e = kit.world->explosions[i]; e && e->size == 12.0f) big = true;
    EXPECT_TRUE(big) << "explosion of size 2400 x 0.005";
}

TEST(StationTest, Descriptions) {
    StationTestKit kit;
    Station* station = kit.Deploy(1, 1);
    station->panels[1]->SelfDestruct();
    for (Unit* turret : station->turrets)
        if (turret) turret->SelfDestruct();
    std::string text;
    station->Describe(text);
    EXPECT_EQ(text, "\n\n  Class: Station\n    Code Name: \"Fresh Air\"\n    Panel: 3/4\n    Turret: 0/2");

    Station* adjuster = kit.Deploy(3, 3, {100, 0, 0});
    text.clear();
    adjuster->panels[0]->Describe(text);
    EXPECT_EQ(text, "\n\n  Class: Panel\n    Capacity: 16\n    Type: Large");
    text.clear();
    adjuster->turrets[2]->Describe(text);
    EXPECT_EQ(text, "\n\n  Class: Turret\n    Damage: 20\n    Range: 44.1\n    Type: Small Missile");
    text.clear();
    adjuster->Showcase(text);
    EXPECT_EQ(text, "\n\n  Station\n    HP: 2400\n    Code Name: \"Adjuster\"\n    Panel: 2\n    Turret: 3");

    // Unknown types are refused, not built.
    EXPECT_EQ(kit.Deploy(13, 1), nullptr);
    EXPECT_NE(kit.log.find("種類 13"), std::string::npos);
}
