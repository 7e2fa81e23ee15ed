// Deleted units must leave no pointer behind. The test build runs with
// AddressSanitizer, so following one would fail these tests outright; the
// checks below also catch a stale pointer that is merely kept.
#include "game/weapons/Barrage.h"
#include "game/weapons/Laser.h"
#include "game/weapons/Missile.h"
#include "game/weapons/Plasma.h"
#include "game/weapons/WeaponSpec.h"
#include "game/world/Country.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <set>

namespace {

WeaponSpec Mount() { return {1, 2, 20, 40, 0.8f, 1.0f}; }
WeaponSpec Beam() { return {1, 1, 5, 12, 20.0f, 0.1f}; }

std::set<const Unit*> LiveUnits(const World& world) {
    std::set<const Unit*> units;
    for (size_t i = 0; i < StationPool::Capacity; ++i) units.insert(world.stations[i]);
    for (size_t i = 0; i < PanelPool::Capacity; ++i) units.insert(world.panels[i]);
    for (size_t i = 0; i < TurretPool::Capacity; ++i) units.insert(world.turrets[i]);
    for (size_t i = 0; i < FighterPool::Capacity; ++i) units.insert(world.fighters[i]);
    units.insert(nullptr);
    return units;
}

// Every unit pointer the world keeps refers to a unit in a pool, or is null.
void ExpectNoStalePointers(const World& world, const char* when) {
    std::set<const Unit*> live = LiveUnits(world);
    auto check = [&](const Unit* unit, const char* what) {
        EXPECT_TRUE(live.count(unit)) << what << " still points at a deleted unit " << when;
    };
    check(world.selectedUnit, "the selection");
    check(world.previousSelected, "the previous selection");
    check(world.camera.GetFocus(), "the camera focus");
    check(world.playerStation, "the player's station");
    check(world.FlownUnit(), "the manual slot");
    for (size_t i = 0; i < ShotList::Capacity; ++i) {
        const Shot* shot = world.shots[i];
        if (!shot) continue;
        check(shot->shooter, "a shooter");
        if (auto* missile = dynamic_cast<const Missile*>(shot)) check(missile->target, "a missile target");
        if (auto* laser = dynamic_cast<const Laser*>(shot)) check(laser->lastHit, "a beam contact");
    }
    for (size_t i = 0; i < CountryRegistry::Capacity; ++i) {
        const Country* country = world.countries[i];
        if (!country) continue;
        check(country->station, "a country's station");
        for (const Unit* fighter : country->fighters) check(fighter, "a fighter slot");
    }
    for (const Unit* unit : live)
        if (unit) check(static_cast<const TestUnit*>(unit)->target, "a unit's target");
}

} // namespace

TEST(WorldForget, DeletingAUnitClearsEveryReferenceToIt) {
    WorldTestKit kit;
    World& world = *kit.world;
    Country* country = world.countries.Create(1, 0);
    TestUnit* station = kit.Make(UnitFamily::Station, 1, 0, 1000, {0, 0, -20}, &country->station);
    TestUnit* turret = kit.Make(UnitFamily::Turret, 1, 0, 500, {0, 0, 0});
    TestUnit* fighter = kit.Make(UnitFamily::Fighter, 2, 1, 500, {0, 0, 15}, &country->fighters[0]);
    TestUnit* watcher = kit.Make(UnitFamily::Fighter, 2, 1, 500, {30, 0, 0});
    watcher->target = fighter;
    world.playerStation = station;
    world.selectedUnit = fighter;
    world.previousSelected = fighter;
    world.camera.SetFocus(fighter);
    world.manualSlot = &country->fighters[0];
    world.trails.CreateTrail(&fighter->body, 0, 0, -0.5f, 8, 0.1f, 1);

    Missile* missile = world.shots.Fire<Missile>(world, turret, Mount(), fighter, 0.0f, Vector3{0, 0, 1},
                                                 Vector3{0, 1, 0});
    Laser* fightersBeam = world.shots.Fire<Laser>(world, fighter, Beam(), &fighter->body, Vector3{});
    fighter->body.LookAt({0, 0, 0});
    world.shots.UpdateShots();
    ASSERT_EQ(fightersBeam->lastHit, turret);

    // The fighter is deleted by its pool (its death sequence is over) while
    // the missile chases it, its own beam burns and the camera follows it.
    fighter->SelfDestruct();
    world.fighters.UpdateAll();
    ASSERT_FALSE(world.fighters.Contains(fighter));
    EXPECT_EQ(missile->target, nullptr);
    EXPECT_EQ(fightersBeam->shooter, nullptr);
    EXPECT_EQ(fightersBeam->gunNode, nullptr);
    EXPECT_EQ(watcher->target, nullptr);
    EXPECT_EQ(world.camera.GetFocus(), nullptr);
    EXPECT_EQ(world.previousSelected, nullptr);
    EXPECT_EQ(world.trails[0]->node, nullptr);
    EXPECT_TRUE(world.FlownUnit() == nullptr);
    ExpectNoStalePointers(world, "after the fighter");

    // A new unit that may reuse the address is nobody's target.
    TestUnit* newcomer = kit.Make(UnitFamily::Fighter, 2, 1, 500, {0, 0, 15});
    (void)newcomer;
    EXPECT_EQ(missile->target, nullptr);
    world.shots.UpdateShots();
    world.trails.UpdateAll();

    // Clearing the turret pool mid-flight: its beam ends, its shots fly on.
    Laser* turretsBeam = world.shots.Fire<Laser>(world, turret, Beam(), &turret->body, Vector3{});
    Plasma* bolt = world.shots.Fire<Plasma>(world, turret, Mount(), 0.0f, Vector3{0, 0, 1}, Vector3{0, 0, 1});
    world.turrets.ClearAll();
    EXPECT_EQ(turretsBeam->gunNode, nullptr);
    EXPECT_EQ(bolt->shooter, nullptr);
    ExpectNoStalePointers(world, "after the turrets");
    for (int i = 0; i < 60; ++i) world.shots.UpdateShots();
    EXPECT_EQ(world.shots.Count(), 0u);

    // The station pool goes while the player's station and the country's
    // slot still name it.
    world.stations.ClearAll();
    EXPECT_EQ(world.playerStation, nullptr);
    EXPECT_EQ(country->station, nullptr);
    ExpectNoStalePointers(world, "after the stations");
}

TEST(WorldForget, SoakOfRandomFightingAndDeletion) {
    WorldTestKit kit(3);
    World& world = *kit.world;
    RandomGenerator dice(12345);
    auto anyUnit = [&]() -> Unit* {
        for (int tries = 0; tries < 8; ++tries) {
            int family = dice.Random(4);
            size_t capacity[] = {StationPool::Capacity, PanelPool::Capacity, TurretPool::Capacity, FighterPool::Capacity};
            size_t i = size_t(dice.Random(int(capacity[family])));
            Unit* unit = family == 0   ? world.stations[i]
                         : family == 1 ? world.panels[i]
                         : family == 2 ? world.turrets[i]
                                       : world.fighters[i];
            if (unit) return unit;
        }
        return nullptr;
    };
    auto somewhere = [&]() { return dice.RandomVector<Vector3>(25); };
    Country* country = world.countries.Create(1, 0);
    world.launchFighter = [&](Country& record, int slot) {
        return kit.Make(UnitFamily::Fighter, record.teamId, record.countryIndex, 60, somewhere(),
                        &record.fighters[size_t(slot)]);
    };

    for (int frame = 0; frame < 1000; ++frame) {
        for (int k = dice.Random(4); k > 0; --k) {
            auto family = UnitFamily(dice.Random(4));
            TestUnit* unit = kit.Make(family, 1 + dice.Random(3), dice.Random(12), 20 + dice.Random(200), somewhere());
            if (unit) unit->deathFrames = dice.Random(8);
        }
        if (!country->station) kit.Make(UnitFamily::Station, 1, 0, 300, somewhere(), &country->station);
        world.countries.UpdateAll();
        for (int k = dice.Random(6); k > 0; --k) {
            Unit* shooter = anyUnit();
            if (!shooter || shooter->hp <= 0) continue;
            Unit* target = anyUnit();
            Vector3 from = shooter->GetWorldPosition();
            Vector3 towards = target ? target->GetWorldPosition() - from : Vector3{0, 0, 1};
            switch (dice.Random(5)) {
            case 0: world.shots.Fire<Plasma>(world, shooter, Mount(), 0.1f, from, towards); break;
            case 1: world.shots.Fire<Laser>(world, shooter, Beam(), shooter->node, Vector3{0, 0, 0.5f}); break;
            case 2: world.shots.Fire<Missile>(world, shooter, Mount(), target, 0.2f, from, towards); break;
            case 3: world.shots.Fire<SmallMissile>(world, shooter, Mount(), target, 0.0f, from, towards); break;
            default:
                if (target) world.shots.Fire<Barrage>(world, shooter, Mount(), target, 0.0f, from, towards);
            }
        }
        if (Unit* victim = anyUnit()) victim->Damage(dice.Random(150), dice.Random(12), 1 + dice.Random(3));
        if (Unit* chosen = anyUnit()) static_cast<TestUnit*>(chosen)->target = anyUnit();
        if (dice.Random(10) == 0) world.selectedUnit = anyUnit();
        if (dice.Random(10) == 0) world.camera.SetFocus(anyUnit());
        if (dice.Random(20) == 0) world.manualSlot = &country->fighters[size_t(dice.Random(3))];
        if (dice.Random(25) == 0) world.playerStation = country->station;
        if (dice.Random(90) == 0) {
            switch (dice.Random(4)) {
            case 0: world.stations.ClearAll(); break;
            case 1: world.panels.ClearAll(); break;
            case 2: world.turrets.ClearAll(); break;
            default: world.fighters.ClearAll();
            }
        }
        world.previousSelected = world.selectedUnit;
        world.stations.UpdateAll();
        world.panels.UpdateAll();
        world.turrets.UpdateAll();
        world.fighters.UpdateAll();
        world.shots.UpdateShots();
        world.explosions.UpdateAll();
        world.trails.UpdateAll();
        world.vapour.UpdateAll();
        if (frame % 50 == 0) ExpectNoStalePointers(world, "during the soak");
        if (HasFailure()) return;
    }
    EXPECT_GT(world.SoundRequests(BattleSound::Explosion), 10) << "the soak saw missiles and shells hit";
    world.ResetWorld();
    ExpectNoStalePointers(world, "after the reset");
}
