#include "game/world/BattleStats.h"
#include "game/world/Country.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A world whose factories make test units, remembering when each slot launched.
struct Launching : WorldTestKit {
    explicit Launching(bool leaveAtOnce = true) {
        world->deployStation = [this](Country& country, const Vector3& position, const Vector3&, const Vector3&) {
            return Make(UnitFamily::Station, country.teamId, country.countryIndex, 1000, position, &country.station);
        };
        world->launchFighter = [this, leaveAtOnce](Country& country, int slot) -> Unit* {
            launches[slot].push_back(frame);
            Vector3 at = country.station->GetWorldPosition();
            // Fighters that leave at once never crowd the launch area.
            if (leaveAtOnce) at += Vector3{100.0f + 10.0f * float(launches.size()), 0, 0};
            return Make(UnitFamily::Fighter, country.teamId, country.countryIndex, 100, at, &country.fighters[size_t(slot)]);
        };
    }
    void RunTo(int lastFrame) {
        while (frame < lastFrame) {
            ++frame;
            world->countries.UpdateAll();
        }
    }
    int frame = 0;
    std::map<int, std::vector<int>> launches;
};

} // namespace

TEST(Country, StartValuesStatisticsAndThePlayersRecords) {
    Launching kit;
    kit.setup.playerCountry = 3;
    kit.stats.CountDestroyed(UnitFamily::Fighter, 3, 3);
    Country* other = kit.world->countries.Create(2, 1);
    Country* mine = kit.world->countries.Create(5, 3);
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(kit.world->playerCountryRecord, mine);
    EXPECT_EQ(kit.stats.Get(3, BattleStats::TeamNumber), 5);
    EXPECT_EQ(kit.stats.Get(3, BattleStats::FightersLost), 0) << "the row starts cleared";
    EXPECT_EQ(mine->fightersPerTeam, 3);

    Unit* station = mine->DeployStation({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
    EXPECT_EQ(mine->station, station);
    EXPECT_EQ(kit.world->playerStation, station);
    other->DeployStation({50, 0, 0}, {0, 0, 1}, {0, 1, 0});
    EXPECT_EQ(kit.world->playerStation, station);

    // Every record of the country scores, and the statistics mirror the total.
    Country* twin = kit.world->countries.Create(5, 3);
    kit.world->countries.AddScore(4, 3);
    EXPECT_EQ(mine->score, 4);
    EXPECT_EQ(twin->score, 4);
    EXPECT_EQ(kit.stats.Get(3, BattleStats::Score), 4);
    EXPECT_EQ(other->score, 0);

    for (size_t i = kit.world->countries.Count(); i < CountryRegistry::Capacity; ++i)
        kit.world->countries.Create(1, 0);
    EXPECT_EQ(kit.world->countries.Create(1, 0), nullptr) << "a thirteenth record finds no entry";

    // Deleting the records lets go of the player's record and its slots.
    kit.RunTo(1);
    kit.world->manualSlot = &mine->fighters[0];
    kit.world->countries.DeleteAll();
    EXPECT_EQ(kit.world->playerCountryRecord, nullptr);
    EXPECT_TRUE(kit.world->NobodyFlown());
    EXPECT_EQ(kit.world->fighters[0]->ownerSlot, nullptr);
    kit.world->fighters[0]->SelfDestruct();
}

TEST(Country, LaunchesOnTheFirstFrameThenOnePer61Frames) {
    Launching kit;
    Country* country = kit.world->countries.Create(1, 0);
    country->DeployStation({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    kit.RunTo(200);
    EXPECT_EQ(kit.launches[0], std::vector<int>{1});
    EXPECT_EQ(kit.launches[1], std::vector<int>{62});
    EXPECT_EQ(kit.launches[2], std::vector<int>{123});

    // The first launch drew the slot's restart value, and the timer only
    // counts while the slot is empty: the replacement comes 301 - r frames
    // after the loss.
    RandomGenerator replica(1);
    int restart = replica.Random(30);
    EXPECT_EQ(country->slotTimers[0], restart);
    country->fighters[0]->SelfDestruct();
    int lost = kit.frame;
    kit.RunTo(lost + 400);
    ASSERT_EQ(kit.launches[0].size(), 2u);
    int delay = kit.launches[0][1] - lost;
    EXPECT_EQ(delay, 301 - restart);
    EXPECT_GE(delay, 272);
    EXPECT_LE(delay, 301);
}

TEST(Country, CrowdedLaunchAreaAndLostStationStopLaunches) {
    Launching kit(false);
    Country* country = kit.world->countries.Create(1, 0);
    country->DeployStation({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    kit.RunTo(150);
    EXPECT_EQ(kit.launches.size(), 1u) << "the first fighter still sits at the launch point";

    // Once it has flown 20 units away the next one leaves at once.
    auto* first = static_cast<TestUnit*>(country->fighters[0]);
    first->body.SetPosition({0, 0, 19.9f});
    kit.RunTo(151);
    EXPECT_EQ(kit.launches.size(), 1u);
    first->body.SetPosition({0, 0, 20});
    kit.RunTo(152);
    EXPECT_EQ(kit.launches[1], std::vector<int>{152});
    EXPECT_GT(first->aiSteps, 100) << "fighters are steered every frame";

    // The flown fighter takes the player's controls instead of its AI.
    kit.world->manualSlot = &country->fighters[0];
    int aiSteps = first->aiSteps;
    kit.RunTo(153);
    EXPECT_EQ(first->manualSteps, 1);
    EXPECT_EQ(first->aiSteps, aiSteps);

    // Without a station fighters fly on, but none is launched ever again.
    country->station->SelfDestruct();
    EXPECT_EQ(country->station, nullptr);
    first->body.SetPosition({0, 0, 500});
    country->fighters[1]->SelfDestruct();
    kit.RunTo(1000);
    EXPECT_EQ(kit.launches.size(), 2u);
    EXPECT_EQ(kit.launches[1].size(), 1u);
    EXPECT_EQ(first->manualSteps, 848);
}

TEST(Country, NextLivingFighterCyclesThroughTheSlots) {
    Launching kit;
    Country* country = kit.world->countries.Create(1, 0);
    EXPECT_EQ(country->NextLivingFighter(), nullptr);
    EXPECT_EQ(country->nextFighterIndex, 0);

    TestUnit* a = kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 0}, &country->fighters[1]);
    TestUnit* b = kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 0}, &country->fighters[2]);
    country->nextFighterIndex = 2;
    EXPECT_EQ(country->NextLivingFighter(), b);
    EXPECT_EQ(country->NextLivingFighter(), a);
    EXPECT_EQ(country->NextLivingFighter(), b);
    EXPECT_EQ(country->nextFighterIndex, 0);
    b->SelfDestruct();
    EXPECT_EQ(country->NextLivingFighter(), a);
    EXPECT_EQ(country->nextFighterIndex, 2);
}
