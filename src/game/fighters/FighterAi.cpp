#include "game/fighters/Fighter.h"

#include "game/world/World.h"
#include "render/MeshResource.h"

namespace {

// Any living station closer than this is evaded, whatever the fighter was doing.
constexpr float StationAvoidance = 8.0f;
// How close an attack runs to the target's hull before breaking off: 8
// when the target is busy elsewhere; when the two chase each other, from 8
// (same heading) to 18 (head-on).
constexpr float TailMargin = 8.0f;
constexpr float HeadOnMargin = 18.0f;
// Share of the target direction across the nose that still counts as aligned.
constexpr float AimTolerance = 0.03f;
constexpr float LeadConstant = 0.8f;
constexpr float FiringRangeFactor = 1.5f;
// Extending and breaking off end at this distance from the target...
constexpr float ExtendDistance = 40.0f;
// ...or when a pursuer behind points its nose straight at the fighter.
constexpr float HeadOnThreat = -0.98f;
constexpr float EvasionTolerance = 0.1f;
// Yaw away as well only while the threat is within 60 degrees of the nose.
constexpr float EvasionYawCosine = 0.5f;
constexpr float FullThrottle = 3.0f;

float Sign(bool positive) {
    return positive ? 1.0f : -1.0f;
}

float HullRadius(const Unit& unit) {
    return unit.node && unit.node->mesh ? unit.node->mesh->sphereRadius : 0.0f;
}

Vector3 NoseOf(const Unit& unit) {
    return unit.node ? Vec3Normalize(unit.node->GetForward()) : Vector3{};
}

// The families a new target may come from on this call: fighters on four
// calls in five, and whichever of stations, panels and turrets the second
// draw picks; all four when the draws pick none. Both draws are made on
// every call, whether a target is chosen or not.
int DrawTargetFamilies(RandomGenerator& random) {
    bool fightersEligible = random.Random(5) != 0;
    int otherFamiliesEligible = random.Random(8);
    int families = (fightersEligible ? World::FighterFamily : 0) | otherFamiliesEligible;
    if (families == 0)
        families = World::StationFamily | World::PanelFamily | World::TurretFamily | World::FighterFamily;
    return families;
}

} // namespace

// What one AI call works with: the fighter's place and axes, the unit it acts
// on and whether that is the player's order, and the families a new target
// may come from.
struct Fighter::AiView {
    Vector3 position;
    Vector3 forward, up, right;
    Unit* target = nullptr;
    bool ordered = false;
    int targetFamilies = 0;
};

void Fighter::UpdateAI() {
    AiView view{};
    view.targetFamilies = DrawTargetFamilies(world.random);
    view.position = body.GetPosition();
    view.forward = Vec3Normalize(body.GetForward());
    view.up = Vec3Normalize(body.GetUp());
    view.right = Vec3Normalize(body.GetRight());

    Unit* station = world.stations.Nearest(nullptr, view.position);
    if (station && Vec3Length(station->GetWorldPosition() - view.position) < StationAvoidance) {
        view.target = station;
        aiState = BreakOff;
    } else if (orderedTarget) {
        view.target = orderedTarget;
        view.ordered = true;
    } else {
        view.target = chosenTarget;
        if (!view.target) aiState = Idle;
    }

    switch (aiState) {
    case Idle:
        return AiIdle(view);
    case Attack:
        return AiAttack(view);
    case Extend:
    case BreakOff:
        return AiSteerAway(view);
    default:
        return;
    }
}

void Fighter::DropTargets() {
    orderedTarget = chosenTarget = nullptr;
    aiState = Idle;
}

void Fighter::AiIdle(const AiView& view) {
    SetElevator(0);
    SetRudder(0);
    SetAileron(0);
    if (!view.ordered) {
        chosenTarget = world.NearestAcrossFamilies(this, view.position, view.targetFamilies);
        if (!chosenTarget) {
            // Nothing to fight: coast down to a standstill, a step per frame.
            if (throttle > 0) ChangeThrottle(-1);
            return;
        }
    }
    // A new target is always approached by first extending away from it.
    aiState = Extend;
}

void Fighter::AiAttack(const AiView& view) {
    Unit* target = view.target;
    if (!target || target->hp <= 0) return DropTargets();
    Vector3 toTarget = target->GetWorldPosition() - view.position;
    bool mutual = target->GetTarget() == this;
    float margin = TailMargin;
    if (mutual) {
        float k = (Vec3Dot(NoseOf(*target), view.forward) + 1) * 0.5f;
        margin = (1 - k) * HeadOnMargin + k * TailMargin;
    }
    if (throttle < FullThrottle) return ChangeThrottle(1);
    float distance = Vec3Length(toTarget);
    if (distance <= HullRadius(*target) + margin) {
        aiState = BreakOff;
        return;
    }
    // A target busy elsewhere is led; one that chases this fighter is aimed at directly.
    if (!mutual)
        toTarget = target->GetAimPoint(view.position, LeadConstant / mainWeapon.speed) - view.position;
    Vector3 n = Vec3Normalize(toTarget);
    float x = Vec3Dot(view.right, n), y = Vec3Dot(view.up, n), z = Vec3Dot(view.forward, n);
    // Roll the target into the plane of symmetry, then pitch towards it;
    // the rudder is left alone.
    if (x > AimTolerance) {
        SetElevator(0);
        return SetAileron(y > 0 ? -1.0f : 1.0f);
    }
    if (x < -AimTolerance) {
        SetElevator(0);
        return SetAileron(y > 0 ? 1.0f : -1.0f);
    }
    if (z < 0) {
        SetElevator(y > 0 ? -1.0f : 1.0f);
        return SetAileron(0);
    }
    if (y > AimTolerance || y < -AimTolerance) {
        SetElevator(y > 0 ? -1.0f : 1.0f);
        return SetAileron(0);
    }
    SetElevator(0);
    // The mounts' reload decides whether a shot actually leaves.
    float gunRange = FiringRangeFactor * (baseSpeed * speedFactor + mainWeapon.speed) *
                     float(mainWeapon.life) * mainWeapon.rangeFactor;
    if (gunRange > distance) FireMain();
    if (FiringRangeFactor * subWeapon.Range() > distance) FireSub();
    SetAileron(0);
}

void Fighter::AiSteerAway(const AiView& view) {
    Unit* target = view.target;
    if (!target || target->hp <= 0) return DropTargets();
    Vector3 toTarget = target->GetWorldPosition() - view.position;
    bool threat = target->GetTarget() == this && Vec3Dot(view.forward, toTarget) <= 0;
    float c = threat ? Vec3Dot(Vec3Normalize(toTarget), NoseOf(*target)) : 0.0f;
    if (throttle < FullThrottle) return ChangeThrottle(1);
    if (Vec3Length(toTarget) >= ExtendDistance || (threat && c <= HeadOnThreat)) {
        if (view.ordered || aiState == Extend) {
            aiState = Attack;
        } else {
            chosenTarget = world.NearestAcrossFamilies(this, view.position, view.targetFamilies);
            aiState = chosenTarget ? Extend : Idle;
        }
        return;
    }
    Vector3 n = Vec3Normalize(toTarget);
    float x = Vec3Dot(view.right, n), y = Vec3Dot(view.up, n), z = Vec3Dot(view.forward, n);
    // Ahead: pitch (and near the nose also yaw) away. Behind or abeam:
    // roll it into the plane of symmetry, then pitch away.
    if (z > 0) {
        SetElevator(Sign(y > 0));
        SetRudder(z > EvasionYawCosine ? -Sign(x > 0) : 0.0f);
        SetAileron(0);
    } else if (x > EvasionTolerance) {
        SetElevator(0);
        SetAileron(1);
    } else if (x < -EvasionTolerance) {
        SetElevator(0);
        SetAileron(-1);
    } else {
        SetElevator(y > EvasionTolerance ? 1.0f : y < -EvasionTolerance ? -1.0f : 0.0f);
        SetRudder(0);
        SetAileron(0);
    }
}
