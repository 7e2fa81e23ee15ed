#include "assetgen/Mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace assetgen {

namespace {

// Positions are written with six decimals, so that is the grain at which two
// corners are the same place.
int64_t Quantize(float value) {
    return int64_t(std::llround(double(value) * 1e6));
}

using PositionKey = std::tuple<int64_t, int64_t, int64_t>;

PositionKey KeyOf(Vec3 p) {
    return {Quantize(p.x), Quantize(p.y), Quantize(p.z)};
}

bool SameColour(const Colour& a, const Colour& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool SameMaterial(const Material& a, const Material& b) {
    return SameColour(a.diffuse, b.diffuse) && a.power == b.power && SameColour(a.specular, b.specular) &&
           SameColour(a.emissive, b.emissive) && a.texture == b.texture;
}

} // namespace

uint32_t Mesh::AddMaterial(const Material& material) {
    for (size_t i = 0; i < materials.size(); ++i)
        if (SameMaterial(materials[i], material)) return uint32_t(i);
    materials.push_back(material);
    return uint32_t(materials.size() - 1);
}

void Mesh::AddTriangle(Vec3 a, Vec3 b, Vec3 c, uint32_t material, Vec2 ta, Vec2 tb, Vec2 tc) {
    Vec3 cross = Cross(b - a, c - a);
    // Half the cross product is the area; anything this thin draws nothing.
    if (Length(cross) < 1e-9f) return;
    Vec3 normal = Normalize(cross);
    uint32_t first = uint32_t(vertices.size());
    vertices.push_back({a, normal, ta});
    vertices.push_back({b, normal, tb});
    vertices.push_back({c, normal, tc});
    Triangle t;
    t.v[0] = first;
    t.v[1] = first + 1;
    t.v[2] = first + 2;
    t.material = material;
    triangles.push_back(t);
}

void Mesh::AddTriangleFacing(Vec3 a, Vec3 b, Vec3 c, Vec3 outward, uint32_t material, Vec2 ta, Vec2 tb,
                             Vec2 tc) {
    if (Dot(Cross(b - a, c - a), outward) < 0.0f)
        AddTriangle(a, c, b, material, ta, tc, tb);
    else
        AddTriangle(a, b, c, material, ta, tb, tc);
}

void Mesh::Smooth(size_t firstTriangle, float creaseDegrees) {
    float limit = std::cos(creaseDegrees * Pi / 180.0f);
    struct Corner {
        uint32_t vertex;
        Vec3 faceNormal;
        float weight;
    };
    std::map<PositionKey, std::vector<Corner>> corners;
    for (size_t t = firstTriangle; t < triangles.size(); ++t) {
        const Triangle& tri = triangles[t];
        Vec3 p0 = vertices[tri.v[0]].position, p1 = vertices[tri.v[1]].position,
             p2 = vertices[tri.v[2]].position;
        Vec3 cross = Cross(p1 - p0, p2 - p0);
        Vec3 normal = Normalize(cross);
        std::array<Vec3, 3> p = {p0, p1, p2};
        for (int k = 0; k < 3; ++k) {
            // Weight each face by its angle at the corner, so a fan of thin
            // triangles does not outvote one broad face.
            Vec3 e1 = Normalize(p[(k + 1) % 3] - p[k]);
            Vec3 e2 = Normalize(p[(k + 2) % 3] - p[k]);
            float angle = std::acos(std::clamp(Dot(e1, e2), -1.0f, 1.0f));
            corners[KeyOf(p[k])].push_back({tri.v[k], normal, angle});
        }
    }
    for (auto& [key, list] : corners) {
        for (const Corner& corner : list) {
            Vec3 sum{};
            for (const Corner& other : list)
                if (Dot(other.faceNormal, corner.faceNormal) >= limit) sum += other.faceNormal * other.weight;
            Vec3 normal = Normalize(sum);
            vertices[corner.vertex].normal = Length(normal) > 0.0f ? normal : corner.faceNormal;
        }
    }
}

void Mesh::Compact() {
    using VertexKey = std::tuple<PositionKey, PositionKey, int64_t, int64_t>;
    std::map<VertexKey, uint32_t> seen;
    std::vector<Vertex> kept;
    std::vector<uint32_t> remap(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& v = vertices[i];
        VertexKey key{KeyOf(v.position), KeyOf(v.normal), Quantize(v.uv.u), Quantize(v.uv.v)};
        auto [it, inserted] = seen.emplace(key, uint32_t(kept.size()));
        if (inserted) kept.push_back(v);
        remap[i] = it->second;
    }
    std::vector<Triangle> live;
    std::vector<bool> used(kept.size(), false);
    for (Triangle t : triangles) {
        for (uint32_t& index : t.v) index = remap[index];
        // Corners that merged leave a triangle without area: it goes.
        if (t.v[0] == t.v[1] || t.v[1] == t.v[2] || t.v[0] == t.v[2]) continue;
        for (uint32_t index : t.v) used[index] = true;
        live.push_back(t);
    }
    // Only corners some triangle uses stay: the bounds count every listed one.
    std::vector<uint32_t> renumber(kept.size(), 0);
    vertices.clear();
    for (size_t i = 0; i < kept.size(); ++i)
        if (used[i]) {
            renumber[i] = uint32_t(vertices.size());
            vertices.push_back(kept[i]);
        }
    for (Triangle& t : live)
        for (uint32_t& index : t.v) index = renumber[index];
    triangles = std::move(live);
}

bool Mesh::HasTexture() const {
    return std::any_of(materials.begin(), materials.end(),
                       [](const Material& m) { return !m.texture.empty(); });
}

Bounds ComputeBounds(const Mesh& mesh) {
    Bounds bounds;
    if (mesh.vertices.empty()) return bounds;
    bounds.boxMin = bounds.boxMax = mesh.vertices[0].position;
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (const Vertex& v : mesh.vertices) {
        Vec3 p = v.position;
        bounds.boxMin = {std::min(bounds.boxMin.x, p.x), std::min(bounds.boxMin.y, p.y),
                         std::min(bounds.boxMin.z, p.z)};
        bounds.boxMax = {std::max(bounds.boxMax.x, p.x), std::max(bounds.boxMax.y, p.y),
                         std::max(bounds.boxMax.z, p.z)};
        sx += p.x;
        sy += p.y;
        sz += p.z;
    }
    double n = double(mesh.vertices.size());
    bounds.centre = {float(sx / n), float(sy / n), float(sz / n)};
    for (const Vertex& v : mesh.vertices)
        bounds.radius = std::max(bounds.radius, Length(v.position - bounds.centre));
    return bounds;
}

} // namespace assetgen
