#include "game/weapons/Barrage.h"
#include "game/weapons/Laser.h"
#include "game/weapons/Missile.h"
#include "game/weapons/Plasma.h"
#include "game/weapons/WeaponSpec.h"
#include "game/world/BattleStats.h"
#include "platform/Log.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Mounts of the turrets: plasma A, small missile C, missile D, barrage G, laser H.
WeaponSpec PlasmaGun() { return {2, 2, 10, 25, 1.2f, 1.0f}; }
WeaponSpec SmallMissilePod() { return {5, 18, 20, 90, 0.7f, 0.7f}; }
WeaponSpec MissileTubes() { return {35, 3, 50, 175, 0.5f, 0.6f}; }
WeaponSpec FlakGun() { return {10, 1, 40, 30, 1.2f, 1.0f}; }
WeaponSpec LaserGun() { return {14, 1, 18, 10, 30.0f, 0.1f}; }

// Runs the shot list until it is empty or the frames run out; the frames used.
int Fly(World& world, int frames) {
    int used = 0;
    while (world.shots.Count() > 0 && used < frames) {
        world.shots.UpdateShots();
        ++used;
    }
    return used;
}

} // namespace

TEST(WeaponTrigger, FiresOncePerIntervalTurningTheBarrels) {
    WeaponSpec mount(2, 2, 10, 25, 1.2f, 1.0f);
    EXPECT_FLOAT_EQ(mount.Range(), 30.0f);
    std::vector<int> frames, barrels;
    for (int frame = 1; frame <= 7; ++frame) {
        mount.CountDown();
        if (mount.Trigger()) {
            frames.push_back(frame);
            barrels.push_back(mount.nextBarrel);
        }
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(barrels, (std::vector<int>{1, 0, 1}));

    std::string log;
    SetLogCapture(&log);
    WeaponSpec broken(1, 0, 1, 1, 1, 1);
    SetLogCapture(nullptr);
    EXPECT_EQ(broken.barrelCount, 1);
    EXPECT_FALSE(log.empty());
    broken.CountDown();
    EXPECT_TRUE(broken.Trigger());
    EXPECT_EQ(broken.nextBarrel, 0);
}

TEST(ShotList, AFullListDropsNewShotsAndAShotHurtsOnlyTheNearestUnit) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* turret = kit.Make(UnitFamily::Turret, 1, 0, 500, {0, 0, 0});
    TestUnit* nearUnit = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0, 5});
    TestUnit* farUnit = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0, 5.5f});
    for (size_t i = 0; i < ShotList::Capacity; ++i)
        ASSERT_NE(world.shots.Fire<Plasma>(world, turret, PlasmaGun(), 0.0f, Vector3{0, 100, 0}, Vector3{0, 1, 0}),
                  nullptr);
    EXPECT_EQ(world.shots.Fire<Plasma>(world, turret, PlasmaGun(), 0.0f, Vector3{0, 0, 1}, Vector3{0, 0, 1}), nullptr);
    EXPECT_EQ(world.SoundRequests(BattleSound::PlasmaShot), 1025) << "its firing sound is still heard";
    Fly(world, 30);
    EXPECT_EQ(nearUnit->hp, 100) << "the shot that did not fit never flew";

    world.shots.Fire<Plasma>(world, turret, PlasmaGun(), 0.0f, Vector3{0, 0, 1}, Vector3{0, 0, 1});
    Fly(world, 30);
    EXPECT_LT(nearUnit->hp, 100);
    EXPECT_EQ(farUnit->hp, 100) << "the unit behind is not hurt";
}

TEST(WeaponPlasma, WeakensWithFlightAndScoresForItsShooter) {
    WorldTestKit kit;
    World& world = *kit.world;
    world.countries.Create(1, 0);
    TestUnit* turret = kit.Make(UnitFamily::Turret, 1, 0, 500, {0, 0, 0});
    TestUnit* target = kit.Make(UnitFamily::Fighter, 1, 0, 7, {0, 0, 10});
    world.shots.Fire<Plasma>(world, turret, PlasmaGun(), 0.0f, Vector3{0, 0, 0}, Vector3{0, 0, 2});
    // It meets the sphere's hit point (10 - r/2) in its eighth step, with 18 frames of life left.
    EXPECT_EQ(Fly(world, 30), 8);
    float strength = 1 - std::exp2(-0.1f * 18);
    EXPECT_EQ(target->hp, 0) << "trunc(10 x 0.71) = 7";
    EXPECT_EQ(kit.stats.Get(0, BattleStats::Score), -5) << "a teammate killed costs five times its value";
    EXPECT_EQ(world.SoundRequests(BattleSound::PlasmaHit), 1);
    EXPECT_EQ(world.SoundRequests(BattleSound::Explosion), 0) << "the hit explosion is silent";
    ASSERT_EQ(world.explosions.Count(), 1u);
    EXPECT_FLOAT_EQ(world.explosions[0]->size, strength);

    // A miss glows fainter frame by frame and vanishes after its life.
    kit.ClearDraws();
    world.shots.Fire<Plasma>(world, turret, PlasmaGun(), 0.5f, Vector3{0, 0, 0}, Vector3{0, 1, 0});
    EXPECT_EQ(Fly(world, 100), 25);
    std::vector<float> alphas;
    for (const auto& draw : kit.Subsets()) alphas.push_back(draw.material.diffuse.a);
    ASSERT_EQ(alphas.size(), 25u);
    EXPECT_NEAR(alphas.front(), 1 - std::exp2(-2.5f), 1e-5f);
    EXPECT_NEAR(alphas.back(), 1 - std::exp2(-0.1f), 1e-5f);
}

TEST(WeaponLaser, HurtsByDistanceEveryFrameWithOneHitSoundPerContact) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* gunner = kit.Make(UnitFamily::Turret, 1, 0, 500, {0, 0, 0});
    TestUnit* target = kit.Make(UnitFamily::Fighter, 2, 1, 1000, {0, 0, 10});
    world.shots.Fire<Laser>(world, gunner, LaserGun(), &gunner->body, Vector3{0, 0, 0.35f});
    EXPECT_EQ(world.SoundRequests(BattleSound::LaserShot), 1);
    EXPECT_EQ(Fly(world, 100), 10);

    // The hit point lies half a radius (0.43) before the target's centre,
    // 9.22 from the muzzle: trunc(18 x (1 - 2^(3 (9.22 / 30 - 1))) x
    // (1 - 2^(-0.3 life))) for lives 10 .. 1 is 12, 11, 11, 10, 9, 8, 7, 6, 4, 2.
    EXPECT_EQ(1000 - target->hp, 80);
    EXPECT_EQ(world.SoundRequests(BattleSound::LaserHit), 1);

    // The beam sweeps with its gun: off the target and back is a new contact.
    Laser* beam = world.shots.Fire<Laser>(world, gunner, LaserGun(), &gunner->body, Vector3{0, 0, 0});
    world.shots.UpdateShots();
    gunner->body.RotateY(1.0f);
    world.shots.UpdateShots();
    EXPECT_EQ(beam->lastHit, nullptr);
    gunner->body.RotateY(-1.0f);
    world.shots.UpdateShots();
    EXPECT_EQ(world.SoundRequests(BattleSound::LaserHit), 3);

    // The beam dies with its gun.
    gunner->SelfDestruct();
    world.shots.UpdateShots();
    EXPECT_EQ(world.shots.Count(), 0u);
}

TEST(WeaponMissile, SteersTowardItsTargetAndFliesStraightOnceItIsLost) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* launcher = kit.Make(UnitFamily::Turret, 1, 4, 500, {0, 0, -5});
    TestUnit* upRight = kit.Make(UnitFamily::Fighter, 2, 1, 1000, {5, 5, 40});
    TestUnit* downLeft = kit.Make(UnitFamily::Fighter, 2, 1, 1000, {-5, -5, 40});
    Missile* a = world.shots.Fire<Missile>(world, launcher, MissileTubes(), upRight, 0.2f, Vector3{0, 0, 0},
                                           Vector3{0, 0, 1});
    SmallMissile* b = world.shots.Fire<SmallMissile>(world, launcher, SmallMissilePod(), downLeft, 0.0f,
                                                     Vector3{0, 0, 0}, Vector3{0, 0, 1});
    EXPECT_EQ(world.SoundRequests(BattleSound::MissileLaunch), 1);
    EXPECT_EQ(world.SoundRequests(BattleSound::SmallMissileLaunch), 1);
    ASSERT_EQ(world.trails.Count(), 2u);
    EXPECT_EQ(world.trails[0]->meshIndex, 4) << "the trail has the shooter's colour";
    EXPECT_EQ(world.trails[0]->maxPoints, 6);
    EXPECT_EQ(world.trails[1]->maxPoints, 4);

    world.shots.UpdateShots();
    EXPECT_FLOAT_EQ(a->currentSpeed, 0.05f * 0.5f + 0.95f * 0.2f);
    EXPECT_FLOAT_EQ(b->currentSpeed, 0.05f * 0.7f);
    // Left-handed: a positive x and y of the forward axis turn toward up-right.
    Vector3 fa = a->node.GetForward(), fb = b->node.GetForward();
    EXPECT_GT(fa.x, 0);
    EXPECT_GT(fa.y, 0);
    EXPECT_LT(fb.x, 0);
    EXPECT_LT(fb.y, 0);
    EXPECT_NEAR(std::acos(fa.z), std::acos(std::cos(0.05f) * std::cos(0.05f)), 1e-3f) << "a step about each axis";
    EXPECT_GT(fb.z, fa.z) << "the small missile turns less";

    // The destroyed target is forgotten for good: the missile flies straight on.
    downLeft->SelfDestruct();
    world.shots.UpdateShots();
    Vector3 heading = b->node.GetForward();
    EXPECT_EQ(b->target, nullptr);
    for (int i = 0; i < 20; ++i) world.shots.UpdateShots();
    EXPECT_EQ(b->node.GetForward(), heading);

    // The live one is hit: damage, a loud explosion of size 2, the trail let go.
    int frames = Fly(world, 200);
    EXPECT_LT(frames, 150);
    EXPECT_EQ(upRight->hp, 950);
    EXPECT_EQ(world.SoundRequests(BattleSound::Explosion), 1) << "the lost missile vanished without a bang";
    EXPECT_EQ(world.shots.Count(), 0u);
    for (size_t i = 0; i < TrailPool::Capacity; ++i) {
        const Trail* trail = world.trails[i];
        EXPECT_TRUE(!trail || !trail->Attached());
    }
}

TEST(WeaponBarrage, FuseFromTheAimPointAndABurstThatHurtsEveryoneNear) {
    WorldTestKit kit;
    World& world = *kit.world;
    TestUnit* turret = kit.Make(UnitFamily::Turret, 1, 0, 500, {0, 0, 0});
    TestUnit* farTarget = kit.Make(UnitFamily::Fighter, 2, 1, 1000, {20, 0, 0});
    TestUnit* nearTarget = kit.Make(UnitFamily::Fighter, 2, 1, 1000, {3, 0, 0});
    Barrage* farShell = world.shots.Fire<Barrage>(world, turret, FlakGun(), farTarget, 0.0f, Vector3{0, 0, 0},
                                                  Vector3{0, 0, 1});
    Barrage* nearShell = world.shots.Fire<Barrage>(world, turret, FlakGun(), nearTarget, 0.0f, Vector3{0, 0, 0},
                                                   Vector3{0, 0, 1});
    EXPECT_EQ(farShell->lifeLeft, 16) << "trunc(20 / 1.2)";
    EXPECT_EQ(nearShell->lifeLeft, 3) << "never within its own blast reach: trunc(4 / 1.2)";
    world.shots.ClearShots();

    // Fired past its target, the shell bursts after three steps, 3.6 units
    // out, and hurts its own turret by 40 - 10 x that distance.
    world.shots.Fire<Barrage>(world, turret, FlakGun(), nearTarget, 0.0f, Vector3{0, 0, 0}, Vector3{0, 0, 1});
    EXPECT_EQ(Fly(world, 10), 3);
    const int blast = 4; // trunc(40 - 10 x 3.6)
    EXPECT_EQ(turret->hp, 500 - blast);
    EXPECT_EQ(nearTarget->hp, 1000);
    EXPECT_EQ(world.SoundRequests(BattleSound::Explosion), 1);
    EXPECT_FLOAT_EQ(world.explosions[0]->size, 4.0f);

    // A direct hit hurts only the unit hit.
    TestUnit* inTheWay = kit.Make(UnitFamily::Fighter, 2, 1, 1000, {0, 0, 6});
    world.shots.Fire<Barrage>(world, turret, FlakGun(), farTarget, 0.0f, Vector3{0, 0, 0}, Vector3{0, 0, 1});
    Fly(world, 20);
    EXPECT_EQ(inTheWay->hp, 960);
    EXPECT_EQ(turret->hp, 500 - blast);
}
