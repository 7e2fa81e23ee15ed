// The hit table answers ray casts with shortcuts (a position without the full
// matrix chain, a sphere test before the exact one, a triangle hierarchy).
// These tests hold it to the plain description, bit for bit.
#include "game/world/MeshBvh.h"
#include "support/WorldModels.h"
#include "support/WorldTestKit.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Registered {
    Unit* unit;
    const SceneNode* node;
    HitTest hitTest;
};

// The ray cast as the game describes it, with the scene node's own tests.
Unit* PlainRayCast(const std::vector<Registered>& table, const Unit* exclude, Vector3& hitPoint, Vector3 origin,
                   Vector3 direction, float length) {
    if (length < 0) {
        direction = -direction;
        length = -length;
    }
    hitPoint = origin + direction * length;
    float best = 1e14f;
    Unit* result = nullptr;
    for (const Registered& entry : table) {
        if (entry.unit == exclude || entry.unit->hp <= 0) continue;
        const SceneNode& node = *entry.node;
        if (!node.RayHitsSphere(origin, direction)) continue;
        Vector3 point;
        if (entry.hitTest == HitTest::Sphere) {
            float t = Vec3Dot(node.GetPosition() - origin, direction) - 0.5f * node.mesh->sphereRadius;
            point = origin + direction * t;
        } else if (!node.RayPickMesh(point, origin, direction)) {
            continue;
        }
        float distance = Vec3Length(point - origin);
        if (distance < length && distance < best) {
            best = distance;
            hitPoint = point;
            result = entry.unit;
        }
    }
    return result;
}

// A unit that is a part of another: its node hangs under the owner's node.
class PartUnit : public TestUnit {
public:
    PartUnit(World& world, UnitFamily family, const MeshResource* mesh, const SceneNode& parent, const Vector3& at)
        : TestUnit(world, family, 1, 0, 100, at, mesh) {
        body.parent = &parent;
        body.RotateZ(0.3f);
    }
};

Vector3 Direction(RandomGenerator& random) {
    Vector3 d;
    while (Vec3LengthSq(d) < 1e-4f) d = random.RandomVector<Vector3>(1);
    return Vec3Normalize(d);
}

} // namespace

TEST(HitTable, TriangleHierarchyPicksExactlyLikeThePlainScan) {
    WorldTestKit kit;
    kit.AddModel("LUMPY", LumpyBallModelX(4, 24, 28, 0.25f, 5));
    MeshResource lumpy;
    ASSERT_TRUE(lumpy.Load(*kit.graphics, "LUMPY", 0, 1));
    MeshBvh bvh(lumpy.Geometry());
    EXPECT_EQ(bvh.TriangleCount(), lumpy.Geometry().TriangleCount());
    EXPECT_GT(bvh.NodeCount(), 100u);

    RandomGenerator random(99);
    SceneNode node;
    node.Init(&lumpy, 3, -2, 7, 1);
    int hits = 0;
    for (int i = 0; i < 4000; ++i) {
        if (i % 500 == 0) {
            node.SetOrientation(Direction(random), Direction(random));
            // Uniform and uneven scales, as a node may carry.
            if (i % 1000 == 0) node.ScaleAxes(1.5f, 0.5f, 2.0f);
        }
        Vector3 origin = node.GetPosition() + random.RandomVector<Vector3>(12);
        // Half the rays aim near the centre; the rest go anywhere.
        Vector3 direction = i % 2 ? Direction(random)
                                  : Vec3Normalize(node.GetPosition() + random.RandomVector<Vector3>(5) - origin);
        Vector3 expected, actual;
        bool plain = node.RayPickMesh(expected, origin, direction);
        bool fast = bvh.Pick(node.GetWorldMatrix(), actual, origin, direction);
        ASSERT_EQ(fast, plain) << "ray " << i;
        if (plain) {
            ++hits;
            ASSERT_EQ(actual, expected) << "ray " << i;
        }
    }
    EXPECT_GT(hits, 1000);
}

TEST(HitTable, RayCastAnswersLikeThePlainDescription) {
    WorldTestKit kit;
    World& world = *kit.world;
    kit.AddModel("HULL", LumpyBallModelX(4, 18, 20, 0.3f, 8));
    kit.AddModel("PANEL", LumpyBallModelX(1, 6, 8, 0.2f, 9));
    MeshResource hull, panel;
    ASSERT_TRUE(hull.Load(*kit.graphics, "HULL", 0, 1));
    ASSERT_TRUE(panel.Load(*kit.graphics, "PANEL", 0, 1));

    RandomGenerator random(4242);
    std::vector<Registered> table;
    auto add = [&](TestUnit* unit) { table.push_back({unit, &unit->body, TraitsOf(unit->family).hitTest}); };
    std::vector<TestUnit*> stations;
    for (int s = 0; s < 6; ++s) {
        Vector3 at{float(s % 3) * 25.0f, float(s / 3) * 25.0f, 0};
        auto* station = world.stations.Create<TestUnit>(world, UnitFamily::Station, 1, 0, 100, at, &hull);
        station->body.SetOrientation(Direction(random), Direction(random));
        if (s == 5) station->body.SetScale(1.25f);
        add(station);
        stations.push_back(station);
        for (int p = 0; p < 4; ++p)
            add(world.panels.Create<PartUnit>(world, UnitFamily::Panel, &panel, station->body,
                                              random.RandomVector<Vector3>(4)));
        for (int t = 0; t < 3; ++t)
            add(world.turrets.Create<PartUnit>(world, UnitFamily::Turret, &kit.unitMesh, station->body,
                                               random.RandomVector<Vector3>(4)));
    }
    for (int f = 0; f < 30; ++f)
        add(kit.Make(UnitFamily::Fighter, 2, 1, 100, Vector3{25, 12, 0} + random.RandomVector<Vector3>(30)));
    // A dead unit has left the table.
    table.back().unit->SelfDestruct();

    const float lengths[] = {1.2f, 0.5f, 5.0f, 30.0f, -2.0f};
    int hits = 0;
    // The second half runs in a batch, as the shot pass does.
    std::optional<HitTable::Batch> batch;
    for (int i = 0; i < 3000; ++i) {
        if (i == 1500) batch.emplace(world.hitTable);
        const TestUnit* station = stations[size_t(random.Random(int(stations.size())))];
        Vector3 origin = station->GetWorldPosition() + random.RandomVector<Vector3>(9);
        Vector3 direction = i % 3 ? Direction(random)
                                  : Vec3Normalize(station->GetWorldPosition() + random.RandomVector<Vector3>(4) - origin);
        float length = lengths[i % 5];
        const Unit* exclude = i % 7 == 0 ? table[size_t(random.Random(int(table.size())))].unit : nullptr;
        Vector3 expectedPoint, actualPoint;
        Unit* expected = PlainRayCast(table, exclude, expectedPoint, origin, direction, length);
        Unit* actual = world.hitTable.RayCast(exclude, actualPoint, origin, direction, length);
        ASSERT_EQ(actual, expected) << "ray " << i;
        ASSERT_EQ(actualPoint, expectedPoint) << "ray " << i;
        hits += actual ? 1 : 0;
    }
    EXPECT_GT(hits, 300);

    // A unit made during a batch is hit, one destroyed is passed through.
    Vector3 point;
    TestUnit* newcomer = kit.Make(UnitFamily::Fighter, 2, 1, 100, {100, 100, 100});
    EXPECT_EQ(world.hitTable.RayCast(nullptr, point, {100, 100, 95}, {0, 0, 1}, 10), newcomer);
    newcomer->SelfDestruct();
    EXPECT_EQ(world.hitTable.RayCast(nullptr, point, {100, 100, 95}, {0, 0, 1}, 10), nullptr);
    // Moving a node breaks the batch's promise, which debug builds check at its end.
    Unit* mover = table.front().unit;
    Vector3 was = mover->GetWorldPosition();
    static_cast<TestUnit*>(mover)->body.SetPosition(was + Vector3{0, 1, 0});
    EXPECT_FALSE(world.hitTable.BatchStillValid());
    static_cast<TestUnit*>(mover)->body.SetPosition(was);
    EXPECT_TRUE(world.hitTable.BatchStillValid());
    batch.reset();
    // The units go before the models they show.
    world.ResetWorld();
}

TEST(HitTable, RayCastFindsTheNearestAndStopsHalfARadiusShort) {
    WorldTestKit kit;
    HitTable& table = kit.world->hitTable;
    TestUnit* nearUnit = kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 10});
    TestUnit* farUnit = kit.Make(UnitFamily::Fighter, 1, 0, 10, {0, 0, 20});
    float r = kit.unitMesh.sphereRadius;
    ASSERT_GT(r, 0.8f);

    Vector3 hit;
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0, 0}, {0, 0, 1}, 30), nearUnit);
    EXPECT_NEAR(hit.z, 10 - 0.5f * r, 1e-5f);
    EXPECT_EQ(table.RayCast(nearUnit, hit, {0, 0, 0}, {0, 0, 1}, 30), farUnit) << "the excluded unit is passed";
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0, 0}, {0, 0, 1}, 5), nullptr);
    EXPECT_EQ(hit, Vector3(0, 0, 5)) << "a miss ends at the end of the step";
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0, 0}, {0, 0, -1}, -30), nearUnit) << "negative lengths cast backwards";
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0.6f + r, 0}, {0, 0, 1}, 30), nullptr) << "passing beside the sphere";
    // The hit point counts by its own distance: a step that reaches the
    // sphere but not the point half a radius before its centre misses.
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0, 0}, {0, 0, 1}, 10 - 0.5f * r - 0.01f), nullptr);

    // Exact units are met on their surface.
    TestUnit* station = kit.Make(UnitFamily::Station, 2, 1, 100, {30, 0, 0});
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0, 0}, {1, 0, 0}, 50), station);
    EXPECT_NEAR(hit.x, 28, 1e-4f);
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 3, 0}, {1, 0, 0}, 50), nullptr) << "inside the sphere, beside the box";

    EXPECT_TRUE(table.IsFriendInLineOfFire(farUnit, {0, 0, 0}, {0, 0, 1}, 30));
    EXPECT_FALSE(table.IsFriendInLineOfFire(farUnit, {0, 0, 0}, {1, 0, 0}, 50));
    EXPECT_FALSE(table.IsFriendInLineOfFire(nullptr, {0, 0, 0}, {0, 0, 1}, 30));
}

TEST(HitTable, FullTableLeavesNewUnitsUnhittable) {
    WorldTestKit kit;
    HitTable& table = kit.world->hitTable;
    std::vector<std::unique_ptr<TestUnit>> loose;
    for (size_t i = 0; i < HitTable::Capacity; ++i)
        loose.push_back(std::make_unique<TestUnit>(*kit.world, UnitFamily::Fighter, 1, 0, 10,
                                                   Vector3{float(i) * 3, 100, 0}, &kit.unitMesh));
    TestUnit extra(*kit.world, UnitFamily::Fighter, 1, 0, 10, {0, 0, 10}, &kit.unitMesh);
    Vector3 hit;
    EXPECT_EQ(table.RayCast(nullptr, hit, {0, 0, 0}, {0, 0, 1}, 30), nullptr);
    EXPECT_EQ(table.Count(), HitTable::Capacity);
    loose.clear();
    EXPECT_EQ(table.Count(), 0u) << "deleting a unit removes its entry";
}
