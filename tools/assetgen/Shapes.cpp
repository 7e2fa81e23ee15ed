#include "assetgen/Shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace assetgen {

namespace {

Vec3 Centroid(const std::vector<Vec3>& points) {
    Vec3 sum{};
    for (Vec3 p : points) sum += p;
    return points.empty() ? sum : sum / float(points.size());
}

// A convex polygon as a fan, every triangle facing `outward`.
void AddFan(Mesh& mesh, const std::vector<Vec3>& polygon, Vec3 outward, uint32_t material) {
    for (size_t i = 1; i + 1 < polygon.size(); ++i)
        mesh.AddTriangleFacing(polygon[0], polygon[i], polygon[i + 1], outward, material);
}

bool IsPoint(const std::vector<Vec3>& ring) {
    for (Vec3 p : ring)
        if (Length(p - ring[0]) > 1e-6f) return false;
    return true;
}

float Cross2(Vec2 o, Vec2 a, Vec2 b) {
    return (a.u - o.u) * (b.v - o.v) - (a.v - o.v) * (b.u - o.u);
}

float SignedArea(const std::vector<Vec2>& polygon) {
    float area = 0.0f;
    for (size_t i = 0; i < polygon.size(); ++i) {
        Vec2 a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        area += a.u * b.v - b.u * a.v;
    }
    return area * 0.5f;
}

// 2D convex hull (monotone chain), collinear points left out; indices.
std::vector<int> ConvexHull2D(const std::vector<Vec2>& points) {
    std::vector<int> order(points.size());
    for (size_t i = 0; i < points.size(); ++i) order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return std::tie(points[a].u, points[a].v) < std::tie(points[b].u, points[b].v);
    });
    std::vector<int> hull(2 * points.size());
    size_t k = 0;
    for (int i : order) {
        while (k >= 2 && Cross2(points[hull[k - 2]], points[hull[k - 1]], points[i]) <= 1e-9f) --k;
        hull[k++] = i;
    }
    for (size_t j = order.size() - 1, lower = k + 1; j-- > 0;) {
        int i = order[j];
        while (k >= lower && Cross2(points[hull[k - 2]], points[hull[k - 1]], points[i]) <= 1e-9f) --k;
        hull[k++] = i;
    }
    hull.resize(k > 1 ? k - 1 : k);
    return hull;
}

} // namespace

void AddHull(Mesh& mesh, const std::vector<Vec3>& input, uint32_t material) {
    std::vector<Vec3> points;
    for (Vec3 p : input) {
        bool known = false;
        for (Vec3 q : points) known = known || Length(p - q) < 1e-6f;
        if (!known) points.push_back(p);
    }
    float scale = 0.0f;
    Vec3 centre = Centroid(points);
    for (Vec3 p : points) scale = std::max(scale, Length(p - centre));
    float eps = std::max(scale, 1e-3f) * 1e-5f;
    size_t n = points.size();
    std::vector<std::tuple<Vec3, float>> planes;
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            for (size_t k = j + 1; k < n; ++k) {
                Vec3 normal = Cross(points[j] - points[i], points[k] - points[i]);
                if (Length(normal) < eps * eps) continue;
                normal = Normalize(normal);
                float d = Dot(normal, points[i]);
                int above = 0, below = 0;
                for (Vec3 p : points) {
                    float s = Dot(normal, p) - d;
                    above += s > eps * 10.0f;
                    below += s < -eps * 10.0f;
                }
                if (above > 0 && below > 0) continue;
                if (above > 0) {
                    normal = -normal;
                    d = -d;
                }
                bool known = false;
                for (auto& [n2, d2] : planes)
                    known = known || (Dot(n2, normal) > 1.0f - 1e-5f && std::fabs(d2 - d) < eps * 10.0f);
                if (known) continue;
                planes.emplace_back(normal, d);
                // Every point on the plane belongs to this one face.
                Vec3 u = Normalize(points[j] - points[i]);
                Vec3 v = Cross(normal, u);
                std::vector<Vec3> onPlane;
                std::vector<Vec2> flat;
                for (Vec3 p : points)
                    if (std::fabs(Dot(normal, p) - d) <= eps * 10.0f) {
                        onPlane.push_back(p);
                        flat.push_back({Dot(p - points[i], u), Dot(p - points[i], v)});
                    }
                std::vector<Vec3> polygon;
                for (int index : ConvexHull2D(flat)) polygon.push_back(onPlane[index]);
                AddFan(mesh, polygon, normal, material);
            }
}

void AddBox(Mesh& mesh, const Frame& place, Vec3 lo, Vec3 hi, uint32_t material) {
    std::vector<Vec3> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back(place.Point({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z}));
    AddHull(mesh, corners, material);
}

std::vector<Vec3> Ring(float z, float rx, float ry, int segments, float phase) {
    std::vector<Vec3> ring;
    for (int i = 0; i < segments; ++i) {
        float a = phase + 2.0f * Pi * float(i) / float(segments);
        ring.push_back({rx * std::sin(a), ry * std::cos(a), z});
    }
    return ring;
}

void AddLoft(Mesh& mesh, const Frame& place, const std::vector<std::vector<Vec3>>& localRings,
             uint32_t material, float creaseDegrees, bool closed) {
    std::vector<std::vector<Vec3>> rings;
    for (const auto& ring : localRings) {
        std::vector<Vec3> placed;
        for (Vec3 p : ring) placed.push_back(place.Point(p));
        rings.push_back(placed);
    }
    // Wind every triangle the same way round (each edge is walked once in each
    // direction), then turn the whole skin over if it encloses a negative volume.
    std::vector<std::array<Vec3, 3>> skin;
    size_t count = rings.size();
    size_t spans = closed ? count : count - 1;
    for (size_t r = 0; r < spans; ++r) {
        const auto& a = rings[r];
        const auto& b = rings[(r + 1) % count];
        size_t m = a.size();
        for (size_t i = 0; i < m; ++i) {
            size_t j = (i + 1) % m;
            skin.push_back({a[i], a[j], b[j]});
            skin.push_back({a[i], b[j], b[i]});
        }
    }
    if (!closed && count >= 2) {
        const auto& front = rings.front();
        const auto& back = rings.back();
        if (!IsPoint(front))
            for (size_t k = 1; k + 1 < front.size(); ++k) skin.push_back({front[0], front[k + 1], front[k]});
        if (!IsPoint(back))
            for (size_t k = 1; k + 1 < back.size(); ++k) skin.push_back({back[0], back[k], back[k + 1]});
    }
    double volume = 0.0;
    for (const auto& t : skin) volume += double(Dot(t[0], Cross(t[1], t[2])));
    size_t first = mesh.triangles.size();
    for (const auto& t : skin) {
        if (volume >= 0.0)
            mesh.AddTriangle(t[0], t[1], t[2], material);
        else
            mesh.AddTriangle(t[0], t[2], t[1], material);
    }
    if (creaseDegrees > 0.0f) mesh.Smooth(first, creaseDegrees);
}

void AddLathe(Mesh& mesh, const Frame& place, const std::vector<ProfilePoint>& profile, int segments,
              uint32_t material, float creaseDegrees, float sx, float sy, float phase) {
    std::vector<std::vector<Vec3>> rings;
    for (ProfilePoint p : profile) rings.push_back(Ring(p.z, p.r * sx, p.r * sy, segments, phase));
    AddLoft(mesh, place, rings, material, creaseDegrees);
}

void AddCylinder(Mesh& mesh, const Frame& place, float z0, float r0, float z1, float r1, int segments,
                 uint32_t material, float creaseDegrees, float phase) {
    AddLoft(mesh, place, {Ring(z0, r0, r0, segments, phase), Ring(z1, r1, r1, segments, phase)}, material,
            creaseDegrees);
}

void AddSphere(Mesh& mesh, const Frame& place, float radius, int segments, int rings, uint32_t material) {
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i) {
        float a = Pi * float(i) / float(rings);
        profile.push_back({-radius * std::cos(a), radius * std::sin(a)});
    }
    profile.front().r = profile.back().r = 0.0f;
    AddLathe(mesh, place, profile, segments, material, 80.0f);
}

void AddTorus(Mesh& mesh, const Frame& place, float majorRadius, float hr, float hz, int segments, int sides,
              uint32_t material, float creaseDegrees) {
    std::vector<std::vector<Vec3>> rings;
    for (int i = 0; i < segments; ++i) {
        float a = 2.0f * Pi * float(i) / float(segments);
        Vec3 radial{std::sin(a), std::cos(a), 0.0f};
        std::vector<Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            float b = 2.0f * Pi * (float(k) + 0.5f) / float(sides);
            ring.push_back(radial * (majorRadius + hr * std::cos(b)) + Vec3{0.0f, 0.0f, hz * std::sin(b)});
        }
        rings.push_back(ring);
    }
    AddLoft(mesh, place, rings, material, creaseDegrees, true);
}

void AddTube(Mesh& mesh, const Frame& place, const std::vector<Vec2>& outer, const std::vector<Vec2>& inner,
             float z0, float z1, uint32_t material) {
    std::vector<std::vector<Vec3>> rings;
    for (size_t i = 0; i < outer.size(); ++i)
        rings.push_back({{outer[i].u, outer[i].v, z0},
                         {outer[i].u, outer[i].v, z1},
                         {inner[i].u, inner[i].v, z1},
                         {inner[i].u, inner[i].v, z0}});
    AddLoft(mesh, place, rings, material, 0.0f, true);
}

std::vector<int> Triangulate(const std::vector<Vec2>& polygon) {
    std::vector<int> result;
    std::vector<int> left;
    for (size_t i = 0; i < polygon.size(); ++i) left.push_back(int(i));
    // Work counter-clockwise so that an ear is a left turn.
    if (SignedArea(polygon) < 0.0f) std::reverse(left.begin(), left.end());
    size_t guard = 0;
    while (left.size() > 3 && guard++ < polygon.size() * polygon.size()) {
        bool clipped = false;
        for (size_t i = 0; i < left.size(); ++i) {
            int a = left[(i + left.size() - 1) % left.size()], b = left[i], c = left[(i + 1) % left.size()];
            if (Cross2(polygon[a], polygon[b], polygon[c]) <= 1e-9f) continue;
            bool inside = false;
            for (int p : left) {
                if (p == a || p == b || p == c) continue;
                if (Cross2(polygon[a], polygon[b], polygon[p]) >= 0.0f &&
                    Cross2(polygon[b], polygon[c], polygon[p]) >= 0.0f &&
                    Cross2(polygon[c], polygon[a], polygon[p]) >= 0.0f)
                    inside = true;
            }
            if (inside) continue;
            result.insert(result.end(), {a, b, c});
            left.erase(left.begin() + long(i));
            clipped = true;
            break;
        }
        if (!clipped) break;
    }
    if (left.size() == 3) result.insert(result.end(), {left[0], left[1], left[2]});
    return result;
}

void AddPrism(Mesh& mesh, const Frame& place, const std::vector<Vec2>& outline, float y0, float y1,
              uint32_t capMaterial, uint32_t wallMaterial) {
    auto at = [&](Vec2 p, float y) { return place.Point({p.u, y, p.v}); };
    // The outline lies in x (u) and z (v); its winding decides which side of
    // each edge is outside.
    float orientation = SignedArea(outline) > 0.0f ? 1.0f : -1.0f;
    Vec3 up = place.Direction({0.0f, 1.0f, 0.0f});
    float flip = place.Determinant() < 0.0f ? -1.0f : 1.0f;
    std::vector<int> tris = Triangulate(outline);
    for (size_t t = 0; t + 2 < tris.size(); t += 3) {
        Vec2 a = outline[tris[t]], b = outline[tris[t + 1]], c = outline[tris[t + 2]];
        mesh.AddTriangleFacing(at(a, y1), at(b, y1), at(c, y1), up * flip, capMaterial);
        mesh.AddTriangleFacing(at(a, y0), at(b, y0), at(c, y0), -up * flip, capMaterial);
    }
    for (size_t i = 0; i < outline.size(); ++i) {
        Vec2 a = outline[i], b = outline[(i + 1) % outline.size()];
        // For a counter-clockwise outline (in u, v) the outside of edge a->b is
        // to its right: (dv, -du).
        Vec3 normalLocal{(b.v - a.v) * orientation, 0.0f, -(b.u - a.u) * orientation};
        Vec3 outward = place.Normal(normalLocal);
        mesh.AddTriangleFacing(at(a, y0), at(b, y0), at(b, y1), outward, wallMaterial);
        mesh.AddTriangleFacing(at(a, y0), at(b, y1), at(a, y1), outward, wallMaterial);
    }
}

void AddDoubleSidedQuad(Mesh& mesh, const Frame& place, float x0, float x1, float z0, float z1,
                        uint32_t material) {
    Vec3 a = place.Point({x0, 0.0f, z0}), b = place.Point({x1, 0.0f, z0});
    Vec3 c = place.Point({x1, 0.0f, z1}), d = place.Point({x0, 0.0f, z1});
    Vec3 up = place.Normal({0.0f, 1.0f, 0.0f});
    for (Vec3 side : {up, -up}) {
        mesh.AddTriangleFacing(a, b, c, side, material);
        mesh.AddTriangleFacing(a, c, d, side, material);
    }
}

void AddDoubleSidedPolygon(Mesh& mesh, const std::vector<Vec3>& points, uint32_t material) {
    if (points.size() < 3) return;
    Vec3 normal{};
    for (size_t i = 1; i + 1 < points.size(); ++i)
        normal += Cross(points[i] - points[0], points[i + 1] - points[0]);
    AddFan(mesh, points, normal, material);
    AddFan(mesh, points, -normal, material);
}

void AddPicture(Mesh& mesh, const Frame& place, float width, float height, float thickness,
                uint32_t pictureMaterial, uint32_t edgeMaterial) {
    float w = width * 0.5f, h = height * 0.5f, t = thickness * 0.5f;
    AddBox(mesh, place, {-w, -h, -t * 0.98f}, {w, h, t * 0.98f}, edgeMaterial);
    // The picture faces stand a hair proud of the board so they never fight it.
    for (float side : {-1.0f, 1.0f}) {
        float z = side * t;
        // Seen from this side, its left edge is at -x for the -z face (looking
        // along +z) and at +x for the +z face.
        float left = side < 0.0f ? -w : w, right = -left;
        Vec3 tl = place.Point({left, h, z}), tr = place.Point({right, h, z});
        Vec3 bl = place.Point({left, -h, z}), br = place.Point({right, -h, z});
        Vec3 outward = place.Normal({0.0f, 0.0f, side});
        mesh.AddTriangleFacing(tl, tr, br, outward, pictureMaterial, {0, 0}, {1, 0}, {1, 1});
        mesh.AddTriangleFacing(tl, br, bl, outward, pictureMaterial, {0, 0}, {1, 1}, {0, 1});
    }
}

} // namespace assetgen
