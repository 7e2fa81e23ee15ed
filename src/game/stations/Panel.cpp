#include "game/stations/Panel.h"

#include "game/stations/Station.h"
#include "game/stations/StationAssets.h"
#include "game/world/BattleStats.h"
#include "game/world/World.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr FamilyTraits Traits = TraitsOf(UnitFamily::Panel);

// Radians per frame of a destroyed panel's tumble.
constexpr float TumbleStep = 0.01f;
// Fade: intensity 2^(-FadeRate x frames since death).
constexpr float FadeRate = 0.05f;
// Below this sine between the light and the mount axis the panel cannot
// tell which way to turn, and keeps its pose.
constexpr float ParallelSine = 1e-4f;

// Drops a node's parent, keeping where it is in the world.
void Unhang(SceneNode& node) {
    node.local = node.GetWorldMatrix();
    node.parent = nullptr;
}

} // namespace

Panel::Panel(Station& station, PanelKind kind, Unit** ownerSlot, const Vector3& position, const Vector3& axis)
    : Unit(station.world, station.team, station.country, Traits.scoreValue, ownerSlot,
           GetPanelType(kind).hitPoints, &collisionNode, Traits.hitTest, Traits.pickRadius),
      type(GetPanelType(kind)), mountAxis(Vec3Normalize(axis)),
      repair(RepairInterval, 1, GetPanelType(kind).capacity, 0, 0.0f, 0.0f), station(&station) {
    Vector3 at = position + mountAxis * type.extension;
    wing.Init(&station.assets.wings[kind], at.x, at.y, at.z, 1);
    wing.tag = DrawTag(1);
    collisionNode.Init(&station.assets.wingCollisions[kind], at.x, at.y, at.z, 1);
    wing.parent = collisionNode.parent = station.node;
    if (station.assets.wingCollisions[kind].Loaded())
        world.hitTable.Prepare(&station.assets.wingCollisions[kind]);
    FaceLight();
}

void Panel::Describe(std::string& text) const {
    char line[128];
    std::snprintf(line, sizeof line, "\n\n  Class: Panel\n    Capacity: %d\n    Type: %s", repair.damage,
                  type.typeLine);
    text += line;
}

void Panel::OnDestroyed(int killerCountry) {
    spinAxis = Vec3Normalize(world.random.RandomVector<Vector3>(1.0f));
    world.stats.CountDestroyed(UnitFamily::Panel, killerCountry, country);
}

bool Panel::Update() {
    if (hp > 0) {
        repair.CountDown();
        if (repair.Trigger() && station) station->Heal(repair.damage);
        FaceLight();
        wing.Draw();
        DrawMeter();
        return false;
    }
    wing.RotateAxis(spinAxis, TumbleStep);
    wing.intensity = std::exp2(-FadeRate * float(dyingFrames));
    wing.DrawFaded();
    DrawMeter();
    return ++dyingFrames >= FadeFrames;
}

void Panel::ForgetUnit(const Unit* gone) {
    if (!station || gone != station) return;
    Unhang(wing);
    Unhang(collisionNode);
    station = nullptr;
}

void Panel::DrawShowcase() {
    wing.SetOrientation(mountAxis, world.lightDirection * -1.0f);
    wing.Draw();
}

void Panel::FaceLight() {
    if (!station) return;
    Vector3 towardsLight = world.lightDirection * -1.0f;
    const SceneNode& frame = *station->node;
    Vector3 local{Vec3Dot(towardsLight, Vec3Normalize(frame.GetRight())),
                  Vec3Dot(towardsLight, Vec3Normalize(frame.GetUp())),
                  Vec3Dot(towardsLight, Vec3Normalize(frame.GetForward()))};
    if (Vec3Length(Vec3Cross(mountAxis, local)) < ParallelSine) return;
    wing.SetOrientation(mountAxis, local);
    collisionNode.SetOrientation(mountAxis, local);
}
