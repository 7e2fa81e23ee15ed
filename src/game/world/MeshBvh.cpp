#include "game/world/MeshBvh.h"

#include "render/MeshData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Triangles per leaf: few enough that a leaf costs little more than its box.
constexpr uint32_t LeafSize = 4;

float Axis(const Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

void Grow(Vector3& boxMin, Vector3& boxMax, const Vector3& p) {
    boxMin = {std::min(boxMin.x, p.x), std::min(boxMin.y, p.y), std::min(boxMin.z, p.z)};
    boxMax = {std::max(boxMax.x, p.x), std::max(boxMax.y, p.y), std::max(boxMax.z, p.z)};
}

// Whether the half-line o + d t, t >= 0, passes through the box.
bool RayMeetsBox(const Vector3& o, const Vector3& d, const Vector3& boxMin, const Vector3& boxMax) {
    float near = 0.0f;
    float far = std::numeric_limits<float>::infinity();
    for (int axis = 0; axis < 3; ++axis) {
        float origin = Axis(o, axis), direction = Axis(d, axis);
        float low = Axis(boxMin, axis), high = Axis(boxMax, axis);
        if (direction == 0.0f) {
            if (origin < low || origin > high) return false;
            continue;
        }
        float t1 = (low - origin) / direction;
        float t2 = (high - origin) / direction;
        if (t1 > t2) std::swap(t1, t2);
        near = std::max(near, t1);
        far = std::min(far, t2);
        if (near > far) return false;
    }
    return true;
}

// Distance from a point to the nearest point of a box (0 inside).
float DistanceToBox(const Vector3& p, const Vector3& boxMin, const Vector3& boxMax) {
    float dx = std::max({boxMin.x - p.x, 0.0f, p.x - boxMax.x});
    float dy = std::max({boxMin.y - p.y, 0.0f, p.y - boxMax.y});
    float dz = std::max({boxMin.z - p.z, 0.0f, p.z - boxMax.z});
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

MeshBvh::MeshBvh(const MeshData& geometry) {
    const auto& vertices = geometry.vertices;
    const auto& indices = geometry.indices;
    triangles.reserve(indices.size() / 3);
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        // The plain scan skips triangles whose indices run past the vertices.
        if (indices[i] >= vertices.size() || indices[i + 1] >= vertices.size() || indices[i + 2] >= vertices.size())
            continue;
        triangles.push_back({vertices[indices[i]].position, vertices[indices[i + 1]].position,
                             vertices[indices[i + 2]].position, uint32_t(i)});
    }
    if (triangles.empty()) return;
    nodes.reserve(2 * triangles.size() / LeafSize + 2);
    nodes.emplace_back();
    Build(0, 0, uint32_t(triangles.size()));

    // Grow every box by a margin far above the rounding of the triangle test,
    // so that a triangle the plain scan accepts is never skipped here.
    Vector3 size = nodes[0].boxMax - nodes[0].boxMin;
    float margin = 2e-3f * std::max({size.x, size.y, size.z}) + 1e-4f;
    for (Node& node : nodes) {
        node.boxMin -= Vector3{margin, margin, margin};
        node.boxMax += Vector3{margin, margin, margin};
    }
}

void MeshBvh::Build(uint32_t self, uint32_t first, uint32_t count) {
    Vector3 boxMin = triangles[first].p0, boxMax = boxMin;
    Vector3 centreMin{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                      std::numeric_limits<float>::max()};
    Vector3 centreMax = -centreMin;
    for (uint32_t i = first; i < first + count; ++i) {
        const Triangle& t = triangles[i];
        Grow(boxMin, boxMax, t.p0);
        Grow(boxMin, boxMax, t.p1);
        Grow(boxMin, boxMax, t.p2);
        Grow(centreMin, centreMax, (t.p0 + t.p1 + t.p2) * (1.0f / 3.0f));
    }
    nodes[self].boxMin = boxMin;
    nodes[self].boxMax = boxMax;
    Vector3 spread = centreMax - centreMin;
    int axis = spread.x >= spread.y && spread.x >= spread.z ? 0 : spread.y >= spread.z ? 1 : 2;
    if (count <= LeafSize || Axis(spread, axis) <= 0.0f) {
        nodes[self].first = first;
        nodes[self].count = count;
        return;
    }
    // Median split along the longest spread of the triangle centres.
    uint32_t half = count / 2;
    auto centre = [axis](const Triangle& t) { return Axis(t.p0, axis) + Axis(t.p1, axis) + Axis(t.p2, axis); };
    std::nth_element(triangles.begin() + first, triangles.begin() + first + half, triangles.begin() + first + count,
                     [&](const Triangle& a, const Triangle& b) { return centre(a) < centre(b); });
    uint32_t children = uint32_t(nodes.size());
    nodes[self].first = children;
    nodes[self].count = 0;
    nodes.emplace_back();
    nodes.emplace_back();
    Build(children, first, half);
    Build(children + 1, first + half, count - half);
}

bool MeshBvh::Pick(const Matrix& world, Vector3& hit, const Vector3& origin, const Vector3& direction) const {
    if (nodes.empty()) return false;
    // The ray in model space, computed as the plain scan computes it.
    Vector3 position{world.m[3][0], world.m[3][1], world.m[3][2]};
    Matrix inverse;
    if (!MatrixInverse(world, inverse)) return false;
    Vector3 o = Vec3TransformNormal(origin, inverse) - Vec3TransformNormal(position, inverse);
    Vector3 d = Vec3TransformNormal(direction, inverse);

    Vector3 best{10000, 10000, 10000};
    float bestDistance = Vec3Length(best - o);
    uint32_t bestIndex = std::numeric_limits<uint32_t>::max();
    bool found = false;

    // Depth stays near log2 of the triangle count; 64 is far beyond any model.
    std::array<uint32_t, 64> stack;
    size_t depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const Node& node = nodes[stack[--depth]];
        // A hit inside this box is at least this far away, and must lie on the ray.
        if (DistanceToBox(o, node.boxMin, node.boxMax) > bestDistance) continue;
        if (!RayMeetsBox(o, d, node.boxMin, node.boxMax)) continue;
        if (node.count == 0) {
            if (depth + 2 > stack.size()) continue;
            // The nearer child goes on top, so it is tried first.
            uint32_t a = node.first, b = node.first + 1;
            if (DistanceToBox(o, nodes[a].boxMin, nodes[a].boxMax) < DistanceToBox(o, nodes[b].boxMin, nodes[b].boxMax))
                std::swap(a, b);
            stack[depth++] = a;
            stack[depth++] = b;
            continue;
        }
        for (uint32_t i = node.first; i < node.first + node.count; ++i) {
            const Triangle& tri = triangles[i];
            const Vector3& p0 = tri.p0;
            const Vector3& p1 = tri.p1;
            const Vector3& p2 = tri.p2;
            float t, u, v;
            if (!IntersectTriangle(o, d, p0, p1, p2, t, u, v)) continue;
            Vector3 h = p0 + (p1 - p0) * u + (p2 - p0) * v;
            if (Vec3Dot(h - o, d) < 0) continue;
            float distance = Vec3Length(h - o);
            // The plain scan keeps the first of equally near triangles.
            if (distance < bestDistance || (found && distance == bestDistance && tri.index < bestIndex)) {
                best = h;
                bestDistance = distance;
                bestIndex = tri.index;
                found = true;
            }
        }
    }
    if (!found) return false;
    hit = Vec3TransformNormal(best, world) + position;
    return true;
}
