#pragma once

#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/BattleStats.h"
#include "game/world/Unit.h"
#include "game/world/World.h"
#include "platform/CommandLine.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/RecordingDevice.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"

#include <memory>
#include <string>
#include <vector>

// A stand-in for the unit families that later parts build: a box of a given
// family that sits still, draws its meter while alive, and after its death
// waits deathFrames updates before its pool deletes it.
class TestUnit : public Unit {
public:
    TestUnit(World& world, UnitFamily family, int team, int country, int hitPoints, const Vector3& position,
             const MeshResource* mesh, Unit** ownerSlot = nullptr);

    void Describe(std::string& text) const override { text += "\n  Test unit"; }
    void OnDestroyed(int killerCountry) override;
    bool Update() override;
    void UpdateAI() override { ++aiSteps; }
    void UpdateManual() override { ++manualSteps; }
    void ForgetUnit(const Unit* gone) override;

    const UnitFamily family;
    SceneNode body;
    int deathFrames = 0;
    int destroyedCalls = 0;
    int lastKiller = -2;
    int aiSteps = 0;
    int manualSteps = 0;
    // A pointer the unit holds, as a fighter holds its target: cleared by ForgetUnit.
    Unit* target = nullptr;
};

// A fresh world for one test: graphics over a RecordingDevice showing a
// 640 x 480 screen, box models under every name the battle loads, a sound
// system that was never started (so every sound is silent), fixed seed. The
// log is captured for the test's lifetime. Members go in reverse order:
// the world first, the graphics last.
struct WorldTestKit {
    explicit WorldTestKit(uint32_t seed = 1);
    // The same on a device of the test's own (device stays null).
    WorldTestKit(uint32_t seed, std::unique_ptr<Device> ownDevice);
    ~WorldTestKit();
    WorldTestKit(const WorldTestKit&) = delete;
    WorldTestKit& operator=(const WorldTestKit&) = delete;

    // Registers an X model under a name, for meshes the test loads itself.
    void AddModel(const std::string& name, const std::string& text);
    // Looks from eye at a point and starts a frame, so projections are current.
    void LookAt(const Vector3& eye, const Vector3& at);
    // Primitive (2D) and mesh subset draws recorded since the last ClearDraws.
    std::vector<RecordingDevice::Draw> Primitives() const { return Draws(RecordingDevice::Draw::Kind::Primitive); }
    std::vector<RecordingDevice::Draw> Subsets() const { return Draws(RecordingDevice::Draw::Kind::Subset); }
    std::vector<RecordingDevice::Draw> Draws(RecordingDevice::Draw::Kind kind) const;
    void ClearDraws() {
        if (device) device->draws.clear();
    }

    // A unit of the family in its pool (null when the pool is full).
    TestUnit* Make(UnitFamily family, int team, int country, int hitPoints, const Vector3& position,
                   Unit** ownerSlot = nullptr);

    // Lines the world logs; captured until everything below is gone.
    std::string log;
    struct Capture {
        explicit Capture(std::string& log);
        ~Capture();
    } capture{log};
    ResourceTable resources;
    std::vector<std::unique_ptr<std::string>> texts;
    RecordingDevice* device = nullptr;
    std::unique_ptr<Graphics> graphics;
    CommandLine commandLine;
    std::unique_ptr<SoundSystem> sound;
    std::unique_ptr<BattleAssets> assets;
    BattleStats stats;
    BattleSetup setup;
    // Unit models: a box 1 x 1 x 1 (sphere radius about 0.87) and a station
    // box 4 x 4 x 4 tested exactly.
    MeshResource unitMesh;
    MeshResource stationMesh;
    std::unique_ptr<World> world;
};
