#include "game/fighters/Fighter.h"
#include "game/weapons/Missile.h"
#include "game/weapons/Plasma.h"
#include "game/fighters/FighterTestKit.h"

#include <gtest/gtest.h>

namespace {

// A fighter in attack or extension at full throttle, its mounts reloaded.
Fighter* Ready(Fighter* f, int state, Unit* target) {
    f->throttle = 3;
    f->aiState = state;
    f->chosenTarget = target;
    f->mainWeapon.reloadCountdown = 0;
    f->subWeapon.reloadCountdown = 0;
    return f;
}

} // namespace

TEST(AiSteps, NewFighterChoosesThrottlesUpExtendsThenAttacks) {
    FighterKit kit(1);
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    TestUnit* enemy = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0.3f, 100});
    f->UpdateAI();
    EXPECT_EQ(f->chosenTarget, enemy);
    EXPECT_EQ(f->aiState, Fighter::Extend);
    for (int call = 2; call <= 4; ++call) {
        f->UpdateAI();
        EXPECT_EQ(f->throttle, float(call - 1));
        EXPECT_EQ(f->aiState, Fighter::Extend);
    }
    f->UpdateAI();
    EXPECT_EQ(f->aiState, Fighter::Attack) << "already beyond 40";
    f->SetAileron(1);
    f->UpdateAI();
    EXPECT_EQ(f->rollInput, 0.0f) << "aligned: wings level";

    // With nothing to fight it throttles down a step per call.
    enemy->SelfDestruct();
    f->UpdateAI();
    EXPECT_EQ(f->aiState, Fighter::Idle);
    f->UpdateAI();
    EXPECT_EQ(f->throttle, 2.0f);
}

TEST(AiSteps, ExtensionEndsAtExactly40) {
    FighterKit kit;
    TestUnit* target = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0.3f, 40});
    Fighter* f = Ready(kit.Launch(0, 1, {0, 0, 0}), Fighter::Extend, target);
    f->UpdateAI();
    EXPECT_EQ(f->aiState, Fighter::Attack);

    Fighter* g = Ready(kit.Launch(0, 1, {0, 0, 0.01f}), Fighter::Extend, target);
    g->UpdateAI();
    EXPECT_EQ(g->aiState, Fighter::Extend);
    EXPECT_EQ(g->pitchInput, -1.0f) << "target ahead: pitch away";
    EXPECT_EQ(g->yawInput, 1.0f) << "and within 60 degrees of the nose, yaw away";

    // Break-off with its own target looks for a new one.
    Fighter* h = Ready(kit.Launch(0, 1, {0, 0, -10}), Fighter::BreakOff, target);
    h->UpdateAI();
    EXPECT_EQ(h->aiState, Fighter::Extend);
}

TEST(AiSteps, AttackSteersByRollThenPitchAndFiresInRange) {
    FighterKit kit;
    TestUnit* target = kit.Make(UnitFamily::Fighter, 2, 1, 100, {5, 5.3f, 30});
    Fighter* f = Ready(kit.Launch(1, 1, {0, 0, 0}), Fighter::Attack, target);
    Vector3 at = f->GetWorldPosition();
    f->UpdateAI();
    EXPECT_EQ(f->rollInput, -1.0f) << "right and above: roll right";
    target->body.SetPosition(at + Vector3{0, 0, -30});
    f->UpdateAI();
    EXPECT_EQ(f->pitchInput, 1.0f) << "straight behind: elevator +1";
    EXPECT_EQ(f->rollInput, 0.0f);
    target->body.SetPosition(at + Vector3{0, 2, 30});
    f->UpdateAI();
    EXPECT_EQ(f->pitchInput, -1.0f) << "above the nose: nose up";

    // Plasma 1 x 25 x 1 at base speed 0.1 and speed factor 3: 48.75; missiles 105.
    f->baseSpeed = 0.1f;
    f->speedFactor = 3;
    auto shotsAt = [&](float distance) {
        kit.world->shots.ClearShots();
        target->body.SetPosition(at + Vector3{0, 0, distance});
        f->mainWeapon.reloadCountdown = f->subWeapon.reloadCountdown = 0;
        f->UpdateAI();
        return std::pair{ShotsOf<Plasma>(*kit.world).size(), ShotsOf<Missile>(*kit.world).size()};
    };
    EXPECT_EQ(shotsAt(48.7f), std::pair(size_t(1), size_t(1)));
    EXPECT_EQ(shotsAt(48.8f), std::pair(size_t(0), size_t(1)));
    EXPECT_EQ(shotsAt(104.9f), std::pair(size_t(0), size_t(1)));
    EXPECT_EQ(shotsAt(105.1f), std::pair(size_t(0), size_t(0)));
}

TEST(AiSteps, MutualPursuitWidensTheMarginHeadOn) {
    FighterKit kit;
    auto breaksOffAt = [&](float distance, const Vector3& theirNose, bool mutual) {
        kit.world->fighters.ClearAll();
        Fighter* f = kit.Launch(0, 1, {0, 0, 0});
        Fighter* other = kit.Launch(1, 2, {0, 0, distance}, theirNose);
        Ready(f, Fighter::Attack, other);
        other->chosenTarget = mutual ? f : nullptr;
        f->UpdateAI();
        return f->aiState == Fighter::BreakOff;
    };
    float radius = kit.assets->fighters[1].sphereRadius;
    EXPECT_TRUE(breaksOffAt(radius + 17.9f, {0, 0, -1}, true));
    EXPECT_FALSE(breaksOffAt(radius + 18.1f, {0, 0, -1}, true));
    EXPECT_TRUE(breaksOffAt(radius + 7.9f, {0, 0, 1}, true));
    EXPECT_FALSE(breaksOffAt(radius + 8.1f, {0, 0, 1}, true));
    EXPECT_FALSE(breaksOffAt(radius + 8.1f, {0, 0, -1}, false)) << "not chased: 8 either way";

    // A pursuer behind pointing straight at an ordered fighter ends its extension.
    kit.setup.playerCountry = 0;
    Fighter* f = kit.Launch(0, 1, {0, 0, 0});
    Fighter* pursuer = kit.Launch(1, 2, {0, 0, -20});
    ASSERT_TRUE(f->Order(pursuer));
    Ready(f, Fighter::Extend, nullptr);
    pursuer->chosenTarget = f;
    f->UpdateAI();
    EXPECT_EQ(f->aiState, Fighter::Attack);
}

TEST(AiSteps, StationsAreEvadedAndDeadOrdersDropped) {
    FighterKit kit;
    kit.setup.playerCountry = 0;
    kit.Station(1, 0, {0, 0.3f, 6}, 5000);
    TestUnit* enemy = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0.3f, 100});
    TestUnit* other = kit.Make(UnitFamily::Fighter, 2, 1, 100, {0, 0.3f, 200});
    Fighter* f = Ready(kit.Launch(0, 1, {0, 0, 0}), Fighter::Attack, enemy);
    f->UpdateAI();
    EXPECT_EQ(f->aiState, Fighter::BreakOff) << "its own station, 6 away";
    EXPECT_EQ(f->pitchInput, -1.0f);

    Fighter* g = Ready(kit.Launch(0, 1, {50, 0, 0}), Fighter::Attack, nullptr);
    ASSERT_TRUE(g->Order(enemy));
    enemy->SelfDestruct();
    g->UpdateAI();
    EXPECT_EQ(g->orderedTarget, nullptr);
    EXPECT_EQ(g->aiState, Fighter::Idle);
    for (int i = 0; i < 8 && !g->chosenTarget; ++i) g->UpdateAI();
    EXPECT_EQ(g->chosenTarget, other);
}
