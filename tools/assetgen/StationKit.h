#pragma once

#include "assetgen/ModelKit.h"
#include "game/types/StationTypes.h"

#include <string>
#include <vector>

namespace assetgen {

// Builds a station (or a rotor) and its collision twin side by side: every
// part that can be hit goes into both, the twin with fewer facets and one
// plain material, so the two always agree on where the surface is. Parts
// that do not collide (markings, doors, flags) go into the visible model only.
class StationKit {
public:
    explicit StationKit(int country);

    Mesh visible;
    Mesh twin;
    uint32_t hull, second, marking, metal, dark, lights, flag;

    // A further plain paint for the visible model.
    uint32_t Paint(Colour colour);

    void Box(Vec3 lo, Vec3 hi, uint32_t paint, bool collide = true, const Frame& place = {});
    // A cylinder (or frustum) along the frame's z from z0 to z1.
    void Cylinder(const Frame& place, float z0, float r0, float z1, float r1, int segments, uint32_t paint,
                  bool collide = true, float phase = 0.0f);
    void Lathe(const Frame& place, const std::vector<ProfilePoint>& profile, int segments, uint32_t paint,
               bool collide = true, float phase = 0.0f);
    void Hull(const std::vector<Vec3>& points, uint32_t paint, bool collide = true);
    void Tube(const Frame& place, const std::vector<Vec2>& outer, const std::vector<Vec2>& inner, float z0,
              float z1, uint32_t paint, bool collide = true);
    void Torus(const Frame& place, float majorRadius, float hr, float hz, int segments, int sides,
               uint32_t paint, bool collide = true);
    void Sphere(const Frame& place, float radius, int segments, int rings, uint32_t paint,
                bool collide = true);
    // An outline in the frame's xz plane, extruded from y0 to y1.
    void Prism(const Frame& place, const std::vector<Vec2>& outline, float y0, float y1, uint32_t paint,
               bool collide = true);

    // The country's flag on a board facing along `outward`, its top towards `up`.
    void Flag(Vec3 centre, Vec3 outward, Vec3 up, float width, float height);
    // A flat decal (door, window, light strip) just proud of a face.
    void Decal(Vec3 centre, Vec3 outward, Vec3 up, float width, float height, uint32_t paint);
    // A dish on a short mast standing out from `base` along `axis`, and a
    // thin antenna with a red light at its tip. Neither is worth a hit test.
    void Dish(Vec3 base, Vec3 axis, float radius);
    void Antenna(Vec3 base, Vec3 axis, float length);
    // A hangar mouth: a dark opening edged with lights.
    void Hangar(Vec3 centre, Vec3 outward, Vec3 up, float width, float height);
    // The hangar mouth the game launches this station's fighters from: on
    // its launch point, facing along the launch direction, its top towards
    // the launch up.
    void LaunchHangar(float width, float height);
    // A plain dark opening there instead (a launch tube's mouth).
    void LaunchMouth(float width, float height);

    ModelAsset TakeVisible(const std::string& name) { return Finish(name, std::move(visible)); }
    ModelAsset TakeTwin(const std::string& name) { return Finish(name, std::move(twin)); }

private:
    // The game's row for this station type.
    const StationType& row;
    uint32_t solid, redLight;
};

// A frame whose z runs along `axis` from `origin`.
Frame Along(Vec3 axis, Vec3 origin = {});

// A regular polygon in the plane, `count` corners on radius r, the first at
// angle `phase` from +v towards +u.
std::vector<Vec2> RegularPolygon(int count, float r, float phase = 0.0f);

} // namespace assetgen
