#include "game/world/HitTable.h"

#include "game/world/MeshBvh.h"
#include "render/MeshResource.h"
#include "render/SceneNode.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace {

// The node's world position with the arithmetic of SceneNode::GetPosition,
// but for a node under a root parent only the row that is needed (the hit
// table's nodes are units and their parts: at most one parent deep).
Vector3 NodePosition(const SceneNode& node) {
    const Matrix& a = node.local;
    if (!node.parent) return {a.m[3][0], a.m[3][1], a.m[3][2]};
    if (node.parent->parent) return node.GetPosition();
    const Matrix& b = node.parent->local;
    float r[3];
    for (int j = 0; j < 3; ++j)
        r[j] = a.m[3][0] * b.m[0][j] + a.m[3][1] * b.m[1][j] + a.m[3][2] * b.m[2][j] + a.m[3][3] * b.m[3][j];
    return {r[0], r[1], r[2]};
}

// An upper bound of how much the matrix's linear part can stretch a vector:
// the largest eigenvalue of the rows' Gram matrix, bounded by its largest
// absolute row sum. Exact for rotations with any scale.
float StretchBound(const Matrix& m) {
    Vector3 rows[3] = {{m.m[0][0], m.m[0][1], m.m[0][2]},
                       {m.m[1][0], m.m[1][1], m.m[1][2]},
                       {m.m[2][0], m.m[2][1], m.m[2][2]}};
    float largest = 0.0f;
    for (int i = 0; i < 3; ++i) {
        float sum = 0.0f;
        for (int j = 0; j < 3; ++j) sum += std::fabs(Vec3Dot(rows[i], rows[j]));
        largest = std::max(largest, sum);
    }
    return std::sqrt(largest);
}

} // namespace

// A batch's short cut holds for directions this close to unit length.
constexpr float UnitTolerance = 1e-3f;
// Reach of an entry that no ray meets, and of one that any ray may meet.
constexpr float Nowhere = 1e30f;
constexpr float Everywhere = std::numeric_limits<float>::infinity();

void HitTable::Reaches::Set(size_t index, const Vector3& centre, float reach) {
    x[index] = centre.x;
    y[index] = centre.y;
    z[index] = centre.z;
    radius[index] = reach;
}

HitTable::HitTable() = default;
HitTable::~HitTable() = default;

void HitTable::Add(Unit* unit, SceneNode* node, HitTest hitTest) {
    if (!unit || !node) return;
    for (size_t i = 0; i < entries.size(); ++i) {
        Entry& entry = entries[i];
        if (entry.unit) continue;
        entry = Entry{unit, node, hitTest};
        // Its node is not set up yet: a batch reads it live.
        frozen[i].valid = false;
        reaches.Set(i, {}, Everywhere);
        used = std::max(used, i + 1);
        return;
    }
}

void HitTable::Remove(const Unit* unit) {
    for (size_t i = 0; i < used; ++i) {
        if (entries[i].unit != unit) continue;
        entries[i] = Entry{};
        frozen[i].valid = false;
        reaches.Set(i, {Nowhere, Nowhere, Nowhere}, 0);
    }
    while (used > 0 && !entries[used - 1].unit) --used;
}

void HitTable::Clear() {
    entries.fill(Entry{});
    frozen.fill(Frozen{});
    for (size_t i = 0; i < Capacity; ++i) reaches.Set(i, {Nowhere, Nowhere, Nowhere}, 0);
    used = 0;
    // A new battle may bring freshly loaded meshes at old addresses.
    bvhs.clear();
}

void HitTable::Freeze(size_t index) {
    Frozen& f = frozen[index];
    const Entry& entry = entries[index];
    f = Frozen{};
    reaches.Set(index, {Nowhere, Nowhere, Nowhere}, 0);
    if (!entry.unit) return;
    const SceneNode& node = *entry.node;
    f.valid = true;
    const MeshResource* mesh = node.mesh;
    if (!mesh) return;
    f.hasMesh = true;
    f.position = NodePosition(node);
    f.probeCentre = f.position + mesh->sphereCenter;
    f.probeRadius = mesh->sphereRadius * node.scale;
    f.halfRadius = 0.5f * mesh->sphereRadius;
    Vector3 centre;
    float reach;
    if (entry.hitTest == HitTest::Sphere) {
        // A counting hit lies within length of the origin, half a radius
        // before the centre's projection, and the ray passes the probe sphere.
        centre = f.probeCentre;
        reach = f.halfRadius + Vec3Length(mesh->sphereCenter) + f.probeRadius;
    } else {
        // Every triangle lies inside the mesh's bounding sphere.
        Matrix world = node.GetWorldMatrix();
        centre = Vec3TransformNormal(mesh->sphereCenter, world) + Vector3{world.m[3][0], world.m[3][1], world.m[3][2]};
        reach = mesh->sphereRadius * StretchBound(world);
    }
    // Far more room than rounding needs.
    reaches.Set(index, centre, reach * 1.01f + 0.01f);
}

void HitTable::BeginBatch() {
    if (batchDepth++ > 0) return;
    for (size_t i = 0; i < used; ++i) Freeze(i);
}

void HitTable::EndBatch() {
    if (batchDepth == 0) return;
    assert(batchDepth > 1 || BatchStillValid());
    --batchDepth;
}

bool HitTable::BatchStillValid() const {
    if (batchDepth == 0) return true;
    for (size_t i = 0; i < used; ++i) {
        const Frozen& f = frozen[i];
        if (!f.valid || !f.hasMesh || !entries[i].unit) continue;
        const SceneNode& node = *entries[i].node;
        Vector3 position = NodePosition(node);
        if (!node.mesh || !(position == f.position) || !(position + node.mesh->sphereCenter == f.probeCentre) ||
            !(node.mesh->sphereRadius * node.scale == f.probeRadius))
            return false;
    }
    return true;
}

size_t HitTable::Count() const {
    return size_t(std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.unit != nullptr; }));
}

bool HitTable::Contains(const Unit* unit) const {
    return unit && std::any_of(entries.begin(), entries.end(), [unit](const Entry& e) { return e.unit == unit; });
}

const MeshBvh* HitTable::BvhFor(const MeshResource* mesh) const {
    if (!mesh || mesh->Geometry().Empty()) return nullptr;
    for (const CachedBvh& cached : bvhs)
        if (cached.mesh == mesh) return cached.bvh.get();
    bvhs.push_back({mesh, std::make_unique<MeshBvh>(mesh->Geometry())});
    return bvhs.back().bvh.get();
}

bool HitTable::PickMesh(const Entry& entry, Vector3& hit, const Vector3& origin, const Vector3& direction,
                        float reach) const {
    const SceneNode& node = *entry.node;
    if (node.mesh != entry.mesh) {
        entry.mesh = node.mesh;
        entry.bvh = BvhFor(node.mesh);
    }
    if (!entry.bvh) return node.RayPickMesh(hit, origin, direction);
    Matrix world = node.GetWorldMatrix();
    // Every triangle lies inside the mesh's bounding sphere: when all of that
    // sphere is out of reach, no hit on this mesh could count.
    const MeshResource& mesh = *node.mesh;
    Vector3 centre = Vec3TransformNormal(mesh.sphereCenter, world) + Vector3{world.m[3][0], world.m[3][1], world.m[3][2]};
    float radius = mesh.sphereRadius * StretchBound(world);
    if (Vec3Length(centre - origin) - radius * 1.001f - 1e-3f > reach * 1.001f) return false;
    return entry.bvh->Pick(world, hit, origin, direction);
}

Unit* HitTable::RayCast(const Unit* exclude, Vector3& hitPoint, Vector3 origin, Vector3 direction,
                        float length) const {
    if (length < 0) {
        direction = -direction;
        length = -length;
    }
    Vector3 bestPoint = origin + direction * length;
    float best = 1e14f;
    Unit* result = nullptr;
    const bool batched = batchDepth > 0;
    const bool shortCut = batched && std::fabs(Vec3LengthSq(direction) - 1.0f) < UnitTolerance;
    // Locals, so that nothing is read again after each write of a hit.
    const Entry* table = entries.data();
    const size_t count = used;
    // In a batch, first mark the entries whose reach the ray can touch: one
    // short pass over packed numbers, without a branch.
    std::array<uint8_t, Capacity> near;
    if (shortCut) {
        const float stretch = length * (1.0f + UnitTolerance);
        for (size_t i = 0; i < count; ++i) {
            float dx = reaches.x[i] - origin.x, dy = reaches.y[i] - origin.y, dz = reaches.z[i] - origin.z;
            float limit = stretch + reaches.radius[i];
            near[i] = dx * dx + dy * dy + dz * dz <= limit * limit;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (shortCut && !near[i]) continue;
        const Entry& entry = table[i];
        if (!entry.unit || entry.unit == exclude) continue;
        Vector3 position;
        float halfRadius;
        const Frozen& f = frozen[i];
        if (batched && f.valid) {
            if (!f.hasMesh || !SphereBoundProbe(f.probeCentre, f.probeRadius, origin, direction)) continue;
            position = f.position;
            halfRadius = f.halfRadius;
        } else {
            const SceneNode& node = *entry.node;
            const MeshResource* mesh = node.mesh;
            // As SceneNode::RayHitsSphere: the centre offset is added unrotated.
            if (!mesh) continue;
            position = NodePosition(node);
            if (!SphereBoundProbe(position + mesh->sphereCenter, mesh->sphereRadius * node.scale, origin, direction))
                continue;
            halfRadius = 0.5f * mesh->sphereRadius;
        }
        Vector3 point;
        if (entry.hitTest == HitTest::Sphere) {
            float t = Vec3Dot(position - origin, direction) - halfRadius;
            point = origin + direction * t;
        } else if (!PickMesh(entry, point, origin, direction, std::min(length, best))) {
            continue;
        }
        float distance = Vec3Length(point - origin);
        if (distance < length && distance < best) {
            best = distance;
            bestPoint = point;
            result = entry.unit;
        }
    }
    hitPoint = bestPoint;
    return result;
}

bool HitTable::IsFriendInLineOfFire(const Unit* shooter, Vector3 origin, Vector3 direction, float length) const {
    if (!shooter) return false;
    Vector3 point;
    const Unit* hit = RayCast(shooter, point, origin, direction, length);
    return hit && hit->team == shooter->team;
}
