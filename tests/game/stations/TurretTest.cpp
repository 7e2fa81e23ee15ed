#include "StationTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Fighters at throttle 3 move three times their base speed; 0.12 is the
// middle of the fighter types' base speeds.
constexpr float Throttle3Speed = 3 * 0.12f;

// A turret of the kind standing alone well above a station of team 1, facing
// +z with its up along +y; only it and the shots are updated.
struct LoneTurret {
    explicit LoneTurret(TurretKind kind) {
        Station* station = kit.Deploy(1, 1);
        turret = CreateTurret(*station, kind, nullptr, {0, 40, 0}, {0, 0, 1}, {0, 1, 0});
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            turret->Update();
            kit.world->fighters.UpdateAll();
            kit.world->shots.UpdateShots();
        }
    }
    Vector3 BarrelAim() const { return Vec3Normalize(turret->barrel.GetForward()); }

    StationTestKit kit;
    Turret* turret = nullptr;
};

int ShotsFired(const World& world) {
    int total = 0;
    for (BattleSound sound : {BattleSound::PlasmaShot, BattleSound::LaserShot, BattleSound::MissileLaunch,
                              BattleSound::SmallMissileLaunch, BattleSound::BarrageShot})
        total += world.SoundRequests(sound);
    return total;
}

} // namespace

TEST(TurretTest, AimsOnlyWithinItsElevationBand) {
    {
        LoneTurret a(TurretA);
        a.kit.Fly(2, {0, 55, 0}, {0, 0, 1}, 0);
        a.Frames(40);
        EXPECT_LT(Vec3Length(a.BarrelAim() - Vector3{0, 0, 1}), 1e-5f) << "straight above: never aimed at";
        EXPECT_EQ(ShotsFired(*a.kit.world), 0);
    }
    // Below the base plane, in front.
    Vector3 below{0, 34, 15};
    {
        LoneTurret a(TurretA);
        a.kit.Fly(2, below, {1, 0, 0}, 0);
        a.Frames(40);
        EXPECT_LT(Vec3Length(a.BarrelAim() - Vector3{0, 0, 1}), 1e-5f) << "A holds above its base plane";
        EXPECT_EQ(ShotsFired(*a.kit.world), 0);
    }
    {
        LoneTurret f(TurretF);
        StraightFlyer* target = f.kit.Fly(2, below, {1, 0, 0}, 0);
        f.Frames(40);
        Vector3 towards = Vec3Normalize(below - f.turret->barrel.GetPosition());
        EXPECT_GT(Vec3Dot(f.BarrelAim(), towards), 0.99f) << "F covers the lower hemisphere";
        EXPECT_GT(ShotsFired(*f.kit.world), 0);
        EXPECT_LT(target->hp, target->maxHp);
    }
}

TEST(TurretTest, SalvoPodFiresNineThenRestsWhileTracking) {
    LoneTurret c(TurretC);
    c.kit.Fly(2, {-5, 55, 25}, {1, 0, 0}, 0.03f);
    std::vector<int> fired;
    std::vector<Vector3> facing;
    for (int frame = 0; frame < 200; ++frame) {
        int before = c.kit.world->SoundRequests(BattleSound::SmallMissileLaunch);
        c.Frames(1);
        if (c.kit.world->SoundRequests(BattleSound::SmallMissileLaunch) > before) fired.push_back(frame);
        facing.push_back(Vec3Normalize(c.turret->mount.GetForward()));
    }
    // The first salvo starts at pod position 1; the second is a whole one.
    size_t start = 0;
    while (start + 1 < fired.size() && fired[start + 1] - fired[start] == 5) ++start;
    ++start;
    ASSERT_GE(fired.size(), start + 10);
    for (size_t i = start; i < start + 8; ++i) EXPECT_EQ(fired[i + 1] - fired[i], 5) << i;
    EXPECT_EQ(fired[start + 9] - fired[start + 8], 50) << "nine silent reloads after the ninth missile";
    EXPECT_EQ(fired[start] - fired[start - 1], 50);
    // Still tracking the moving target while the pod rests.
    int quiet = fired[start + 8];
    EXPECT_LT(Vec3Dot(facing[size_t(quiet + 5)], facing[size_t(quiet + 45)]), 0.99999f);
}

TEST(TurretTest, TeammateInLineOfFireWithholdsTheShotButSpendsTheReload) {
    LoneTurret a(TurretA);
    Vector3 enemyAt{0, 52, 20};
    a.kit.Fly(2, enemyAt, {1, 0, 0}, 0);
    Vector3 pivot = a.turret->barrel.GetPosition();
    TestUnit* mate = a.kit.Make(UnitFamily::Fighter, 1, 0, 1000, pivot + (enemyAt - pivot) * 0.5f);
    // Swinging round from its rest pose it may fire past the teammate.
    a.Frames(20);
    int firedWhileSwinging = ShotsFired(*a.kit.world);
    int barrelsTurned = 0;
    for (int frame = 0; frame < 40; ++frame) {
        int before = a.turret->weapon.nextBarrel;
        a.Frames(1);
        barrelsTurned += a.turret->weapon.nextBarrel != before ? 1 : 0;
    }
    EXPECT_GT(Vec3Dot(a.BarrelAim(), Vec3Normalize(enemyAt - pivot)), 0.99f) << "keeps tracking";
    EXPECT_EQ(ShotsFired(*a.kit.world), firedWhileSwinging);
    EXPECT_EQ(mate->hp, 1000);
    EXPECT_GE(barrelsTurned, 15) << "the reload runs as if it had fired";
}

// Two stations of different teams; a fighter of team 2 crosses 25 units from
// station 1 at throttle 3. Station 1's turrets lag behind it but hit it;
// station 2 never shoots its own fighter.
TEST(TurretTest, HeadlessBattleTracksAndHitsACrossingFighter) {
    StationTestKit kit;
    Station* home = kit.Deploy(1, 1);
    Station* away = kit.Deploy(3, 2, {0, 0, 120});
    ASSERT_TRUE(home && away);
    StraightFlyer* fighter = kit.Fly(2, {-40, 15, 20}, {1, 0, 0}, Throttle3Speed, 2000);
    auto* gun = static_cast<Turret*>(home->turrets[0]);
    float largestLag = 0;
    for (int frame = 0; frame < 220 && fighter->hp > 0; ++frame) {
        kit.Frame();
        Vector3 towards = Vec3Normalize(fighter->GetWorldPosition() - gun->barrel.GetPosition());
        float lag = std::acos(std::min(1.0f, Vec3Dot(towards, Vec3Normalize(gun->barrel.GetForward()))));
        if (std::fabs(fighter->GetWorldPosition().x) < 10) largestLag = std::max(largestLag, lag);
    }
    EXPECT_GT(largestLag, 0.02f) << "smoothing lags a crossing target";
    EXPECT_LT(largestLag, 0.6f) << "but keeps it within the fire window";
    EXPECT_LT(fighter->hp, 2000);
    EXPECT_EQ(kit.stats.Get(1, BattleStats::FightersDestroyed) +
                  kit.world->SoundRequests(BattleSound::SmallMissileLaunch),
              0)
        << "station 2's pod never fires at its own fighter";
}
