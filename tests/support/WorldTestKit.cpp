#include "support/WorldTestKit.h"

#include "game/world/BattleStats.h"
#include "platform/Log.h"
#include "support/TestModels.h"

#include <cstdio>

TestUnit::TestUnit(World& world, UnitFamily family, int team, int country, int hitPoints, const Vector3& position,
                   const MeshResource* mesh, Unit** ownerSlot)
    : Unit(world, team, country, TraitsOf(family).scoreValue, ownerSlot, hitPoints, &body, TraitsOf(family).hitTest,
           TraitsOf(family).pickRadius),
      family(family) {
    body.Init(mesh, position.x, position.y, position.z, 1);
    if (ownerSlot) *ownerSlot = this;
}

void TestUnit::OnDestroyed(int killerCountry) {
    ++destroyedCalls;
    lastKiller = killerCountry;
    world.stats.CountDestroyed(family, killerCountry, country);
}

bool TestUnit::Update() {
    if (hp > 0) {
        DrawMeter();
        return false;
    }
    return ++dyingFrames > deathFrames;
}

void TestUnit::ForgetUnit(const Unit* gone) {
    if (target == gone) target = nullptr;
}

WorldTestKit::Capture::Capture(std::string& log) { SetLogCapture(&log); }
WorldTestKit::Capture::~Capture() { SetLogCapture(nullptr); }

WorldTestKit::WorldTestKit(uint32_t seed) : WorldTestKit(seed, std::make_unique<RecordingDevice>()) {}

WorldTestKit::WorldTestKit(uint32_t seed, std::unique_ptr<Device> owned) {
    device = dynamic_cast<RecordingDevice*>(owned.get());
    graphics = std::make_unique<Graphics>(std::move(owned), 640, 480);
    graphics->resources = &resources;
    TestMaterial white{1, 1, 1, 1, ""};
    std::vector<std::string> names = {"EXPLOTION", "VAPOR", "PLASMA", "LASER", "MISSILE", "MISSILE_S", "BARRAGE"};
    for (int i = 1; i <= CountryCount; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "TRAIL_%02d", i);
        names.push_back(name);
    }
    for (const std::string& name : names) AddModel(name, BoxModelX(0.1f, 0.1f, 0.1f, {white}));
    AddModel("TEST_UNIT", BoxModelX(0.5f, 0.5f, 0.5f, {white}));
    AddModel("TEST_STATION", BoxModelX(2, 2, 2, {white}));
    sound = std::make_unique<SoundSystem>(commandLine, "/nonexistent/");
    assets = std::make_unique<BattleAssets>(*sound);
    assets->LoadMeshes(*graphics);
    unitMesh.Load(*graphics, "TEST_UNIT", 0, 1);
    stationMesh.Load(*graphics, "TEST_STATION", 0, 1);
    world = std::make_unique<World>(*graphics, *assets, stats, setup, seed);
    LookAt({0, 0, -50}, {0, 0, 0});
}

WorldTestKit::~WorldTestKit() = default;

void WorldTestKit::AddModel(const std::string& name, const std::string& text) {
    texts.push_back(std::make_unique<std::string>(text));
    resources.Add("X", name, {reinterpret_cast<const unsigned char*>(texts.back()->data()), texts.back()->size()});
}

void WorldTestKit::LookAt(const Vector3& eye, const Vector3& at) {
    SetCamera(*graphics, eye, at, {0, 1, 0});
    graphics->BeginFrame(0xFF000000);
    ClearDraws();
}

std::vector<RecordingDevice::Draw> WorldTestKit::Draws(RecordingDevice::Draw::Kind kind) const {
    std::vector<RecordingDevice::Draw> out;
    for (const auto& draw : device->draws)
        if (draw.kind == kind) out.push_back(draw);
    return out;
}

TestUnit* WorldTestKit::Make(UnitFamily family, int team, int country, int hitPoints, const Vector3& position,
                             Unit** ownerSlot) {
    const MeshResource* mesh = TraitsOf(family).hitTest == HitTest::Mesh ? &stationMesh : &unitMesh;
    auto unit = std::make_unique<TestUnit>(*world, family, team, country, hitPoints, position, mesh, ownerSlot);
    switch (family) {
    case UnitFamily::Station: return static_cast<TestUnit*>(world->stations.Add(std::move(unit)));
    case UnitFamily::Panel: return static_cast<TestUnit*>(world->panels.Add(std::move(unit)));
    case UnitFamily::Turret: return static_cast<TestUnit*>(world->turrets.Add(std::move(unit)));
    case UnitFamily::Fighter: break;
    }
    return static_cast<TestUnit*>(world->fighters.Add(std::move(unit)));
}
