#include "game/fighters/Fighter.h"
#include "game/flow/Controls.h"
#include "game/weapons/Laser.h"
#include "game/weapons/Missile.h"
#include "game/weapons/Plasma.h"
#include "game/world/BattleStats.h"
#include "game/world/Effects.h"
#include "platform/Input.h"
#include "game/fighters/FighterTestKit.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

TEST(FighterFlight, ThrottleStepsPuffAndAttachTrailsAroundZero) {
    FighterKit kit;
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    // clearance 0.2 + 0.1 along the launch up
    ExpectNear(f->GetWorldPosition(), {0, 0.3f, 0});
    auto& vapour = kit.world->vapour;

    f->ChangeThrottle(1);
    EXPECT_EQ(vapour.Count(), 3u) << "three engine puffs";
    EXPECT_EQ(AttachedTrails(*f), 3);
    Trail* engine = f->trails[0];
    f->ChangeThrottle(1);
    f->ChangeThrottle(1);
    EXPECT_EQ(vapour.Count(), 9u);
    f->ChangeThrottle(1);
    EXPECT_EQ(f->throttle, 3.0f);
    EXPECT_EQ(vapour.Count(), 9u) << "the clamp at 3 fires no hook";

    for (int i = 0; i < 3; ++i) f->ChangeThrottle(-1);
    EXPECT_EQ(f->throttle, 0.0f);
    EXPECT_FALSE(engine->Attached()) << "released on the way through 0";
    EXPECT_EQ(AttachedTrails(*f), 0);
    f->ChangeThrottle(-1);
    EXPECT_EQ(AttachedTrails(*f), 3) << "retro trails at -1";
    size_t puffs = vapour.Count();
    f->ChangeThrottle(-1);
    EXPECT_EQ(f->throttle, -1.0f);
    EXPECT_EQ(vapour.Count(), puffs);
    f->ChangeThrottle(1);
    EXPECT_EQ(AttachedTrails(*f), 0);
    EXPECT_EQ(vapour.Count(), puffs + 3) << "throttle-up puffs on the way back to 0";

    // Two engines on a type with three trail entries: the third stays empty.
    Fighter* f9 = kit.Launch(8, 1, {10, 0, 0});
    f9->ChangeThrottle(1);
    EXPECT_NE(f9->trails[0], nullptr);
    EXPECT_NE(f9->trails[1], nullptr);
    EXPECT_EQ(f9->trails[2], nullptr);
    EXPECT_EQ(f9->trailCount, 3);
}

TEST(FighterFlight, InputHooksFireOnChangesOfValueOnly) {
    FighterKit kit;
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    auto& vapour = kit.world->vapour;
    f->SetElevator(-1);
    ASSERT_EQ(vapour.Count(), 2u);
    // Nose up puffs under the nose, blowing down.
    ExpectNear(vapour[0]->position, {0, 0.2f, 0.7f});
    ExpectNear(vapour[0]->forward, {0, -1, 0});
    f->SetElevator(0);
    EXPECT_EQ(vapour.Count(), 4u) << "releasing elevator up is an increase";
    ExpectNear(vapour[2]->forward, {0, 1, 0});
    f->SetElevator(0);
    f->SetRudder(0);
    f->SetAileron(0);
    EXPECT_EQ(vapour.Count(), 4u);
    f->SetRudder(1);
    ExpectNear(vapour[4]->position, {-0.325f, 0.25f, -0.45f});
}

TEST(FighterFlight, ManualControlReadsTheActions) {
    FighterKit kit;
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    std::map<int, int> keys;
    auto update = [&] {
        kit.world->playerActions = {};
        for (auto [action, edge] : keys) kit.world->playerActions[size_t(action)] = uint8_t(edge);
        f->UpdateManual();
    };
    keys = {{RudderLeft, Input::Held}, {RudderRight, Input::Held}, {ElevatorUp, Input::Pressed},
            {AileronRight, Input::Held}, {ThrottleUp, Input::Pressed}, {MainWeapon, Input::Held}};
    f->mainWeapon.reloadCountdown = 0;
    update();
    EXPECT_EQ(f->yawInput, 1.0f) << "both rudder keys: the first named wins";
    EXPECT_EQ(f->pitchInput, -1.0f);
    EXPECT_EQ(f->rollInput, -1.0f);
    EXPECT_EQ(f->throttle, 1.0f);
    EXPECT_EQ(ShotsOf<Laser>(*kit.world).size(), 1u);
    keys[ThrottleUp] = Input::Held;
    keys[ElevatorUp] = Input::Released;
    update();
    EXPECT_EQ(f->throttle, 1.0f) << "holding the key changes the throttle once";
    EXPECT_EQ(f->pitchInput, 0.0f) << "a key released this frame is up";
    EXPECT_EQ(ShotsOf<Laser>(*kit.world).size(), 1u) << "the gun waits for its reload";
    keys = {{ThrottleDown, Input::Pressed}, {ThrottleUp, Input::Pressed}};
    update();
    EXPECT_EQ(f->throttle, 1.0f) << "up then down in one frame";
}

TEST(FighterFlight, FliesAlongItsNoseForwardAndBackward) {
    FighterKit kit;
    Fighter* f = kit.Launch(1, 1, {0, 0, 0});
    f->ChangeThrottle(-1);
    for (int i = 0; i < 300; ++i) kit.world->fighters.UpdateAll();
    Vector3 before = f->GetWorldPosition();
    kit.world->fighters.UpdateAll();
    ExpectNear(f->GetWorldPosition() - before, {0, 0, -f->baseSpeed}, 1e-3f);

    // A pitch input turns the nose down (towards -y), and the step follows the old nose.
    Fighter* g = kit.Launch(1, 1, {20, 0, 0});
    g->speedFactor = 1;
    g->throttle = 1;
    g->SetElevator(1);
    kit.world->fighters.UpdateAll();
    ExpectNear(g->GetWorldPosition(), {20, 0.2f, 0.135f});
    EXPECT_LT(g->body.GetForward().y, 0.0f);

    // A launch pose without a usable frame is logged and replaced.
    Fighter* h = kit.Launch(1, 1, {40, 0, 0}, {0, 1, 0}, {0, 1, 0});
    ExpectNear(h->body.GetForward(), {0, 0, 1});
    EXPECT_NE(kit.log.find("発進方向"), std::string::npos);
}

TEST(FighterFlight, CollisionStopsAtTheContactPointAndHurtsBothOnce) {
    FighterKit kit;
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    TestUnit* block = kit.Make(UnitFamily::Turret, 2, 5, 1000, {0, 0.3f, 0.6f});
    block->maxHp = 1000;
    f->throttle = 3;
    f->speedFactor = 3;
    kit.world->fighters.UpdateAll();
    float radius = block->body.mesh->sphereRadius;
    ExpectNear(f->GetWorldPosition(), {0, 0.3f, 0.6f - 0.5f * radius});
    EXPECT_EQ(f->hp, 0) << "half of 1000 destroys a fighter of 300";
    EXPECT_EQ(block->hp, 850);
    EXPECT_EQ(kit.stats.Get(5, BattleStats::FightersDestroyed), 1);
    EXPECT_EQ(kit.stats.Get(0, BattleStats::FightersLost), 1);
}

TEST(FighterDeath, WreckDriftsSpinsBurstsAndIsDeletedOnThe56thFrame) {
    FighterKit kit;
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    f->throttle = 3;
    f->speedFactor = 3;
    f->SetElevator(1);
    f->Damage(1000, 4, 2);
    EXPECT_EQ(f->pitchInput, 0.0f);
    EXPECT_FLOAT_EQ(Vec3Length(f->tumbleAxis), 1.0f);
    Vector3 start = f->GetWorldPosition();
    for (int frame = 1; frame <= 51; ++frame) kit.world->fighters.UpdateAll();
    ExpectNear(f->GetWorldPosition(), start + Vector3{0, 0, 51 * 0.3f}, 1e-3f);
    EXPECT_LT(f->body.GetForward().z, 0.999f) << "it tumbles";
    EXPECT_EQ(kit.world->explosions.Count(), 12u) << "frames 0, 5 ... 50, then the big one";
    EXPECT_EQ(kit.world->SoundRequests(BattleSound::Explosion), 1);
    for (int frame = 52; frame <= 55; ++frame) kit.world->fighters.UpdateAll();
    EXPECT_EQ(kit.world->fighters.Count(), 1u);
    kit.world->fighters.UpdateAll();
    EXPECT_EQ(kit.world->fighters.Count(), 0u) << "deleted on the 56th frame";

    // A wreck that meets a station hurts it and bursts at once.
    TestUnit* station = kit.Make(UnitFamily::Station, 2, 3, 5000, {0, 0.3f, 4});
    Fighter* g = kit.Launch(0, 1, {0, 0, 0});
    g->speedFactor = 3;
    g->SelfDestruct();
    for (int frame = 0; frame < 10; ++frame) kit.world->fighters.UpdateAll();
    EXPECT_EQ(station->hp, 5000 - 150);
    EXPECT_GT(g->dyingFrames, 50);
    EXPECT_EQ(kit.world->SoundRequests(BattleSound::Explosion), 2);
}

TEST(FighterFlight, OrdersAimPointAndManualControl) {
    FighterKit kit;
    kit.setup.playerCountry = 0;
    Unit* slot = nullptr;
    Fighter* mine = kit.Launch(0, 1, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, &slot);
    EXPECT_EQ(slot, mine);
    Fighter* theirs = kit.Launch(1, 2, {30, 0, 0});
    Fighter* friendOfMine = kit.Launch(2, 1, {-30, 0, 0});
    EXPECT_FALSE(theirs->Order(mine)) << "not the player's country";
    EXPECT_TRUE(mine->Order(theirs));
    EXPECT_FALSE(mine->Order(friendOfMine));
    EXPECT_EQ(mine->orderedTarget, theirs) << "a refused order keeps the previous one";
    mine->chosenTarget = friendOfMine;
    EXPECT_TRUE(mine->Order(nullptr));
    EXPECT_EQ(mine->GetTarget(), nullptr);

    // at rest it is its own aim point
    ExpectNear(mine->GetAimPoint({0, 0, -50}, 0.8f), mine->GetWorldPosition());
    mine->speedFactor = 2;
    ExpectNear(mine->GetAimPoint({0, 0.3f, -50}, 0.8f), {0, 0.3f, 50 * 2 * 0.1f * 0.8f});

    kit.world->selectedUnit = mine;
    kit.world->pilotView = true;
    EXPECT_FALSE(theirs->TakeManualControl());
    EXPECT_TRUE(mine->TakeManualControl());
    EXPECT_EQ(kit.world->FlownUnit(), mine);
    EXPECT_EQ(kit.world->selectedUnit, nullptr);
    EXPECT_FALSE(kit.world->pilotView);
    EXPECT_EQ(kit.world->cursorX, 320);

    // A deleted target is forgotten.
    mine->Order(theirs);
    theirs->SelfDestruct();
    for (int i = 0; i < 56; ++i) kit.world->fighters.UpdateAll();
    EXPECT_EQ(mine->orderedTarget, nullptr);

    // The pad shakes for the flown fighter only: a hit, then its end.
    std::vector<bool> shakes;
    kit.world->onFlownUnitHit = [&](bool destroyed) { shakes.push_back(destroyed); };
    friendOfMine->Damage(5, 1, 2);
    mine->Damage(5, 1, 2);
    EXPECT_EQ(shakes, std::vector<bool>{false});
    mine->Damage(mine->hp, 1, 2);
    EXPECT_EQ(shakes, (std::vector<bool>{false, true}));
    kit.world->onFlownUnitHit = nullptr;
}

TEST(FighterTypes, EachCountryFliesItsOwnTypeAndDescribesIt) {
    const auto& types = FighterTypes();
    for (int t = 0; t < CountryCount; ++t) {
        EXPECT_EQ(types[size_t(t)].countryIndex, t);
        EXPECT_LE(types[size_t(t)].engineCount, types[size_t(t)].trailCount) << "every engine has its trail";
    }

    FighterKit kit;
    std::string text;
    kit.Launch(3, 1, {0, 0, 0})->Describe(text);
    EXPECT_EQ(text, "\n\n  Class: Fighter\n    Velocity: 3.36\n    Main Weapon\n      Damage: 10\n      Type: Plasma"
                    "\n    Sub Weapon\n      Damage: 30\n      Type: Small Missile");
    text.clear();
    kit.Launch(0, 1, {5, 0, 0})->Showcase(text);
    EXPECT_EQ(text.rfind("\n\n  Fighter\n    HP: 300\n    Velocity: 3.00\n    Main Weapon", 0), 0u);
    EXPECT_NE(text.find("Type: Laser"), std::string::npos);
}

TEST(FighterTypes, MuzzlesAndLaunchers) {
    FighterKit kit;
    auto ready = [](Fighter* f) {
        f->mainWeapon.reloadCountdown = 0;
        f->subWeapon.reloadCountdown = 0;
    };
    // Laser: body-relative right muzzle first.
    Fighter* f1 = kit.Launch(0, 1, {0, 0, 0});
    ready(f1);
    f1->FireMain();
    ASSERT_EQ(ShotsOf<Laser>(*kit.world).size(), 1u);
    ExpectNear(ShotsOf<Laser>(*kit.world)[0]->muzzleOffset, {0.15f, -0.15f, 0.5f});

    // Plasma: right muzzle, then left.
    Fighter* f2 = kit.Launch(1, 1, {10, 0, 0});
    ready(f2);
    f2->FireMain();
    f2->mainWeapon.reloadCountdown = 0;
    f2->FireMain();
    auto bolts = ShotsOf<Plasma>(*kit.world);
    ASSERT_EQ(bolts.size(), 2u);
    ExpectNear(bolts[0]->position, {10.275f, 0.175f, 0.3f});
    ExpectNear(bolts[1]->position, {9.725f, 0.175f, 0.3f});

    // Alternating launchers: right on the first trigger, every 60 frames.
    TestUnit* enemy = kit.Make(UnitFamily::Fighter, 2, 7, 100, {0, 50, 50});
    Fighter* f3 = kit.Launch(2, 1, {20, 0, 0});
    f3->chosenTarget = enemy;
    std::vector<float> sides;
    for (int frame = 0; frame < 121; ++frame) {
        f3->subWeapon.CountDown();
        size_t before = ShotsOf<Missile>(*kit.world).size();
        f3->FireSub();
        auto missiles = ShotsOf<Missile>(*kit.world);
        if (missiles.size() > before) sides.push_back(missiles.back()->node.GetPosition().x - 20);
    }
    ASSERT_EQ(sides.size(), 2u);
    EXPECT_NEAR(sides[0], 0.25f, Near);
    EXPECT_NEAR(sides[1], -0.25f, Near);

    // A pair of small missiles per trigger, both at the target.
    Fighter* f5 = kit.Launch(4, 1, {40, 0, 0});
    ready(f5);
    f5->chosenTarget = enemy;
    f5->FireSub();
    f5->FireSub();
    auto small = ShotsOf<SmallMissile>(*kit.world);
    ASSERT_EQ(small.size(), 2u);
    EXPECT_NEAR(small[0]->node.GetPosition().x, 40.2f, Near);
    EXPECT_NEAR(small[1]->node.GetPosition().x, 39.8f, Near);
    EXPECT_EQ(small[0]->target, enemy);
    EXPECT_EQ(small[1]->target, enemy);
    EXPECT_EQ(f5->subWeapon.reloadCountdown, 45);
}

TEST(FighterViews, ChaseViewIsOneFrameLate) {
    FighterKit kit;
    Fighter* f = kit.Launch(0, 1, {5, 0, 0}, {1, 0, 0});
    kit.world->pilotView = true;
    Vector3 out;
    EXPECT_FALSE(f->GetCameraTarget(&out));
    // no lead at throttle 0
    ExpectNear(out, f->GetWorldPosition());
    // the start pose, once
    ExpectNear(kit.world->CameraEye(), {0, 2.5f, -10}, 1e-3f);
    f->GetCameraTarget(nullptr);
    ExpectNear(kit.world->CameraEye(), {5 - 10, 0.3f + 2.5f, 0}, 1e-3f);
    kit.world->pilotView = false;
    EXPECT_TRUE(f->GetCameraTarget(&out));
}

TEST(FighterViews, MissileLockWithinRangeAndNose) {
    FighterKit kit;
    kit.LookAt({0, 5, -20}, {0, 0, 30});
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    auto lockAt = [&](const Vector3& at) {
        Fighter* enemy = kit.Launch(1, 2, at);
        f->chosenTarget = f;
        f->DrawManualDisplay();
        Unit* locked = f->chosenTarget;
        enemy->SelfDestruct();
        kit.world->fighters.ClearAll();
        f = kit.Launch(0, 1, {0, 0, 0});
        return locked != nullptr;
    };
    EXPECT_TRUE(lockAt({0, 0, 60}));
    EXPECT_FALSE(lockAt({0, 0, 71}));
    EXPECT_FALSE(lockAt({60 * 0.5f, 0, 60 * 0.866f}));
    f->DrawManualDisplay();
    EXPECT_EQ(f->chosenTarget, nullptr) << "nobody to lock";
}
