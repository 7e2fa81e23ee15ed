#include "game/flow/CountrySelection.h"
#include "game/world/Country.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>
#include <set>

TEST(CountrySelection, RecordsGoByTeamThenSlotAndStationsSitOnTheIcosahedron) {
    WorldTestKit kit(7);
    World& world = *kit.world;
    std::vector<Vector3> deployed;
    world.deployStation = [&](Country& country, const Vector3& position, const Vector3& forward,
                              const Vector3& up) -> Unit* {
        deployed.push_back(position);
        EXPECT_NEAR(Vec3Length(forward), 1, 1e-5f);
        EXPECT_NEAR(Vec3Length(up), 1, 1e-5f);
        return kit.Make(UnitFamily::Station, country.teamId, country.countryIndex, 100, position);
    };

    CountrySelection selection;
    EXPECT_FALSE(selection.AnyPlaced());
    ASSERT_TRUE(selection.Place(4, 0, 3));
    ASSERT_TRUE(selection.Place(9, 1, 1));
    ASSERT_TRUE(selection.Place(2, 2, 1));
    EXPECT_FALSE(selection.Place(2, 5, 1)) << "a country is placed once";
    EXPECT_FALSE(selection.Place(3, 0, 1)) << "an occupied slot takes nobody";
    selection.playerSlot = 2;
    EXPECT_EQ(selection.PlayerCountry(), 2);
    EXPECT_EQ(selection.PlayerTeam(), 1);

    CreateCountryRecords(world, selection);
    ASSERT_EQ(world.countries.Count(), 3u);
    EXPECT_EQ(world.countries[0]->countryIndex, 9);
    EXPECT_EQ(world.countries[1]->countryIndex, 2);
    EXPECT_EQ(world.countries[2]->countryIndex, 4);
    EXPECT_EQ(world.countries[2]->teamId, 3);

    EXPECT_EQ(StartBattle(world), 3);
    ASSERT_EQ(deployed.size(), 3u);
    std::set<std::tuple<int, int, int>> vertices;
    for (const Vector3& p : deployed) {
        EXPECT_NEAR(Vec3Length(p), 60 * 1.1756f, 0.01f);
        vertices.insert({int(std::lround(p.x)), int(std::lround(p.y)), int(std::lround(p.z))});
    }
    EXPECT_EQ(vertices.size(), 3u) << "every station has its own vertex";

    // The same seed places the same way.
    WorldTestKit again(7);
    std::vector<Vector3> second;
    again.world->deployStation = [&](Country&, const Vector3& position, const Vector3&, const Vector3&) -> Unit* {
        second.push_back(position);
        return nullptr;
    };
    CreateCountryRecords(*again.world, selection);
    StartBattle(*again.world);
    ASSERT_EQ(second.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(second[i].x, deployed[i].x);

    // A marked slot that is empty: the player only watches, from the side of
    // that slot's team.
    selection.playerSlot = 7;
    EXPECT_EQ(selection.PlayerCountry(), -1);
    EXPECT_EQ(selection.PlayerTeam(), 2);
    selection.playerSlot = -1;
    EXPECT_EQ(selection.PlayerTeam(), -1);
    EXPECT_STREQ(CountryName(11), "United Nations");
    EXPECT_STREQ(CountryName(12), "");
}
