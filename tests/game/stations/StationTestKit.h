#pragma once

#include "game/stations/Panel.h"
#include "game/stations/Station.h"
#include "game/stations/StationAssets.h"
#include "game/stations/Turret.h"
#include "support/WorldTestKit.h"

#include <memory>

// A fighter stand-in that flies straight along its nose at a fixed speed and
// leads like a fighter: its aim point is ahead of it by the distance from the
// shooter times its speed times the shot factor.
class StraightFlyer : public Unit {
public:
    StraightFlyer(World& world, int team, int hitPoints, const MeshResource* mesh, const Vector3& position,
                  const Vector3& forward, float speed)
        : Unit(world, team, team - 1, 1, nullptr, hitPoints, &body, HitTest::Sphere, 0.7f), speed(speed) {
        body.Init(mesh, position.x, position.y, position.z, 1);
        body.SetOrientation(forward, {0, 1, 0});
    }
    void Describe(std::string& text) const override { text += "\n  Flyer"; }
    void OnDestroyed(int killerCountry) override {
        world.stats.CountDestroyed(UnitFamily::Fighter, killerCountry, country);
    }
    Vector3 GetAimPoint(const Vector3& shooter, float shotFactor) const override {
        Vector3 at = GetWorldPosition();
        return at + Vec3Normalize(body.GetForward()) * (Vec3Length(at - shooter) * speed * shotFactor);
    }
    bool Update() override {
        if (hp <= 0) return true;
        body.SetPosition(GetWorldPosition() + Vec3Normalize(body.GetForward()) * speed);
        return false;
    }

    SceneNode body;
    float speed;
};

// A test world that shows the real station, panel, turret and fighter models.
struct StationTestKit : WorldTestKit {
    StationTestKit() {
        for (const ResourceTable::Entry& entry : ResourceTable::Embedded().Entries())
            if (resources.Find(entry.type, entry.name).empty())
                resources.Add(entry.type, entry.name, entry.data);
        models.LoadMeshes(*graphics);
        fighterMesh.Load(*graphics, "FIGHTER_01", 0, 1);
        InstallStationFactory(*world, models);
    }

    // Station type (1..12) of a team at position, facing +z.
    Station* Deploy(int type, int team, const Vector3& position = {}) {
        return DeployStation(*world, models, type - 1, team, team - 1, nullptr, position, {0, 0, 1},
                             {0, 1, 0});
    }
    StraightFlyer* Fly(int team, const Vector3& position, const Vector3& forward, float speed,
                       int hitPoints = 1000000) {
        return world->fighters.Create<StraightFlyer>(*world, team, hitPoints, &fighterMesh, position, forward,
                                                     speed);
    }
    // One battle frame of the families this part builds, then the shots.
    void Frame() {
        world->stations.UpdateAll();
        world->panels.UpdateAll();
        world->turrets.UpdateAll();
        world->fighters.UpdateAll();
        world->shots.UpdateShots();
        world->explosions.UpdateAll();
    }

    StationAssets models;
    MeshResource fighterMesh;
};
