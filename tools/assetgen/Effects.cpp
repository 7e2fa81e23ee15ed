#include "assetgen/Countries.h"
#include "assetgen/ModelKit.h"
#include "assetgen/Noise.h"

#include <cmath>

namespace assetgen {

namespace {

// The two missiles differ in size and in a few details: the large one has
// canards behind its nose, the small one a slimmer boat tail.
struct MissileType {
    const char* name;
    float length;
    float bodyRadius;
    float finSpanX;
    float finSpanY;
    bool canards;
};

constexpr MissileType Missiles[] = {
    {"MISSILE", 0.5f, 0.028f, 0.05f, 0.04f, true},
    {"MISSILE_S", 0.24f, 0.015f, 0.03f, 0.02f, false},
};

ModelAsset BuildMissile(const MissileType& missile) {
    Mesh mesh;
    uint32_t body = mesh.AddMaterial(Shiny({0.9f, 0.9f, 0.88f, 1.0f}));
    uint32_t fin = mesh.AddMaterial(Matte({0.8f, 0.18f, 0.15f, 1.0f}));
    uint32_t flame = mesh.AddMaterial(Glow({1.0f, 0.65f, 0.2f, 1.0f}));
    float h = missile.length * 0.5f, r = missile.bodyRadius;
    if (missile.canards)
        AddLathe(mesh, {}, {{-h, r * 0.8f}, {h * 0.5f, r}, {h * 0.8f, r * 0.6f}, {h, 0.0f}}, 6, body, 15.0f);
    else
        AddLathe(mesh, {}, {{-h, r * 0.6f}, {-h * 0.85f, r}, {h * 0.5f, r}, {h * 0.8f, r * 0.6f}, {h, 0.0f}},
                 6, body, 15.0f);
    // The exhaust: a glowing disc just behind the tail, facing back.
    std::vector<Vec3> exhaust = Ring(-h * 1.01f, r * 0.5f, r * 0.5f, 6);
    for (size_t i = 1; i + 1 < exhaust.size(); ++i)
        mesh.AddTriangleFacing(exhaust[0], exhaust[i], exhaust[i + 1], {0.0f, 0.0f, -1.0f}, flame);
    float finRoot = -h * 0.95f, finTip = -h * 0.5f;
    AddDoubleSidedPolygon(mesh,
                          {{-missile.finSpanX, 0.0f, finRoot},
                           {missile.finSpanX, 0.0f, finRoot},
                           {r, 0.0f, finTip},
                           {-r, 0.0f, finTip}},
                          fin);
    AddDoubleSidedPolygon(mesh,
                          {{0.0f, -missile.finSpanY, finRoot},
                           {0.0f, missile.finSpanY, finRoot},
                           {0.0f, r, finTip},
                           {0.0f, -r, finTip}},
                          fin);
    if (missile.canards) {
        float canard = h * 0.35f;
        AddDoubleSidedPolygon(mesh,
                              {{-missile.finSpanX * 0.7f, 0.0f, canard},
                               {missile.finSpanX * 0.7f, 0.0f, canard},
                               {r, 0.0f, canard + h * 0.25f},
                               {-r, 0.0f, canard + h * 0.25f}},
                              fin);
        AddDoubleSidedPolygon(mesh,
                              {{0.0f, -missile.finSpanY * 0.7f, canard},
                               {0.0f, missile.finSpanY * 0.7f, canard},
                               {0.0f, r, canard + h * 0.25f},
                               {0.0f, -r, canard + h * 0.25f}},
                              fin);
    }
    return Finish(missile.name, std::move(mesh));
}

// A plasma bolt: a faceted gem of light, a white core in a green shell.
ModelAsset BuildPlasma() {
    Mesh mesh;
    uint32_t shell = mesh.AddMaterial(Glow({0.35f, 1.0f, 0.55f, 1.0f}, 0.55f));
    uint32_t core = mesh.AddMaterial(Glow({0.9f, 1.0f, 0.95f, 1.0f}));
    float diagonal = 0.03f * std::sqrt(2.0f);
    AddLathe(mesh, {}, {{-0.04f, 0.0f}, {-0.025f, diagonal}, {0.025f, diagonal}, {0.04f, 0.0f}}, 4, shell,
             0.0f, 1.0f, 1.0f, Pi / 4.0f);
    AddLathe(mesh, {}, {{-0.022f, 0.0f}, {-0.012f, 0.016f}, {0.012f, 0.016f}, {0.022f, 0.0f}}, 4, core, 0.0f,
             1.0f, 1.0f, Pi / 4.0f);
    return Finish("PLASMA", std::move(mesh));
}

// A flak shell: bronze body, pointed nose, a tracer glowing at its base.
ModelAsset BuildBarrage() {
    Mesh mesh;
    uint32_t shell = mesh.AddMaterial(Shiny({0.72f, 0.52f, 0.25f, 1.0f}));
    uint32_t tracer = mesh.AddMaterial(Glow({1.0f, 0.45f, 0.15f, 1.0f}));
    AddLathe(mesh, {}, {{-0.1f, 0.05f}, {0.0f, 0.05f}, {0.06f, 0.03f}, {0.1f, 0.0f}}, 8, shell, 40.0f);
    AddLathe(mesh, Frame::At({0.0f, 0.0f, -0.1f}), {{-0.002f, 0.0f}, {0.0f, 0.035f}}, 8, tracer, 0.0f);
    return Finish("BARRAGE", std::move(mesh));
}

// A flat strip x -0.5..0.5, z 0..1 at y = 0, seen from both sides: a bright
// core between two fainter edges. The game stretches it along the beam or the
// trail and turns its face to the camera.
Mesh BeamStrip(Colour colour, float edgeAlpha, float coreAlpha, Colour coreColour) {
    Mesh mesh;
    uint32_t edge = mesh.AddMaterial(Glow(colour, edgeAlpha));
    uint32_t core = mesh.AddMaterial(Glow(coreColour, coreAlpha));
    const float split = 0.18f;
    AddDoubleSidedQuad(mesh, {}, -0.5f, -split, 0.0f, 1.0f, edge);
    AddDoubleSidedQuad(mesh, {}, -split, split, 0.0f, 1.0f, core);
    AddDoubleSidedQuad(mesh, {}, split, 0.5f, 0.0f, 1.0f, edge);
    return mesh;
}

ModelAsset BuildExplosion() {
    Mesh mesh;
    uint32_t hot = mesh.AddMaterial(Glow({1.0f, 0.85f, 0.45f, 1.0f}, 0.9f));
    uint32_t fire = mesh.AddMaterial(Glow({1.0f, 0.45f, 0.12f, 1.0f}, 0.9f));
    // A lumpy fireball: a sphere pushed in and out a little by noise, its
    // faces hot yellow or deeper orange in patches.
    const int segments = 12, rings = 10;
    std::vector<std::vector<Vec3>> ringPoints;
    for (int i = 0; i <= rings; ++i) {
        float a = Pi * float(i) / float(rings);
        std::vector<Vec3> ring;
        for (int j = 0; j < segments; ++j) {
            float b = 2.0f * Pi * float(j) / float(segments);
            Vec3 d{std::sin(a) * std::sin(b), std::sin(a) * std::cos(b), -std::cos(a)};
            if (i == 0 || i == rings) d = {0.0f, 0.0f, i == 0 ? -1.0f : 1.0f};
            // The poles stay single points, so the ball stays closed.
            bool pole = i == 0 || i == rings;
            float bump = pole ? 0.0f : ValueNoise(float(i) * 0.9f, float(j) * 0.9f, 31u) * 0.025f;
            ring.push_back(d * (0.5f + bump));
        }
        ringPoints.push_back(ring);
    }
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            int k = (j + 1) % segments;
            Vec3 a = ringPoints[size_t(i)][size_t(j)], b = ringPoints[size_t(i)][size_t(k)];
            Vec3 c = ringPoints[size_t(i + 1)][size_t(k)], d = ringPoints[size_t(i + 1)][size_t(j)];
            Vec3 outward = (a + b + c + d) * 0.25f;
            uint32_t m = ValueNoise(float(i) * 1.7f, float(j) * 1.7f, 77u) > 0.0f ? hot : fire;
            mesh.AddTriangleFacing(a, b, c, outward, m);
            mesh.AddTriangleFacing(a, c, d, outward, m);
        }
    mesh.Smooth(0, 70.0f);
    return Finish("EXPLOTION", std::move(mesh));
}

// A puff of thruster vapour, blown along +z from its nozzle at z = 0.
ModelAsset BuildVapour() {
    Mesh mesh;
    uint32_t vapour = mesh.AddMaterial(Glow({0.92f, 0.95f, 1.0f, 1.0f}, 0.6f));
    AddLathe(mesh, {}, {{0.0f, 0.0f}, {0.02f, 0.07f}, {0.07f, 0.1f}, {0.25f, 0.0f}}, 8, vapour, 70.0f);
    return Finish("VAPOR", std::move(mesh));
}

// The gun sight: three square frames ahead of the fighter, narrowing with
// distance, joined at their corners, with a cross in the middle one.
ModelAsset BuildSight() {
    Mesh mesh;
    uint32_t green = mesh.AddMaterial(Glow({0.3f, 1.0f, 0.4f, 1.0f}, 0.7f));
    const float depth[3] = {3.0f, 4.5f, 6.0f};
    const float half[3] = {0.3f, 0.25f, 0.2f};
    const float bar = 0.03f;
    for (int f = 0; f < 3; ++f) {
        float z = depth[f], o = half[f], i = o - bar;
        AddDoubleSidedPolygon(mesh, {{-o, o, z}, {o, o, z}, {i, i, z}, {-i, i, z}}, green);
        AddDoubleSidedPolygon(mesh, {{o, o, z}, {o, -o, z}, {i, -i, z}, {i, i, z}}, green);
        AddDoubleSidedPolygon(mesh, {{o, -o, z}, {-o, -o, z}, {-i, -i, z}, {i, -i, z}}, green);
        AddDoubleSidedPolygon(mesh, {{-o, -o, z}, {-o, o, z}, {-i, i, z}, {-i, -i, z}}, green);
    }
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f}) {
            Vec3 a{sx * half[0], sy * half[0], depth[0]}, b{sx * half[2], sy * half[2], depth[2]};
            Vec3 side = Vec3{sx, -sy, 0.0f} * (bar * 0.3f);
            AddDoubleSidedPolygon(mesh, {a - side, a + side, b + side, b - side}, green);
        }
    float c = 0.08f, t = bar * 0.5f;
    AddDoubleSidedPolygon(mesh, {{-c, -t, 4.5f}, {c, -t, 4.5f}, {c, t, 4.5f}, {-c, t, 4.5f}}, green);
    AddDoubleSidedPolygon(mesh, {{-t, -c, 4.5f}, {t, -c, 4.5f}, {t, c, 4.5f}, {-t, c, 4.5f}}, green);
    return Finish("SIGHT", std::move(mesh));
}

// The two direction arrows point along +z: a faceted head, a thin shaft and
// crossed fletching at the tail. The fighter arrow has one long head, the
// station arrow two stacked chevrons.
ModelAsset BuildArrow(const char* name, Colour colour, bool doubleHead) {
    Mesh mesh;
    uint32_t paint = mesh.AddMaterial(Shiny(colour, 0.45f));
    uint32_t dark = mesh.AddMaterial(Matte({colour.r * 0.4f, colour.g * 0.4f, colour.b * 0.4f, 1.0f}, 0.3f));
    AddLathe(mesh, {}, {{-0.5f, 0.035f}, {doubleHead ? 0.1f : 0.12f, 0.035f}}, 3, dark, 0.0f);
    if (doubleHead) {
        AddLathe(mesh, {}, {{0.1f, 0.0f}, {0.1f, 0.2f}, {0.16f, 0.25f}, {0.33f, 0.0f}}, 12, paint, 0.0f);
        AddLathe(mesh, {}, {{0.27f, 0.0f}, {0.27f, 0.2f}, {0.33f, 0.25f}, {0.5f, 0.0f}}, 12, paint, 0.0f);
    } else {
        AddLathe(mesh, {}, {{0.1f, 0.0f}, {0.1f, 0.18f}, {0.22f, 0.25f}, {0.35f, 0.16f}, {0.5f, 0.0f}}, 16,
                 paint, 0.0f);
    }
    for (int k = 0; k < 4; ++k) {
        Frame turn = Frame::RotationZ(Pi * (0.25f + 0.5f * float(k)));
        AddDoubleSidedPolygon(mesh,
                              {turn.Point({0.0f, 0.03f, -0.28f}), turn.Point({0.0f, 0.35f, -0.5f}),
                               turn.Point({0.0f, 0.03f, -0.5f})},
                              paint);
    }
    return Finish(name, std::move(mesh));
}

} // namespace

std::vector<ModelAsset> BuildEffectModels() {
    std::vector<ModelAsset> models;
    for (const MissileType& missile : Missiles) models.push_back(BuildMissile(missile));
    models.push_back(BuildPlasma());
    models.push_back(BuildBarrage());
    models.push_back(
        Finish("LASER", BeamStrip({1.0f, 0.25f, 0.35f, 1.0f}, 0.4f, 0.95f, {1.0f, 0.85f, 0.9f, 1.0f})));
    for (int k = 0; k < CountryCount; ++k) {
        Colour c = Country(k).trail;
        Colour core{0.5f + c.r * 0.5f, 0.5f + c.g * 0.5f, 0.5f + c.b * 0.5f, 1.0f};
        models.push_back(Finish("TRAIL_" + TwoDigits(k + 1), BeamStrip(c, 0.3f, 0.6f, core)));
    }
    models.push_back(BuildExplosion());
    models.push_back(BuildVapour());
    models.push_back(BuildSight());
    models.push_back(BuildArrow("ARROW1", {1.0f, 0.25f, 0.2f, 1.0f}, false));
    models.push_back(BuildArrow("ARROW2", {1.0f, 0.75f, 0.15f, 1.0f}, true));
    return models;
}

} // namespace assetgen
