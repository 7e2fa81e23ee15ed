#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

Vector3 Row(const Matrix& m, int row) { return {m.m[row][0], m.m[row][1], m.m[row][2]}; }

} // namespace

TEST(Effect, ExplosionGrowsFadesAndEndsAfterFifteenFrames) {
    WorldTestKit kit;
    ExplosionPool& explosions = kit.world->explosions;
    explosions.SpawnExplosion({1, 2, 3}, 2.0f, true);
    EXPECT_EQ(kit.world->SoundRequests(BattleSound::Explosion), 1);
    explosions.SpawnExplosion({0, 0, 0}, 1.0f, false);
    EXPECT_EQ(kit.world->SoundRequests(BattleSound::Explosion), 1);

    explosions.UpdateAll();
    auto draws = kit.Subsets();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_NEAR(draws[0].world.m[0][0], (1 - std::exp(-0.2f)) * 2, 1e-5f) << "18 % of its size";
    EXPECT_EQ(Row(draws[0].world, 3), Vector3(1, 2, 3));
    EXPECT_NEAR(draws[0].material.diffuse.a, std::exp(-0.15f), 1e-5f);
    for (int frame = 2; frame <= 15; ++frame) {
        kit.ClearDraws();
        explosions.UpdateAll();
    }
    draws = kit.Subsets();
    ASSERT_EQ(draws.size(), 2u) << "the fifteenth frame is still drawn";
    EXPECT_NEAR(draws[0].world.m[1][1], (1 - std::exp(-3.0f)) * 2, 1e-5f);
    EXPECT_NEAR(draws[0].material.diffuse.a, std::exp(-2.25f), 1e-5f);
    EXPECT_EQ(explosions.Count(), 0u);
}

TEST(Effect, BurstShowsItsExplosionsFiveFramesApartAndFullPoolsDropNewOnes) {
    WorldTestKit kit;
    ExplosionPool& explosions = kit.world->explosions;
    explosions.ExplosionBurst(10, {0, 0, 0}, 4, 3);
    for (int update = 1; update <= 67; ++update) {
        kit.ClearDraws();
        explosions.UpdateAll();
        // Explosion j (the last made is j = 0) shows from update 7 + 5j for 15 updates.
        size_t expected = 0;
        for (int j = 0; j < 10; ++j) expected += update >= 7 + 5 * j && update <= 21 + 5 * j ? 1 : 0;
        ASSERT_EQ(kit.Subsets().size(), expected) << "update " << update;
    }
    EXPECT_EQ(explosions.Count(), 0u);

    for (size_t i = 0; i < ExplosionPool::Capacity; ++i) explosions.SpawnExplosion({0, 0, 0}, 1, false);
    explosions.SpawnExplosion({9, 9, 9}, 1, true);
    EXPECT_EQ(explosions.Count(), ExplosionPool::Capacity);
    kit.ClearDraws();
    explosions.UpdateAll();
    for (const auto& draw : kit.Subsets()) EXPECT_NE(Row(draw.world, 3), Vector3(9, 9, 9));
}

TEST(Effect, VapourMovesWithThePointOfTheTurningBody) {
    WorldTestKit kit;
    SceneNode body;
    body.Init(&kit.unitMesh, 1, 2, 3, 1);
    body.RotateY(std::numbers::pi_v<float> / 2);
    // Nose along +x, right along -z; the body yaws right at 0.1 rad per frame.
    kit.world->vapour.SpawnVapour(body, {0, 0, -1}, -body.GetForward(), {0.5f, 0, 0}, {0, 0.1f, 0}, 1.0f);
    kit.world->vapour.UpdateAll();
    auto draws = kit.Subsets();
    ASSERT_EQ(draws.size(), 1u);
    // It starts behind the body and its tail swings toward +z as the nose turns right.
    Vector3 at = Row(draws[0].world, 3);
    EXPECT_NEAR(at.x, 0.5f, 1e-5f);
    EXPECT_NEAR(at.y, 2.0f, 1e-5f);
    EXPECT_NEAR(at.z, 3.1f, 1e-5f);
    EXPECT_NEAR(Vec3Dot(Vec3Normalize(Row(draws[0].world, 2)), {-1, 0, 0}), 1.0f, 1e-5f) << "blowing backwards";
    for (int i = 2; i <= 15; ++i) kit.world->vapour.UpdateAll();
    EXPECT_EQ(kit.world->vapour.Count(), 0u);
}

TEST(Effect, TrailSamplesEveryFiveFramesAndEndsFiftyFramesAfterDetach) {
    WorldTestKit kit;
    SceneNode missile;
    missile.Init(&kit.unitMesh, 0, 0, 0, 1);
    Trail* trail = kit.world->trails.CreateTrail(&missile, 0, 0, -0.25f, 10, 0.1f, 3);
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(trail->pointArray[0], Vector3(0, 0, -0.25f));
    for (int update = 1; update <= 58; ++update) {
        missile.SetPosition({0, 0, float(update)});
        kit.ClearDraws();
        kit.world->trails.UpdateAll();
        // One segment per live point; a new point every five updates, at most ten.
        ASSERT_EQ(kit.Subsets().size(), size_t(std::min(1 + (update - 1) / 5, 10))) << "update " << update;
    }
    EXPECT_EQ(trail->pointArray[0], Vector3(0, 0, 57.75f)) << "the head follows the anchor";
    EXPECT_EQ(trail->pointArray[1], Vector3(0, 0, 54.75f)) << "sampled at update 55";

    kit.world->trails.DetachFrom(&missile);
    EXPECT_FALSE(trail->Attached());
    for (int update = 1; update <= 49; ++update) kit.world->trails.UpdateAll();
    ASSERT_EQ(kit.world->trails.Count(), 1u);
    kit.ClearDraws();
    kit.world->trails.UpdateAll();
    EXPECT_EQ(kit.world->trails.Count(), 0u) << "deleted in its fiftieth update after Detach";
    // Drawn in that last update at the fade of 50 detached frames.
    auto draws = kit.Subsets();
    ASSERT_FALSE(draws.empty());
    EXPECT_NEAR(draws.back().material.diffuse.a, 0.9f * std::exp(-0.08f * 50), 1e-5f);

    EXPECT_EQ(kit.world->trails.CreateTrail(&missile, 0, 0, 0, 0, 0.1f, 0), nullptr);
    EXPECT_EQ(kit.world->trails.CreateTrail(&missile, 0, 0, 0, 4, 0.1f, 12), nullptr);
    EXPECT_NE(kit.log.find("軌跡"), std::string::npos) << "bad values are logged";
}
