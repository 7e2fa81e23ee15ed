#include "game/world/BattleStats.h"
#include "game/world/Country.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

namespace {

using S = BattleStats;

// Two countries on two teams, with their records so that scores are kept.
struct TwoSides : WorldTestKit {
    TwoSides() {
        world->countries.Create(1, 0);
        world->countries.Create(2, 1);
    }
    int Score(int country) const { return stats.Get(country, S::Score); }
};

} // namespace

TEST(UnitDamage, EnemyKillScoresCountsAndLetsGoOfTheUnit) {
    TwoSides kit;
    Unit* slot = nullptr;
    TestUnit* fighter = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0, 0}, &slot);
    ASSERT_EQ(slot, fighter);
    kit.world->selectedUnit = fighter;

    fighter->Damage(0, 0, 1);
    fighter->Damage(60, 0, 1);
    EXPECT_EQ(fighter->hp, 40);
    EXPECT_TRUE(kit.world->hitTable.Contains(fighter));

    fighter->Damage(70, 0, 1);
    EXPECT_EQ(fighter->hp, 0) << "hit points stop at 0";
    EXPECT_FALSE(kit.world->hitTable.Contains(fighter)) << "shots pass through a wreck";
    EXPECT_EQ(slot, nullptr) << "the owner sees an empty slot";
    EXPECT_EQ(kit.world->selectedUnit, nullptr);
    EXPECT_EQ(fighter->destroyedCalls, 1);
    EXPECT_EQ(fighter->lastKiller, 0);
    EXPECT_EQ(kit.Score(0), 1);
    EXPECT_EQ(kit.world->countries[0]->score, 1);
    EXPECT_EQ(kit.stats.Get(0, S::FightersDestroyed), 1);
    EXPECT_EQ(kit.stats.Get(1, S::FightersLost), 1);

    // A wreck takes no more damage and is not destroyed twice.
    fighter->Damage(50, 0, 1);
    EXPECT_EQ(fighter->destroyedCalls, 1);
    EXPECT_EQ(kit.Score(0), 1);
    // Nor is it ever healed.
    fighter->Heal(10);
    EXPECT_EQ(fighter->hp, 0);
}

TEST(UnitDamage, FriendlyKillCostsFiveTimesTheValueAndCreditsNobody) {
    TwoSides kit;
    TestUnit* turret = kit.Make(UnitFamily::Turret, 1, 0, 30, {0, 0, 0});
    turret->Damage(30, 0, 1);
    EXPECT_EQ(kit.Score(0), -15);
    EXPECT_EQ(turret->lastKiller, -1);
    EXPECT_EQ(kit.stats.Get(0, S::TurretsDestroyed), 0);
    EXPECT_EQ(kit.stats.Get(1, S::TurretsDestroyed), 0);
    EXPECT_EQ(kit.stats.Get(0, S::TurretsLost), 1);

    // A teammate from another country costs the shooter's country, not the owner's.
    TestUnit* station = kit.Make(UnitFamily::Station, 2, 1, 100, {20, 0, 0});
    kit.world->countries.Create(2, 2);
    station->Damage(100, 2, 2);
    EXPECT_EQ(kit.Score(2), -50);
    EXPECT_EQ(kit.Score(1), 0);
    EXPECT_EQ(kit.stats.Get(1, S::StationsLost), 1);
}

TEST(UnitDamage, SelfDestructAndCascadesAreWorthNothing) {
    TwoSides kit;
    // A station's death takes its panels and turrets with it, without credit.
    TestUnit* station = kit.Make(UnitFamily::Station, 2, 1, 500, {0, 0, 0});
    TestUnit* panel = kit.Make(UnitFamily::Panel, 2, 1, 50, {0, 3, 0});
    TestUnit* turret = kit.Make(UnitFamily::Turret, 2, 1, 50, {0, -3, 0});
    station->Damage(500, 0, 1);
    panel->SelfDestruct();
    turret->SelfDestruct();
    EXPECT_EQ(kit.Score(0), 10) << "only the station itself scores";
    EXPECT_EQ(kit.stats.Get(0, S::StationsDestroyed), 1);
    EXPECT_EQ(kit.stats.Get(0, S::PanelsDestroyed), 0);
    EXPECT_EQ(kit.stats.Get(0, S::TurretsDestroyed), 0);
    EXPECT_EQ(kit.stats.Get(1, S::PanelsLost), 1);
    EXPECT_EQ(kit.stats.Get(1, S::TurretsLost), 1);
    EXPECT_EQ(panel->lastKiller, -1);
}

TEST(UnitDamage, CollideTakesHalfTheOthersMaximumEachWay) {
    TwoSides kit;
    TestUnit* a = kit.Make(UnitFamily::Fighter, 1, 0, 100, {0, 0, 0});
    TestUnit* b = kit.Make(UnitFamily::Fighter, 2, 1, 61, {1, 0, 0});
    b->hp = 60;
    a->Collide(*b);
    EXPECT_EQ(a->hp, 70);
    EXPECT_EQ(b->hp, 10);

    // Each is credited to the other's country: b dies by a's hand.
    a->Collide(*b);
    EXPECT_EQ(a->hp, 40);
    EXPECT_EQ(b->hp, 0);
    EXPECT_EQ(b->lastKiller, 0);
    EXPECT_EQ(kit.Score(0), 1);

    a->Heal(1000);
    EXPECT_EQ(a->hp, 100) << "healing stops at the maximum";
}

TEST(UnitPool, FullPoolsLeaveNewUnitsOutAndDeleteFinishedOnes) {
    WorldTestKit kit;
    for (int i = 0; i < 120; ++i) ASSERT_NE(kit.Make(UnitFamily::Fighter, 1, 0, 10, {float(i), 0, 0}), nullptr);
    Unit* slot = nullptr;
    EXPECT_EQ(kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 5, 0}, &slot), nullptr);
    EXPECT_EQ(kit.world->fighters.Count(), 120u);
    EXPECT_EQ(slot, nullptr) << "a unit that did not fit leaves no reference behind";
    EXPECT_EQ(kit.world->hitTable.Count(), 120u);
    for (int i = 0; i < 12; ++i) kit.Make(UnitFamily::Station, 1, 0, 10, {0, float(i), 0});
    EXPECT_EQ(kit.Make(UnitFamily::Station, 1, 0, 10, {0, 50, 0}), nullptr);

    // A dead unit stays for its death sequence and is deleted when it ends.
    auto* dying = static_cast<TestUnit*>(kit.world->fighters[3]);
    dying->deathFrames = 2;
    dying->SelfDestruct();
    kit.world->fighters.UpdateAll();
    kit.world->fighters.UpdateAll();
    EXPECT_EQ(kit.world->fighters[3], dying);
    kit.world->fighters.UpdateAll();
    EXPECT_EQ(kit.world->fighters[3], nullptr);
    EXPECT_NE(kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 9}), nullptr) << "the freed slot is reused";
}

TEST(UnitPool, BlastFallsOffTenPerUnitAndTruncates) {
    WorldTestKit kit;
    TestUnit* edge = kit.Make(UnitFamily::Fighter, 1, 0, 1000, {9.95f, 0, 0});
    TestUnit* half = kit.Make(UnitFamily::Fighter, 1, 0, 1000, {0, 5, 0});
    kit.world->fighters.BlastDamage(100, {0, 0, 0}, -1, -1);
    EXPECT_EQ(edge->hp, 1000);
    EXPECT_EQ(half->hp, 950);

    // A barrage-sized blast over every family, the firing turret included.
    TestUnit* turret = kit.Make(UnitFamily::Turret, 1, 0, 500, {20, 1, 0});
    TestUnit* station = kit.Make(UnitFamily::Station, 1, 0, 500, {20, -3.95f, 0});
    TestUnit* far = kit.Make(UnitFamily::Panel, 1, 0, 500, {1e30f, 0, 0});
    kit.world->BlastDamageAll(40, {20, 0, 0}, 0, 1);
    EXPECT_EQ(turret->hp, 470);
    EXPECT_EQ(station->hp, 500) << "trunc(0.5) is no damage";
    EXPECT_EQ(far->hp, 500) << "a very far unit is simply out of reach";
}

TEST(UnitPool, NearestSkipsTheReferencesTeamAndTheDead) {
    WorldTestKit kit;
    TestUnit* me = kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 0});
    TestUnit* friendNear = kit.Make(UnitFamily::Fighter, 1, 0, 10, {1, 0, 0});
    TestUnit* deadEnemy = kit.Make(UnitFamily::Fighter, 2, 1, 10, {2, 0, 0});
    TestUnit* first = kit.Make(UnitFamily::Fighter, 2, 1, 10, {0, 3, 0});
    TestUnit* tie = kit.Make(UnitFamily::Fighter, 3, 2, 10, {0, -3, 0});
    deadEnemy->deathFrames = 100;
    deadEnemy->SelfDestruct();
    EXPECT_EQ(kit.world->fighters.Nearest(me, {0, 0, 0}), first) << "ties keep the earlier slot";
    EXPECT_EQ(kit.world->fighters.Nearest(nullptr, {0, 0, 0}), me) << "no reference: every team";
    (void)friendNear;
    (void)tie;

    // The cone is an elevation band about the node's up axis, strict at both ends.
    SceneNode mount;
    mount.Init(nullptr, 0, 0, 0, 1);
    EXPECT_EQ(kit.world->fighters.NearestInCone(mount, me, 1.01f, 0.5f), first);
    EXPECT_EQ(kit.world->fighters.NearestInCone(mount, me, 0.99f, 0.0f), nullptr) << "straight up is outside 0..0.99";
    EXPECT_EQ(kit.world->fighters.NearestInCone(mount, me, -0.5f, -1.01f), tie);

    EXPECT_EQ(kit.world->stations.AveragePosition(), Vector3(0, 0, 0));
    kit.Make(UnitFamily::Station, 1, 0, 10, {10, 0, 0})->SelfDestruct();
    kit.Make(UnitFamily::Station, 1, 0, 10, {20, 4, 0});
    EXPECT_EQ(kit.world->stations.AveragePosition(), Vector3(15, 2, 0)) << "dead stations count too";
}
