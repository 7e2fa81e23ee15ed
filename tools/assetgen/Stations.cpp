#include "assetgen/Countries.h"
#include "assetgen/StationKit.h"

#include <cmath>

namespace assetgen {

namespace {

const Vec3 X{1.0f, 0.0f, 0.0f}, Y{0.0f, 1.0f, 0.0f}, Z{0.0f, 0.0f, 1.0f};

// Rows of lit windows along a face, for scale.
void Windows(StationKit& k, Vec3 start, Vec3 step, int count, Vec3 outward, Vec3 up) {
    for (int i = 0; i < count; ++i) k.Decal(start + step * float(i), outward, up, 0.12f, 0.08f, k.lights);
}

// 01 "Fresh Air": a white square spine with a ring habitat, a hangar arm to
// one side and, at its stern, a white plate bearing a great red disc.
void Station01(StationKit& k) {
    k.Box({-0.5f, -0.5f, -3.0f}, {0.5f, 0.5f, 3.6f}, k.hull);
    k.Lathe({}, {{3.6f, 0.5f}, {4.0f, 0.35f}, {4.3f, 0.0f}}, 8, k.second, true, Pi / 8.0f);
    k.Box({-3.5f, -0.45f, -0.8f}, {-0.5f, 0.45f, 0.8f}, k.hull);
    k.Box({-3.45f, 0.45f, -0.15f}, {-0.6f, 0.48f, 0.15f}, k.marking, false);
    k.LaunchHangar(1.2f, 0.6f);
    k.Flag({-2.0f, 0.0f, 0.8f}, Z, Y, 1.2f, 0.8f);
    k.Flag({-2.0f, 0.0f, -0.8f}, -Z, Y, 1.2f, 0.8f);
    k.Box({-2.2f, -2.2f, -3.25f}, {2.2f, 2.2f, -3.0f}, k.hull);
    k.Cylinder(Frame{}, -3.3f, 1.4f, -3.25f, 1.4f, 24, k.marking);
    k.Torus(Frame::At({0.0f, 0.0f, 1.2f}), 1.9f, 0.22f, 0.3f, 20, 6, k.second);
    for (int i = 0; i < 4; ++i) {
        Frame turn = Frame::RotationZ(Pi * (0.25f + 0.5f * float(i))) * Frame::At({0.0f, 0.0f, 1.2f});
        k.Box({-0.08f, 0.45f, -0.12f}, {0.08f, 1.72f, 0.12f}, k.metal, true, turn);
    }
    Windows(k, {0.51f, 0.2f, -2.5f}, {0.0f, 0.0f, 0.45f}, 5, X, Y);
    Windows(k, {-0.51f, 0.2f, -2.5f}, {0.0f, 0.0f, 0.45f}, 5, -X, Y);
    k.Dish({-2.6f, 0.45f, 0.3f}, Vec3{-0.3f, 1.0f, 0.2f}, 0.45f);
    k.Antenna({0.0f, 0.0f, 4.3f}, Z, 0.8f);
    k.Antenna({2.2f, 2.2f, -3.1f}, Vec3{1.0f, 1.0f, 0.0f}, 0.6f);
    k.Antenna({-2.2f, -2.2f, -3.1f}, Vec3{-1.0f, -1.0f, 0.0f}, 0.6f);
}

// 02 "Neon Angel": a spindle, its hangar at the stern among four radiator
// fins that carry the flag, a hexagonal shaft for the solar ring, a turret
// disc at the bow; the great wheel turns about it (a part of its own).
void Station02(StationKit& k) {
    // The hangar's octagon has flat faces top and bottom for the turrets.
    float r8 = 0.5f / std::cos(Pi / 8.0f);
    k.Cylinder({}, -3.0f, r8, -1.2f, r8, 8, k.hull, true, Pi / 8.0f);
    k.Cylinder({}, -2.0f, r8 + 0.02f, -1.8f, r8 + 0.02f, 8, k.marking, false, Pi / 8.0f);
    k.LaunchHangar(0.55f, 0.45f);
    float r6 = 0.3f / std::cos(Pi / 6.0f);
    k.Cylinder({}, -1.2f, r6, 3.2f, r6, 6, k.second, true, Pi / 6.0f);
    k.Cylinder({}, 3.2f, 0.5f, 3.5f, 0.5f, 12, k.hull);
    k.Cylinder({}, 2.9f, 0.2f, 3.2f, 0.5f, 12, k.hull);
    for (int i = 0; i < 4; ++i) {
        float a = Pi * (0.25f + 0.5f * float(i));
        Vec3 radial{std::sin(a), std::cos(a), 0.0f};
        Vec3 across = Cross(Z, radial);
        Vec3 root = radial * 0.45f, tip = radial * 1.35f;
        std::vector<Vec3> fin;
        for (Vec3 p : {root, tip})
            for (float z : {-3.0f, -2.0f})
                for (float s : {-0.03f, 0.03f}) fin.push_back(p + across * s + Vec3{0.0f, 0.0f, z});
        k.Hull(fin, k.hull);
        if (i < 2) k.Flag(radial * 0.9f + Vec3{0.0f, 0.0f, -2.5f} + across * 0.03f, across, Z, 0.75f, 0.5f);
        k.Antenna(tip + Vec3{0.0f, 0.0f, -2.5f}, radial, 0.35f);
    }
    Vec3 diagonal = Normalize({1.0f, 1.0f, 0.0f});
    k.Dish(diagonal * 0.5f + Vec3{0.0f, 0.0f, -1.6f}, diagonal, 0.35f);
    k.Dish(-diagonal * 0.5f + Vec3{0.0f, 0.0f, -1.6f}, -diagonal, 0.35f);
}

// The wheel of 02: a rim of lit windows on four spokes round a hub that
// turns about the spindle.
void Rotor02(StationKit& k) {
    k.Cylinder({}, -0.75f, 0.7f, 0.75f, 0.7f, 12, k.hull);
    k.Tube({}, RegularPolygon(24, 3.5f), RegularPolygon(24, 3.0f), -0.4f, 0.4f, k.hull);
    k.Tube({}, RegularPolygon(24, 3.51f), RegularPolygon(24, 3.3f), -0.12f, 0.12f, k.marking, false);
    for (int i = 0; i < 4; ++i) {
        Frame turn = Frame::RotationZ(Pi * 0.5f * float(i));
        k.Box({-0.12f, 0.65f, -0.2f}, {0.12f, 3.05f, 0.2f}, k.second, true, turn);
    }
    for (int i = 0; i < 12; ++i) {
        float a = 2.0f * Pi * (float(i) + 0.5f) / 12.0f;
        Vec3 radial{std::sin(a), std::cos(a), 0.0f};
        k.Decal(radial * 3.49f + Vec3{0.0f, 0.0f, 0.25f}, radial, Z, 0.3f, 0.08f, k.lights);
        k.Decal(radial * 3.49f + Vec3{0.0f, 0.0f, -0.25f}, radial, Z, 0.3f, 0.08f, k.lights);
    }
}

// 03 "Adjuster": a navy block with a crossbeam to its two large panels, a
// bow turret platform and the hangar in its stern.
void Station03(StationKit& k) {
    k.Box({-1.0f, -1.0f, -2.5f}, {1.0f, 1.0f, 3.0f}, k.hull);
    k.Box({-0.6f, -0.6f, 3.0f}, {0.6f, 0.6f, 3.5f}, k.second);
    k.Box({-3.5f, -0.35f, -1.9f}, {3.5f, 0.35f, -1.1f}, k.second);
    k.Box({-1.02f, -0.12f, -2.45f}, {1.02f, 0.12f, 2.95f}, k.marking, false);
    k.Box({-0.12f, -1.02f, -2.45f}, {0.12f, 1.02f, 2.95f}, k.marking, false);
    k.LaunchHangar(1.0f, 0.7f);
    k.Flag({1.0f, 0.45f, 1.2f}, X, Y, 1.2f, 0.6f);
    k.Flag({-1.0f, 0.45f, 1.2f}, -X, Y, 1.2f, 0.6f);
    for (float x : {-2.5f, 2.5f}) {
        k.Cylinder(Along(X, {x, 0.0f, -1.5f}), -0.5f, 0.5f, 0.5f, 0.5f, 8, k.metal);
        k.Antenna({x, 0.5f, -1.5f}, Y, 0.7f);
    }
    k.Dish({0.0f, 1.0f, -1.9f}, Vec3{0.0f, 1.0f, -0.4f}, 0.5f);
    Windows(k, {1.01f, -0.5f, -2.0f}, {0.0f, 0.0f, 0.5f}, 9, X, Y);
    Windows(k, {-1.01f, -0.5f, -2.0f}, {0.0f, 0.0f, 0.5f}, 9, -X, Y);
}

// The cross-section of 04: a triangle whose corners are cut off; panels
// stand on the cut corners, turrets on the long sides.
std::vector<Vec2> AeroKingSection() {
    struct Line {
        float angle, distance;
    };
    const Line lines[6] = {{-30.0f, 2.0f},   {30.0f, 1.433f}, {90.0f, 2.0f},
                           {150.0f, 1.433f}, {210.0f, 2.0f},  {270.0f, 1.433f}};
    std::vector<Vec2> corners;
    for (int i = 0; i < 6; ++i) {
        const Line& a = lines[i];
        const Line& b = lines[(i + 1) % 6];
        float aa = a.angle * Pi / 180.0f, bb = b.angle * Pi / 180.0f;
        float det = std::cos(aa) * std::sin(bb) - std::sin(aa) * std::cos(bb);
        float x = (a.distance * std::sin(bb) - b.distance * std::sin(aa)) / det;
        float y = (std::cos(aa) * b.distance - std::cos(bb) * a.distance) / det;
        corners.push_back({x, y});
    }
    return corners;
}

// 04 "Aero King": an open frame - a bow ring and a stern collar, six-sided,
// joined by three longerons along the long sides, which carry the turrets.
// Fighters leave from the mouth of the bow ring, which tricolour bands ring.
void Station04(StationKit& k) {
    std::vector<Vec2> outer = AeroKingSection();
    // The bore: a hexagon with flat top and bottom, each corner near the
    // bearing of the outer corner it is joined to.
    std::vector<Vec2> inner;
    const float sixth = Pi / 3.0f, twelfth = Pi / 6.0f;
    for (Vec2 c : outer) {
        float a = std::atan2(c.u, c.v);
        float snapped = std::round((a - twelfth) / sixth) * sixth + twelfth;
        inner.push_back({1.155f * std::sin(snapped), 1.155f * std::cos(snapped)});
    }
    k.Tube({}, outer, inner, 1.7f, 3.0f, k.hull);
    k.Tube({}, outer, inner, -3.0f, -2.35f, k.hull);
    // The longerons' outer surface is the long side, where the turrets stand.
    for (float degrees : {30.0f, 150.0f, 270.0f}) {
        float a = degrees * Pi / 180.0f;
        k.Cylinder(Along(Z, {1.211f * std::cos(a), 1.211f * std::sin(a), 0.0f}), -2.35f, 0.222f, 1.7f, 0.222f, 8,
                   k.metal);
    }
    const uint32_t bands[3] = {k.second, k.hull, k.marking};
    for (int b = 0; b < 3; ++b) {
        std::vector<Vec2> grown;
        for (Vec2 c : outer) grown.push_back({c.u * 1.02f, c.v * 1.02f});
        k.Tube({}, grown, outer, 2.78f + 0.08f * float(b), 2.86f + 0.08f * float(b), bands[b], false);
    }
    k.Flag({0.0f, -1.433f, 2.2f}, -Y, Z, 1.2f, 0.8f);
    k.Antenna({1.982f, -0.567f, 2.9f}, Vec3{1.0f, -0.3f, 0.0f}, 0.6f);
    k.Antenna({-1.982f, -0.567f, 2.9f}, Vec3{-1.0f, -0.3f, 0.0f}, 0.6f);
    Vec3 upperRight{0.866f, 0.5f, 0.0f}, upperLeft{-0.866f, 0.5f, 0.0f};
    k.Flag(upperRight * 1.433f + Vec3{0.0f, 0.0f, 2.2f}, upperRight, Z, 1.2f, 0.8f);
    k.Flag(upperLeft * 1.433f + Vec3{0.0f, 0.0f, 2.2f}, upperLeft, Z, 1.2f, 0.8f);
}

// 05 "Gray Horizon": a long flat slab striped black, red and gold, a bridge
// on its back and a hangar pylon hanging beneath.
void Station05(StationKit& k) {
    k.Box({-1.75f, -1.0f, -3.75f}, {1.75f, 1.0f, 3.75f}, k.hull);
    const uint32_t stripes[3] = {k.Paint({0.08f, 0.08f, 0.08f, 1.0f}), k.Paint({0.87f, 0.0f, 0.0f, 1.0f}),
                                 k.marking};
    for (int i = 0; i < 3; ++i) {
        float x0 = -1.75f + 3.5f * float(i) / 3.0f, x1 = -1.75f + 3.5f * float(i + 1) / 3.0f;
        k.Box({x0, 1.0f, -3.5f}, {x1, 1.03f, -1.2f}, stripes[i], false);
        k.Box({x0, 1.0f, 1.2f}, {x1, 1.03f, 3.5f}, stripes[i], false);
    }
    k.Box({-0.6f, 1.0f, -1.0f}, {0.6f, 1.6f, 1.0f}, k.second);
    Windows(k, {-0.45f, 1.35f, 1.01f}, {0.15f, 0.0f, 0.0f}, 7, Z, Y);
    k.Dish({0.3f, 1.6f, -0.4f}, Vec3{0.2f, 1.0f, -0.3f}, 0.5f);
    k.Antenna({-0.4f, 1.6f, 0.5f}, Y, 0.9f);
    for (float z : {-3.6f, 3.6f}) k.Antenna({-1.7f, 1.0f, z}, Y, 0.5f);
    k.Box({-1.6f, -3.0f, 0.6f}, {-0.4f, -1.0f, 1.9f}, k.hull);
    k.LaunchHangar(0.8f, 0.8f);
    k.Flag({-0.4f, -2.0f, 1.25f}, X, Y, 1.0f, 0.66f);
    k.Flag({-1.6f, -2.0f, 1.25f}, -X, Y, 1.0f, 0.66f);
    Windows(k, {1.76f, -0.4f, -3.2f}, {0.0f, 0.0f, 0.55f}, 12, X, Y);
    Windows(k, {-1.76f, 0.4f, -3.2f}, {0.0f, 0.0f, 0.55f}, 12, -X, Y);
}

// 06 "Wing Commander": shaped like an aircraft: a green fuselage, a white
// wing with a ball turret on each tip pod, a tail fin with a third, and a
// rack above the bow from which the four panels trail back like a canopy.
void Station06(StationKit& k) {
    k.Lathe(Frame::At({0.0f, -0.5f, 0.0f}),
            {{-3.5f, 0.3f}, {-2.5f, 0.8f}, {3.0f, 0.9f}, {4.2f, 0.6f}, {4.8f, 0.0f}}, 12, k.hull);
    k.Hull({{0.8f, -1.1f, 1.2f},
            {0.8f, -0.9f, 1.2f},
            {0.8f, -1.1f, -1.5f},
            {0.8f, -0.9f, -1.5f},
            {2.4f, -1.1f, 1.2f},
            {2.4f, -0.9f, 1.2f},
            {2.4f, -1.1f, -0.6f},
            {2.4f, -0.9f, -0.6f}},
           k.second);
    k.Hull({{-0.8f, -1.1f, 1.2f},
            {-0.8f, -0.9f, 1.2f},
            {-0.8f, -1.1f, -1.5f},
            {-0.8f, -0.9f, -1.5f},
            {-2.4f, -1.1f, 1.2f},
            {-2.4f, -0.9f, 1.2f},
            {-2.4f, -1.1f, -0.6f},
            {-2.4f, -0.9f, -0.6f}},
           k.second);
    for (float x : {-2.65f, 2.65f}) {
        k.Cylinder(Frame::At({x, -1.0f, 0.0f}), -1.2f, 0.3f, 1.5f, 0.42f, 10, k.marking);
        k.Cylinder(Frame::At({x, -1.0f, 0.0f}), -1.5f, 0.15f, -1.2f, 0.3f, 10, k.marking);
    }
    // The fin's right face is the station's plane of symmetry.
    k.Hull({{-0.15f, -0.1f, -3.3f},
            {0.0f, -0.1f, -3.3f},
            {-0.15f, 0.3f, -1.9f},
            {0.0f, 0.3f, -1.9f},
            {-0.15f, 1.8f, -3.5f},
            {0.0f, 1.8f, -3.5f},
            {-0.15f, 1.8f, -2.6f},
            {0.0f, 1.8f, -2.6f}},
           k.marking);
    k.Box({-2.95f, 0.9f, 3.0f}, {2.95f, 1.6f, 3.5f}, k.second);
    for (float x : {-1.5f, 1.5f}) k.Box({x - 0.05f, 0.3f, 3.1f}, {x + 0.05f, 0.9f, 3.4f}, k.metal);
    k.Box({0.5f, -0.5f, 2.4f}, {3.0f, 0.5f, 3.6f}, k.hull);
    k.LaunchHangar(0.8f, 0.6f);
    k.Flag({1.9f, 0.0f, 3.6f}, Z, Y, 1.05f, 0.7f);
    k.Flag({1.9f, 0.0f, 2.4f}, -Z, Y, 1.05f, 0.7f);
    k.Lathe(Frame::At({0.0f, -0.1f, 3.7f}), {{0.0f, 0.0f}, {0.0f, 0.35f}, {0.5f, 0.2f}, {0.8f, 0.0f}}, 8,
            k.dark, false);
    k.Antenna({-0.075f, 1.8f, -3.2f}, Y, 0.5f);
    for (float x : {-2.4f, 2.4f}) k.Antenna({x, -0.9f, -0.5f}, Vec3{0.0f, -1.0f, 0.0f}, 0.4f);
    k.Dish({-1.5f, -1.1f, 0.0f}, Vec3{-0.2f, -1.0f, 0.0f}, 0.4f);
}

// 07 "Blacksmith": an anvil-shaped forge. A spine carrying the panels, a
// tower with the missile turret at its bow, a launch tube rising from its
// stern, the anvil beneath with two barrage guns; below all of it the
// grinding wheel turns about the station's vertical axis.
void Station07(StationKit& k) {
    k.Box({-0.45f, -0.3f, -3.3f}, {0.45f, 0.7f, 1.5f}, k.hull);
    k.Cylinder(Along(Y, {0.0f, 0.0f, -2.5f}), 0.7f, 0.45f, 1.85f, 0.45f, 10, k.second);
    k.LaunchMouth(0.6f, 0.6f);
    k.Box({-0.6f, 0.7f, 0.4f}, {0.6f, 2.35f, 1.6f}, k.second);
    k.Decal({0.0f, 1.2f, 1.6f}, Z, Y, 0.8f, 0.5f, k.lights);
    k.Flag({0.6f, 1.6f, 1.0f}, X, Y, 0.9f, 0.6f);
    k.Flag({-0.6f, 1.6f, 1.0f}, -X, Y, 0.9f, 0.6f);
    k.Box({-0.35f, -0.7f, -3.1f}, {0.35f, -0.25f, -2.4f}, k.metal);
    // The anvil: a block with a horn.
    k.Box({-1.25f, -1.55f, -3.2f}, {1.25f, -0.65f, -2.3f}, k.marking);
    k.Hull({{-0.4f, -0.65f, -2.3f},
            {0.4f, -0.65f, -2.3f},
            {-0.4f, -1.1f, -2.3f},
            {0.4f, -1.1f, -2.3f},
            {0.0f, -0.75f, -1.5f}},
           k.marking);
    // The axle stops just short of the wheel's hub.
    k.Cylinder(Along(-Y), 0.3f, 0.3f, 1.69f, 0.3f, 8, k.metal);
    Windows(k, {0.46f, 0.45f, -1.9f}, {0.0f, 0.0f, 0.45f}, 7, X, Y);
    Windows(k, {-0.46f, 0.45f, -1.9f}, {0.0f, 0.0f, 0.45f}, 7, -X, Y);
    k.Dish({0.0f, 0.7f, -0.6f}, Vec3{0.0f, 1.0f, -0.2f}, 0.45f);
    k.Antenna({0.0f, 0.7f, -3.1f}, Vec3{0.0f, 1.0f, -0.5f}, 0.6f);
}

// The wheel of 07: a heavy disc on a hub, lying across the vertical axis
// below the anvil, with teeth round its rim.
void Rotor07(StationKit& k) {
    Frame level = Frame::Oriented(Y, Z, {0.0f, -2.55f, 0.0f});
    k.Cylinder(level, -0.85f, 0.6f, 0.85f, 0.6f, 12, k.metal);
    k.Tube(level, RegularPolygon(24, 3.0f), RegularPolygon(24, 2.5f), -0.55f, 0.55f, k.second);
    k.Tube(level, RegularPolygon(24, 2.52f), RegularPolygon(24, 0.58f), -0.12f, 0.12f, k.hull);
    for (int i = 0; i < 8; ++i) {
        Frame turn = Frame::RotationZ(Pi * 0.25f * float(i)) * level;
        k.Box({-0.1f, 2.95f, -0.3f}, {0.1f, 3.0f, 0.3f}, k.marking, false, turn);
    }
}

// 08 "Static Field": a tall red mast bearing four panels behind it and the
// hangar in front, two gold stars, and a long beam with three barrage guns.
void Station08(StationKit& k) {
    k.Box({-0.35f, -3.3f, 2.75f}, {0.35f, 3.3f, 3.5f}, k.hull);
    k.LaunchHangar(0.6f, 0.5f);
    for (float y : {-2.0f, 2.0f}) {
        std::vector<Vec2> star;
        for (int i = 0; i < 10; ++i) {
            float a = Pi * float(i) / 5.0f;
            float r = i % 2 == 0 ? 0.3f : 0.12f;
            star.push_back({r * std::sin(a), r * std::cos(a)});
        }
        // The star's outline lies in the frame's xz plane, which faces forward here.
        Frame face = Frame::Oriented(Y, Z, {0.0f, y, 3.5f});
        k.Prism(face, star, 0.0f, 0.04f, k.marking, false);
    }
    k.Box({-0.4f, -0.4f, 1.7f}, {0.4f, 0.4f, 2.75f}, k.second);
    k.Box({-0.75f, -0.5f, 0.3f}, {0.75f, 0.5f, 1.7f}, k.second);
    k.Box({-2.2f, -0.75f, 0.3f}, {-0.75f, 0.75f, 1.7f}, k.hull);
    k.Box({0.75f, -0.75f, 0.3f}, {3.5f, 0.75f, 1.7f}, k.hull);
    k.Box({0.8f, -0.78f, 0.9f}, {3.45f, 0.78f, 1.1f}, k.marking, false);
    k.Flag({-1.5f, 0.0f, 1.7f}, Z, Y, 0.9f, 0.6f);
    k.Flag({2.1f, 0.0f, 0.3f}, -Z, Y, 0.9f, 0.6f);
    k.Lathe(Frame::At({-1.5f, 0.0f, 0.3f}), {{-1.2f, 0.0f}, {-0.6f, 0.5f}, {0.0f, 0.5f}}, 8, k.second);
    Windows(k, {1.0f, 0.3f, 1.71f}, {0.25f, 0.0f, 0.0f}, 10, Z, Y);
    k.Dish({2.2f, 0.75f, 1.0f}, Vec3{0.3f, 1.0f, 0.0f}, 0.45f);
    for (float y : {-3.3f, 3.3f}) k.Antenna({0.0f, y, 3.1f}, {0.0f, y, 0.0f}, 0.7f);
}

// 09 "Moon Cage": a lattice sphere round a moon painted like the circle of
// the flag, red above and blue below, on a spine that carries the panels,
// the turret yard and the hangar at the stern.
void Station09(StationKit& k) {
    k.Box({-0.35f, -0.35f, -4.25f}, {0.35f, 0.35f, 0.3f}, k.hull);
    k.Box({-0.35f, -1.0f, -4.25f}, {1.0f, 0.35f, -3.2f}, k.hull);
    k.LaunchHangar(0.55f, 0.55f);
    k.Box({-0.3f, -1.6f, -1.75f}, {0.3f, 1.6f, -1.3f}, k.second);
    k.Flag({1.0f, -0.35f, -3.7f}, X, Y, 0.9f, 0.6f);
    k.Flag({-0.35f, -0.35f, -3.7f}, -X, Y, 0.6f, 0.4f);
    Frame centre = Frame::At({0.0f, 0.0f, 1.6f});
    Frame upright = Frame::Oriented(Y, Z, {0.0f, 0.0f, 1.6f});
    k.Lathe(upright, {{0.0f, 0.8f}, {0.35f, 0.7f}, {0.6f, 0.45f}, {0.8f, 0.0f}}, 12, k.marking);
    k.Lathe(upright, {{-0.8f, 0.0f}, {-0.6f, 0.45f}, {-0.35f, 0.7f}, {0.0f, 0.8f}}, 12, k.second);
    k.Torus(centre, 1.5f, 0.06f, 0.06f, 20, 4, k.metal);
    k.Torus(Frame::RotationY(Pi * 0.5f) * centre, 1.5f, 0.06f, 0.06f, 20, 4, k.metal);
    k.Torus(Frame::RotationX(Pi * 0.5f) * centre, 1.5f, 0.06f, 0.06f, 20, 4, k.metal);
    k.Cylinder({}, 0.3f, 0.1f, 0.8f, 0.1f, 6, k.metal);
    Windows(k, {0.36f, 0.15f, -3.0f}, {0.0f, 0.0f, 0.6f}, 4, X, Y);
    k.Antenna({0.0f, 0.0f, 3.1f}, Z, 0.6f);
    k.Dish({0.0f, 0.35f, -3.0f}, Vec3{0.0f, 1.0f, -0.2f}, 0.3f);
}

// 10 "Stack Fish": three bodies stacked: a long fish across the middle
// carrying the large panels at its nose and tail, a small one on top with the
// laser, and a block beneath with two turrets and the hangar.
void Station10(StationKit& k) {
    struct Slice {
        float x, halfZ, bottom, top;
    };
    const Slice slices[] = {{-3.75f, 0.35f, 0.4f, 1.1f},
                            {-2.6f, 0.9f, -0.2f, 1.6f},
                            {0.0f, 1.3f, -0.3f, 1.8f},
                            {2.6f, 0.9f, -0.2f, 1.6f},
                            {3.75f, 0.35f, 0.4f, 1.1f}};
    for (size_t i = 0; i + 1 < std::size(slices); ++i) {
        std::vector<Vec3> points;
        for (const Slice& s : {slices[i], slices[i + 1]})
            for (float z : {-s.halfZ, s.halfZ}) {
                points.push_back({s.x, s.bottom, z * 0.6f});
                points.push_back({s.x, s.top, z * 0.6f});
                points.push_back({s.x, (s.bottom + s.top) * 0.5f, z});
            }
        k.Hull(points, k.hull);
    }
    k.Box({-2.0f, 0.7f, -1.02f}, {2.0f, 0.85f, 1.02f}, k.second, false);
    k.Box({-2.0f, 0.85f, -1.03f}, {2.0f, 0.95f, 1.03f}, k.marking, false);
    for (float x : {-2.6f, 2.6f}) {
        k.Hull({{x - 0.3f, 1.5f, -0.05f},
                {x + 0.3f, 1.5f, -0.05f},
                {x - 0.3f, 1.5f, 0.05f},
                {x + 0.3f, 1.5f, 0.05f},
                {x + 0.1f, 2.2f, 0.0f}},
               k.second);
    }
    k.Hull({{-0.45f, 2.75f, -0.5f},
            {0.45f, 2.75f, -0.5f},
            {-0.45f, 2.75f, 0.5f},
            {0.45f, 2.75f, 0.5f},
            {-0.75f, 2.3f, -1.2f},
            {0.75f, 2.3f, -1.2f},
            {-0.75f, 2.3f, 1.2f},
            {0.75f, 2.3f, 1.2f},
            {-0.5f, 1.6f, -0.9f},
            {0.5f, 1.6f, -0.9f},
            {-0.5f, 1.6f, 0.9f},
            {0.5f, 1.6f, 0.9f}},
           k.second);
    k.Box({-0.9f, -2.75f, -1.5f}, {0.9f, -0.25f, 1.5f}, k.hull);
    k.LaunchHangar(0.9f, 0.9f);
    k.Flag({0.9f, -1.2f, 0.0f}, X, Y, 1.2f, 0.8f);
    for (float x : {-2.6f, 2.6f}) k.Antenna({x + 0.1f, 2.2f, 0.0f}, Y, 0.4f);
    k.Flag({-0.9f, -1.2f, 0.0f}, -X, Y, 1.2f, 0.8f);
}

// 11 "Flat Arrow": a flat frame shaped like an arrow: a shaft with a fin and
// a barb, a crossbar at each end and a broad head bearing the maple leaf.
void Station11(StationKit& k) {
    k.Box({-3.0f, -2.0f, 2.9f}, {1.0f, 0.5f, 3.6f}, k.hull);
    k.Box({-3.0f, -2.0f, -3.5f}, {0.95f, -1.0f, -3.0f}, k.hull);
    k.LaunchHangar(0.4f, 0.4f);
    k.Box({0.05f, -1.2f, -3.5f}, {0.95f, 0.3f, 2.9f}, k.second);
    k.Box({0.95f, -0.4f, -2.7f}, {3.0f, 0.4f, -1.8f}, k.hull);
    k.Box({0.1f, 0.3f, 0.7f}, {0.9f, 2.0f, 1.8f}, k.second);
    k.Prism({}, {{-3.0f, 3.6f}, {1.0f, 3.6f}, {-1.0f, 5.0f}}, -0.6f, 0.0f, k.hull);
    std::vector<Vec2> leaf;
    const Vec2 half[] = {{0.0f, 1.0f},   {0.16f, 0.72f},  {0.32f, 0.8f},  {0.26f, 0.3f},  {0.56f, 0.62f},
                         {0.62f, 0.48f}, {0.88f, 0.54f},  {0.8f, 0.28f},  {0.92f, 0.22f}, {0.52f, -0.12f},
                         {0.6f, -0.3f},  {0.06f, -0.24f}, {0.07f, -0.72f}};
    float size = 0.42f;
    for (Vec2 p : half) leaf.push_back({-1.0f + p.u * size, 4.05f + p.v * size});
    for (int i = int(std::size(half)) - 1; i >= 1; --i)
        leaf.push_back({-1.0f - half[i].u * size, 4.05f + half[i].v * size});
    k.Prism({}, leaf, 0.0f, 0.03f, k.second, false);
    k.Flag({0.95f, -0.45f, 0.0f}, X, Y, 1.2f, 0.8f);
    k.Flag({0.05f, -0.45f, -1.0f}, -X, Y, 1.2f, 0.8f);
    Windows(k, {-2.6f, 0.51f, 3.25f}, {0.4f, 0.0f, 0.0f}, 9, Y, Z);
    k.Dish({2.0f, 0.4f, -2.25f}, Vec3{0.2f, 1.0f, 0.0f}, 0.35f);
    k.Antenna({-1.0f, 0.0f, 5.0f}, Z, 0.6f);
}

// 12 "Metallic Star": an eight-pointed silver star round a blue hub with a
// white rim; seven points carry panels, the eighth is the hangar.
void Station12(StationKit& k) {
    k.Cylinder(Along(Y), -0.75f, 1.2f, 0.75f, 1.2f, 8, k.second, true, Pi / 8.0f);
    k.Tube(Along(Y), RegularPolygon(16, 2.3f, Pi / 16.0f), RegularPolygon(16, 2.1f, Pi / 16.0f), -1.0f, 1.0f,
           k.hull);
    for (int i = 0; i < 8; ++i) {
        float phi = Pi * 0.75f - Pi * 0.25f * float(i);
        Vec3 out{std::sin(phi), 0.0f, std::cos(phi)};
        Vec3 side{out.z, 0.0f, -out.x};
        bool hangar = i == 7;
        float tip = hangar ? 2.5f : 3.0f;
        std::vector<Vec3> arm;
        for (float s : {-1.0f, 1.0f}) {
            arm.push_back(out * 1.0f + side * (0.5f * s) + Vec3{0.0f, 0.6f, 0.0f});
            arm.push_back(out * 1.0f + side * (0.5f * s) + Vec3{0.0f, -0.6f, 0.0f});
            arm.push_back(out * tip + side * (0.3f * s) + Vec3{0.0f, 0.5f, 0.0f});
            arm.push_back(out * tip + side * (0.3f * s) + Vec3{0.0f, -0.5f, 0.0f});
        }
        k.Hull(arm, k.metal);
        if (hangar) k.LaunchHangar(0.45f, 0.4f);
    }
    for (float phi : {Pi / 8.0f, Pi * 9.0f / 8.0f}) {
        Vec3 out{std::sin(phi), 0.0f, std::cos(phi)};
        k.Flag(out * (2.3f * std::cos(Pi / 16.0f)), out, Y, 0.75f, 0.5f);
    }
    k.Tube(Along(Y), RegularPolygon(16, 2.31f, Pi / 16.0f), RegularPolygon(16, 2.2f, Pi / 16.0f), 0.75f,
           0.85f, k.second, false);
    k.Tube(Along(Y), RegularPolygon(16, 2.31f, Pi / 16.0f), RegularPolygon(16, 2.2f, Pi / 16.0f), -0.85f,
           -0.75f, k.second, false);
    for (float phi : {Pi * 0.625f, Pi * 1.375f}) {
        Vec3 out{std::sin(phi), 0.0f, std::cos(phi)};
        k.Dish(out * 2.2f + Vec3{0.0f, 1.0f, 0.0f}, out + Vec3{0.0f, 2.0f, 0.0f}, 0.35f);
        k.Antenna(out * 2.2f + Vec3{0.0f, -1.0f, 0.0f}, Vec3{0.0f, -1.0f, 0.0f}, 0.5f);
    }
}

using Builder = void (*)(StationKit&);
constexpr Builder Builders[] = {Station01, Station02, Station03, Station04, Station05, Station06,
                                Station07, Station08, Station09, Station10, Station11, Station12};
static_assert(std::size(Builders) == CountryCount, "a model for every station type");

} // namespace

std::vector<ModelAsset> BuildStationModels() {
    std::vector<ModelAsset> stations, twins;
    for (int k = 0; k < CountryCount; ++k) {
        StationKit kit(k);
        Builders[k](kit);
        stations.push_back(kit.TakeVisible("STATION_" + TwoDigits(k + 1)));
        twins.push_back(kit.TakeTwin("STATION_CD" + TwoDigits(k + 1)));
    }
    StationKit wheel02(1), wheel07(6);
    Rotor02(wheel02);
    Rotor07(wheel07);
    std::vector<ModelAsset> models = std::move(stations);
    for (ModelAsset& twin : twins) models.push_back(std::move(twin));
    models.push_back(wheel02.TakeVisible("STATION_02R"));
    models.push_back(wheel07.TakeVisible("STATION_07R"));
    models.push_back(wheel02.TakeTwin("STATION_CD02R"));
    models.push_back(wheel07.TakeTwin("STATION_CD07R"));
    return models;
}

} // namespace assetgen
