#include "game/stations/Station.h"

#include "game/stations/Panel.h"
#include "game/stations/StationAssets.h"
#include "game/stations/Turret.h"
#include "game/world/BattleStats.h"
#include "game/world/Country.h"
#include "game/world/World.h"
#include "platform/Log.h"
#include "render/Draw2D.h"
#include "render/Graphics.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr FamilyTraits Traits = TraitsOf(UnitFamily::Station);

// How far the dying hull jumps each frame.
constexpr float ShakeDistance = 0.1f;
// The burst of explosions when the station is destroyed.
constexpr int BurstCount = 10;
constexpr float BurstSize = 4.0f;
constexpr float BurstSpread = 3.0f;
// The final blast's power is maxHp / BlastDivisor; its explosion maxHp x this.
constexpr int BlastDivisor = 10;
constexpr float ExplosionPerHp = 0.005f;
// The display station's spin per frame.
constexpr float ShowcaseSpin = -0.05f;

constexpr uint32_t MarkerOwnCountry = 0xFF00FF00;
constexpr uint32_t MarkerOwnTeam = 0xFF00FFFF;
constexpr uint32_t MarkerOther = 0xFFFF0000;

void PlaceNode(SceneNode& node, const MeshResource* mesh, const Vector3& position, const Vector3& forward,
               const Vector3& up) {
    node.Init(mesh, position.x, position.y, position.z, 1);
    node.SetOrientation(forward, up);
}

const StationType& TypeAt(int typeIndex) {
    const auto& table = StationTypeTable();
    return table[size_t(std::clamp(typeIndex, 0, int(table.size()) - 1))];
}

} // namespace

Station::Station(World& world, const StationAssets& assets, int typeIndex, int team, int country,
                 Unit** ownerSlot, const Vector3& position, const Vector3& forward, const Vector3& up)
    : Unit(world, team, country, Traits.scoreValue, ownerSlot, TypeAt(typeIndex).hitPoints, &collisionNode,
           Traits.hitTest, Traits.pickRadius),
      type(TypeAt(typeIndex)), assets(assets), codeName(type.codeName), panelCount(type.panelCount),
      turretCount(type.turretCount), launchPoint(type.launchPoint), launchUp(type.launchUp),
      launchForward(type.launchForward) {
    size_t index = size_t(std::clamp(typeIndex, 0, StationAssets::StationTypes - 1));
    PlaceNode(hull, &assets.hulls[index], position, forward, up);
    hull.tag = DrawTag(1);
    PlaceNode(collisionNode, &assets.hullCollisions[index], position, forward, up);
    if (assets.hullCollisions[index].Loaded()) world.hitTable.Prepare(&assets.hullCollisions[index]);
    if (HasRotor()) {
        size_t model = size_t(type.rotorModel);
        rotor.Init(&assets.rotors[model], 0, 0, 0, 1);
        rotor.tag = DrawTag(2);
        rotor.parent = &hull;
        rotorCollision.Init(&assets.rotorCollisions[model], 0, 0, 0, 1);
        rotorCollision.parent = &hull;
        // Hits on the rotor hurt the station.
        world.hitTable.Add(this, &rotorCollision, HitTest::Mesh);
        if (assets.rotorCollisions[model].Loaded()) world.hitTable.Prepare(&assets.rotorCollisions[model]);
    }
}

int Station::LivePanels() const {
    return int(std::count_if(panels.begin(), panels.begin() + panelCount, [](const Unit* p) { return p; }));
}

int Station::LiveTurrets() const {
    return int(
        std::count_if(turrets.begin(), turrets.begin() + turretCount, [](const Unit* t) { return t; }));
}

void Station::Describe(std::string& text) const {
    char line[256];
    std::snprintf(line, sizeof line,
                  "\n\n  Class: Station\n    Code Name: \"%s\"\n    Panel: %d/%d\n    Turret: %d/%d",
                  codeName, LivePanels(), panelCount, LiveTurrets(), turretCount);
    text += line;
}

void Station::OnDestroyed(int killerCountry) {
    // Nobody is credited for the parts that go down with the station; each
    // self-destruct empties its own slot.
    for (int i = 0; i < panelCount; ++i)
        if (Unit* panel = panels[size_t(i)]) panel->SelfDestruct();
    for (int i = 0; i < turretCount; ++i)
        if (Unit* turret = turrets[size_t(i)]) turret->SelfDestruct();
    world.explosions.ExplosionBurst(BurstCount, GetWorldPosition(), BurstSize, BurstSpread);
    if (world.playerStation == this) world.playerStation = nullptr;
    world.stats.CountDestroyed(UnitFamily::Station, killerCountry, country);
}

bool Station::LaunchPose(Vector3& position, Vector3& forward, Vector3& up) const {
    Matrix frame = collisionNode.GetWorldMatrix();
    position = Vec3TransformCoord(launchPoint, frame);
    forward = Vec3TransformNormal(launchForward, frame);
    up = Vec3TransformNormal(launchUp, frame);
    return true;
}

bool Station::Update() {
    if (hp > 0) {
        hull.Draw();
        UpdateRotor();
        DrawMarker();
        DrawMeter();
        return false;
    }
    Vector3 rest = hull.GetPosition();
    hull.SetPosition(rest + Vec3Normalize(world.random.RandomVector<Vector3>(1.0f)) * ShakeDistance);
    hull.Draw();
    UpdateRotor();
    DrawMarker();
    DrawMeter();
    hull.SetPosition(rest);
    if (++dyingFrames < DyingFrames) return false;
    Vector3 centre = GetWorldPosition();
    world.BlastDamageAll(maxHp / BlastDivisor, centre, country, team);
    world.explosions.SpawnExplosion(centre, float(maxHp) * ExplosionPerHp, true);
    return true;
}

void Station::ForgetUnit(const Unit* gone) {
    for (Unit*& panel : panels)
        if (panel == gone) panel = nullptr;
    for (Unit*& turret : turrets)
        if (turret == gone) turret = nullptr;
}

bool Station::OwnsSlot(Unit* const* slot) const {
    auto within = [slot](const auto& slots, int count) {
        return count > 0 && slot >= slots.data() && slot < slots.data() + count;
    };
    return within(panels, panelCount) || within(turrets, turretCount);
}

void Station::Showcase(std::string& text) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "\n\n  Station\n    HP: %d\n    Code Name: \"%s\"\n    Panel: %d\n    Turret: %d", maxHp,
                  codeName, panelCount, turretCount);
    text += line;
    hull.RotateY(ShowcaseSpin);
    collisionNode.RotateY(ShowcaseSpin);
    hull.Draw();
    for (int i = 0; i < panelCount; ++i)
        if (Unit* panel = panels[size_t(i)]) static_cast<Panel*>(panel)->DrawShowcase();
    for (int i = 0; i < turretCount; ++i)
        if (Unit* turret = turrets[size_t(i)]) static_cast<Turret*>(turret)->Draw();
    UpdateRotor();
}

void Station::UpdateRotor() {
    switch (type.rotor) {
    case RotorSpin::None:
        return;
    case RotorSpin::AboutZ:
        rotor.RotateZ(type.rotorRate);
        rotorCollision.RotateZ(type.rotorRate);
        break;
    case RotorSpin::AboutY:
        rotor.RotateY(type.rotorRate);
        rotorCollision.RotateY(type.rotorRate);
        break;
    }
    rotor.Draw();
}

void Station::DrawMarker() const {
    Graphics& graphics = world.graphics;
    Device* device = graphics.device();
    if (world.meterMode != 2 || !device || !hull.IsOnScreen(graphics)) return;
    Vector3 position = GetWorldPosition();
    float distance = Vec3Length(position - world.CameraEye());
    if (distance <= 0.0f) return;
    float s = 0.75f * float(graphics.uiWidth) * pickRadius / distance;
    Vector3 screen = ProjectToScreen(graphics, position);
    uint32_t colour = country == world.setup.playerCountry ? MarkerOwnCountry
                      : team == world.setup.playerTeam     ? MarkerOwnTeam
                                                           : MarkerOther;
    device->SetDrawTag(DrawTag(MarkerPart), &position);
    // A slanted frame: the top edge shifted right of the bottom one.
    const float corners[4][2] = {{screen.x - 0.75f * s, screen.y - s},
                                 {screen.x + 1.25f * s, screen.y - s},
                                 {screen.x + 0.75f * s, screen.y + s},
                                 {screen.x - 1.25f * s, screen.y + s}};
    for (int i = 0; i < 4; ++i) {
        const float* a = corners[i];
        const float* b = corners[(i + 1) % 4];
        DrawLine2D(*device, float(int(a[0])), float(int(a[1])), float(int(b[0])), float(int(b[1])), colour);
    }
    device->SetDrawTag(0, nullptr);
}

Station* DeployStation(World& world, const StationAssets& assets, int typeIndex, int team, int country,
                       Unit** ownerSlot, const Vector3& position, const Vector3& forward, const Vector3& up) {
    if (typeIndex < 0 || typeIndex >= StationAssets::StationTypes) {
        Log("基地: 種類 %d はありません.\n", typeIndex + 1);
        return nullptr;
    }
    auto* station = world.stations.Create<Station>(world, assets, typeIndex, team, country, ownerSlot,
                                                   position, forward, up);
    if (!station) return nullptr;
    if (ownerSlot) *ownerSlot = station;
    const StationType& type = station->type;
    for (int i = 0; i < type.panelCount; ++i) {
        const PanelMount& mount = type.panels[size_t(i)];
        Unit** slot = &station->panels[size_t(i)];
        if (Panel* panel = world.panels.Create<Panel>(*station, mount.type, slot, mount.position, mount.axis))
            *slot = panel;
    }
    for (int i = 0; i < type.turretCount; ++i) {
        const TurretMount& mount = type.turrets[size_t(i)];
        Unit** slot = &station->turrets[size_t(i)];
        if (Turret* turret =
                CreateTurret(*station, mount.type, slot, mount.position, mount.forward, mount.up))
            *slot = turret;
    }
    return station;
}

void InstallStationFactory(World& world, const StationAssets& assets) {
    world.deployStation = [&assets](Country& owner, const Vector3& position, const Vector3& forward,
                                    const Vector3& up) -> Unit* {
        return DeployStation(owner.world, assets, owner.countryIndex, owner.teamId, owner.countryIndex,
                             &owner.station, position, forward, up);
    };
}
