// The cost of one frame's worth of shot steps: 1,024 ray casts through a full
// hit table of 12 stations with exact collision meshes, 72 panels (exact), 48
// turrets and 120 fighters (spheres), laid out as a battle lays them out.
// Needs no display: the world draws to a NullDevice.
#include "game/world/BattleAssets.h"
#include "game/world/BattleSetup.h"
#include "game/world/BattleStats.h"
#include "game/world/World.h"
#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"
#include "support/TestModels.h"
#include "support/WorldModels.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

namespace {

// A unit that only stands there to be hit; parts hang under a station's node.
class Target : public Unit {
public:
    Target(World& world, UnitFamily family, const MeshResource& mesh, const Vector3& at, const SceneNode* parent)
        : Unit(world, 1, 0, TraitsOf(family).scoreValue, nullptr, 100, &body, TraitsOf(family).hitTest,
               TraitsOf(family).pickRadius) {
        body.Init(&mesh, at.x, at.y, at.z, 1);
        body.parent = parent;
    }
    void Describe(std::string&) const override {}
    void OnDestroyed(int) override {}
    bool Update() override { return false; }
    SceneNode body;
};

struct ShotStep {
    Vector3 origin, direction;
    float length;
};

// A full battle's hit table and a frame's worth of shot steps near its stations.
struct Battlefield {
    explicit Battlefield(float stepLength) {
        graphics = std::make_unique<Graphics>(std::make_unique<NullDevice>(), 640, 480);
        texts = {LumpyBallModelX(4.5f, 40, 48, 0.3f, 1), LumpyBallModelX(1.2f, 8, 10, 0.2f, 2),
                 BoxModelX(0.3f, 0.3f, 0.3f, {{1, 1, 1, 1, ""}}), BoxModelX(0.5f, 0.2f, 0.7f, {{1, 1, 1, 1, ""}})};
        const char* names[] = {"STATION", "PANEL", "TURRET", "FIGHTER"};
        for (size_t i = 0; i < texts.size(); ++i)
            resources.Add("X", names[i], {reinterpret_cast<const unsigned char*>(texts[i].data()), texts[i].size()});
        graphics->resources = &resources;
        for (size_t i = 0; i < meshes.size(); ++i) meshes[i].Load(*graphics, names[i], 0, 1);
        sound = std::make_unique<SoundSystem>(commandLine, "/nonexistent/");
        assets = std::make_unique<BattleAssets>(*sound);
        world = std::make_unique<World>(*graphics, *assets, stats, setup, 1);

        RandomGenerator& random = world->random;
        auto direction = [&random] {
            Vector3 d;
            while (Vec3LengthSq(d) < 1e-4f) d = random.RandomVector<Vector3>(1);
            return Vec3Normalize(d);
        };
        std::vector<Vector3> centres;
        for (int s = 0; s < 12; ++s) {
            // Two rings of six, 60 units apart, as the country selection places them.
            Vector3 at{60.0f * float(s % 4) - 90.0f, 30.0f * float((s / 4) % 2), 60.0f * float(s / 4) - 60.0f};
            centres.push_back(at);
            auto* station = world->stations.Create<Target>(*world, UnitFamily::Station, meshes[0], at, nullptr);
            station->body.SetOrientation(direction(), direction());
            world->hitTable.Prepare(&meshes[0]);
            for (int p = 0; p < 6; ++p)
                world->panels.Create<Target>(*world, UnitFamily::Panel, meshes[1], direction() * 5.0f, &station->body);
            for (int t = 0; t < 4; ++t)
                world->turrets.Create<Target>(*world, UnitFamily::Turret, meshes[2], direction() * 4.0f, &station->body);
        }
        world->hitTable.Prepare(&meshes[1]);
        for (int f = 0; f < 120; ++f)
            world->fighters.Create<Target>(*world, UnitFamily::Fighter, meshes[3],
                                           centres[size_t(f % 12)] + random.RandomVector<Vector3>(30), nullptr);
        // Shots fly where the fighting is: around the stations, every way.
        for (int i = 0; i < 1024; ++i)
            steps.push_back({centres[size_t(i % 12)] + random.RandomVector<Vector3>(25), direction(), stepLength});
    }
    // The load and release lines of the models stay out of the report; the
    // members go in reverse order, the world first.
    std::string log;
    struct Capture {
        explicit Capture(std::string& log) { SetLogCapture(&log); }
        ~Capture() { SetLogCapture(nullptr); }
    } capture{log};
    ResourceTable resources;
    std::vector<std::string> texts;
    std::unique_ptr<Graphics> graphics;
    std::array<MeshResource, 4> meshes;
    CommandLine commandLine;
    std::unique_ptr<SoundSystem> sound;
    std::unique_ptr<BattleAssets> assets;
    BattleStats stats;
    BattleSetup setup;
    std::unique_ptr<World> world;
    std::vector<ShotStep> steps;
};

void RunFrames(benchmark::State& state, float stepLength, bool batched) {
    Battlefield field(stepLength);
    HitTable& table = field.world->hitTable;
    int hits = 0;
    for (auto _ : state) {
        // The shot pass opens a batch once per frame; its cost counts here.
        std::optional<HitTable::Batch> batch;
        if (batched) batch.emplace(table);
        for (const ShotStep& step : field.steps) {
            Vector3 point;
            hits += table.RayCast(nullptr, point, step.origin, step.direction, step.length) ? 1 : 0;
            benchmark::DoNotOptimize(point);
        }
    }
    state.counters["entries"] = double(table.Count());
    state.counters["hits_per_frame"] = double(hits) / double(state.iterations());
    state.counters["station_triangles"] = double(field.meshes[0].Geometry().TriangleCount());
}

// 1,024 plasma-bolt steps (1.2 units each): one frame's worth, as the shot
// pass casts them (in a batch), and one by one outside any batch.
void RayCastFrameOfShotSteps(benchmark::State& state) { RunFrames(state, 1.2f, true); }
void RayCastFrameOfShotStepsUnbatched(benchmark::State& state) { RunFrames(state, 1.2f, false); }
// The same with beam-length rays (30 units): far more exact mesh tests.
void RayCastFrameOfBeams(benchmark::State& state) { RunFrames(state, 30.0f, true); }
void RayCastFrameOfBeamsUnbatched(benchmark::State& state) { RunFrames(state, 30.0f, false); }

// The same frame with the scene nodes' own tests, without the table's
// shortcuts: what a plain scan would cost.
void RayCastFrameOfShotStepsPlain(benchmark::State& state) {
    Battlefield field(1.2f);
    World& world = *field.world;
    std::vector<std::pair<Unit*, HitTest>> units;
    for (size_t i = 0; i < 12; ++i) units.push_back({world.stations[i], HitTest::Mesh});
    for (size_t i = 0; i < 72; ++i) units.push_back({world.panels[i], HitTest::Mesh});
    for (size_t i = 0; i < 48; ++i) units.push_back({world.turrets[i], HitTest::Sphere});
    for (size_t i = 0; i < 120; ++i) units.push_back({world.fighters[i], HitTest::Sphere});
    for (auto _ : state) {
        for (const ShotStep& step : field.steps) {
            float best = 1e14f;
            Unit* result = nullptr;
            for (auto [unit, test] : units) {
                const SceneNode& node = *unit->node;
                if (!node.RayHitsSphere(step.origin, step.direction)) continue;
                Vector3 point;
                if (test == HitTest::Sphere)
                    point = step.origin + step.direction * (Vec3Dot(node.GetPosition() - step.origin, step.direction) -
                                                            0.5f * node.mesh->sphereRadius);
                else if (!node.RayPickMesh(point, step.origin, step.direction))
                    continue;
                float distance = Vec3Length(point - step.origin);
                if (distance < step.length && distance < best) {
                    best = distance;
                    result = unit;
                }
            }
            benchmark::DoNotOptimize(result);
        }
    }
}

} // namespace

BENCHMARK(RayCastFrameOfShotSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(RayCastFrameOfShotStepsUnbatched)->Unit(benchmark::kMicrosecond);
BENCHMARK(RayCastFrameOfBeams)->Unit(benchmark::kMicrosecond);
BENCHMARK(RayCastFrameOfBeamsUnbatched)->Unit(benchmark::kMicrosecond);
BENCHMARK(RayCastFrameOfShotStepsPlain)->Unit(benchmark::kMicrosecond);
