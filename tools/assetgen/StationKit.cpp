#include "assetgen/StationKit.h"

#include "assetgen/Countries.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Round parts of the twin never need more facets than this.
constexpr int TwinSegments = 8;

int TwinCount(int segments) {
    return std::min(segments, TwinSegments);
}

} // namespace

Frame Along(Vec3 axis, Vec3 origin) {
    Vec3 up = std::fabs(Normalize(axis).y) > 0.9f ? Vec3{0.0f, 0.0f, 1.0f} : Vec3{0.0f, 1.0f, 0.0f};
    return Frame::Oriented(axis, up, origin);
}

std::vector<Vec2> RegularPolygon(int count, float r, float phase) {
    std::vector<Vec2> points;
    for (int i = 0; i < count; ++i) {
        float a = phase + 2.0f * Pi * float(i) / float(count);
        points.push_back({r * std::sin(a), r * std::cos(a)});
    }
    return points;
}

StationKit::StationKit(int country) : row(StationTypeTable()[size_t(country)]) {
    const CountryStyle& style = Country(country);
    hull = visible.AddMaterial(Shiny(style.hull));
    second = visible.AddMaterial(Shiny(style.second));
    marking = visible.AddMaterial(Matte(style.marking, 0.1f));
    metal = visible.AddMaterial(Shiny({0.55f, 0.57f, 0.6f, 1.0f}));
    dark = visible.AddMaterial(Matte({0.04f, 0.04f, 0.06f, 1.0f}));
    lights = visible.AddMaterial(Glow({1.0f, 0.92f, 0.6f, 1.0f}));
    flag = visible.AddMaterial(FlagMaterial(country));
    redLight = visible.AddMaterial(Glow({1.0f, 0.15f, 0.1f, 1.0f}));
    solid = twin.AddMaterial(Matte({0.6f, 0.6f, 0.6f, 1.0f}));
}

uint32_t StationKit::Paint(Colour colour) {
    return visible.AddMaterial(Matte(colour, 0.1f));
}

void StationKit::Box(Vec3 lo, Vec3 hi, uint32_t paint, bool collide, const Frame& place) {
    AddBox(visible, place, lo, hi, paint);
    if (collide) AddBox(twin, place, lo, hi, solid);
}

void StationKit::Cylinder(const Frame& place, float z0, float r0, float z1, float r1, int segments,
                          uint32_t paint, bool collide, float phase) {
    AddCylinder(visible, place, z0, r0, z1, r1, segments, paint, 40.0f, phase);
    if (collide) AddCylinder(twin, place, z0, r0, z1, r1, TwinCount(segments), solid, 0.0f, phase);
}

void StationKit::Lathe(const Frame& place, const std::vector<ProfilePoint>& profile, int segments,
                       uint32_t paint, bool collide, float phase) {
    AddLathe(visible, place, profile, segments, paint, 40.0f, 1.0f, 1.0f, phase);
    if (collide) AddLathe(twin, place, profile, TwinCount(segments), solid, 0.0f, 1.0f, 1.0f, phase);
}

void StationKit::Hull(const std::vector<Vec3>& points, uint32_t paint, bool collide) {
    AddHull(visible, points, paint);
    if (collide) AddHull(twin, points, solid);
}

void StationKit::Tube(const Frame& place, const std::vector<Vec2>& outer, const std::vector<Vec2>& inner,
                      float z0, float z1, uint32_t paint, bool collide) {
    AddTube(visible, place, outer, inner, z0, z1, paint);
    if (!collide) return;
    // Every other corner of a fine outline: the coarser wall stays inside the fine one.
    std::vector<Vec2> coarseOuter = outer, coarseInner = inner;
    while (coarseOuter.size() > size_t(TwinSegments) * 3 / 2 && coarseOuter.size() % 2 == 0) {
        std::vector<Vec2> o, i;
        for (size_t k = 0; k < coarseOuter.size(); k += 2) {
            o.push_back(coarseOuter[k]);
            i.push_back(coarseInner[k]);
        }
        coarseOuter = o;
        coarseInner = i;
    }
    AddTube(twin, place, coarseOuter, coarseInner, z0, z1, solid);
}

void StationKit::Torus(const Frame& place, float majorRadius, float hr, float hz, int segments, int sides,
                       uint32_t paint, bool collide) {
    AddTorus(visible, place, majorRadius, hr, hz, segments, sides, paint);
    if (collide)
        AddTorus(twin, place, majorRadius, hr, hz, TwinCount(segments), std::min(sides, 3), solid, 0.0f);
}

void StationKit::Sphere(const Frame& place, float radius, int segments, int rings, uint32_t paint,
                        bool collide) {
    AddSphere(visible, place, radius, segments, rings, paint);
    if (collide) AddSphere(twin, place, radius, TwinCount(segments), std::min(rings, 4), solid);
}

void StationKit::Prism(const Frame& place, const std::vector<Vec2>& outline, float y0, float y1,
                       uint32_t paint, bool collide) {
    AddPrism(visible, place, outline, y0, y1, paint, paint);
    if (collide) AddPrism(twin, place, outline, y0, y1, solid, solid);
}

void StationKit::Flag(Vec3 centre, Vec3 outward, Vec3 up, float width, float height) {
    // The board's -z face shows the flag; it sits 0.02 off the hull.
    Frame place = Frame::Oriented(-outward, up, centre + Normalize(outward) * 0.02f);
    AddPicture(visible, place, width, height, 0.03f, flag, metal);
}

void StationKit::Decal(Vec3 centre, Vec3 outward, Vec3 up, float width, float height, uint32_t paint) {
    Frame place = Frame::Oriented(-outward, up, centre + Normalize(outward) * 0.006f);
    float w = width * 0.5f, h = height * 0.5f;
    Vec3 a = place.Point({-w, -h, 0.0f}), b = place.Point({w, -h, 0.0f});
    Vec3 c = place.Point({w, h, 0.0f}), d = place.Point({-w, h, 0.0f});
    visible.AddTriangleFacing(a, b, c, outward, paint);
    visible.AddTriangleFacing(a, c, d, outward, paint);
}

void StationKit::Dish(Vec3 base, Vec3 axis, float radius) {
    Frame place = Along(axis, base);
    AddCylinder(visible, place, 0.0f, radius * 0.12f, radius * 0.5f, radius * 0.1f, 6, metal, 40.0f);
    AddLathe(visible, place,
             {{radius * 0.45f, 0.0f},
              {radius * 0.5f, radius * 0.3f},
              {radius * 0.75f, radius},
              {radius * 0.8f, radius * 0.95f},
              {radius * 0.6f, 0.0f}},
             12, metal, 35.0f);
}

void StationKit::Antenna(Vec3 base, Vec3 axis, float length) {
    Frame place = Along(axis, base);
    AddCylinder(visible, place, 0.0f, 0.03f, length, 0.015f, 4, metal, 0.0f, Pi / 4.0f);
    AddSphere(visible, Frame::At(place.Point({0.0f, 0.0f, length})), 0.05f, 6, 3, redLight);
}

void StationKit::Hangar(Vec3 centre, Vec3 outward, Vec3 up, float width, float height) {
    Decal(centre, outward, up, width, height, dark);
    Vec3 side = Normalize(Cross(up, outward));
    for (float s : {-1.0f, 1.0f})
        Decal(centre + side * (s * (width * 0.5f + 0.04f)) + Normalize(outward) * 0.002f, outward, up, 0.05f,
              height, lights);
}

void StationKit::LaunchHangar(float width, float height) {
    Hangar(FromTable(row.launchPoint), FromTable(row.launchForward), FromTable(row.launchUp), width, height);
}

void StationKit::LaunchMouth(float width, float height) {
    Decal(FromTable(row.launchPoint), FromTable(row.launchForward), FromTable(row.launchUp), width, height,
          dark);
}

} // namespace assetgen
