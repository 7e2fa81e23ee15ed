#include "assetgen/Countries.h"
#include "assetgen/ModelKit.h"
#include "game/types/StationTypes.h"

#include <cmath>

namespace assetgen {

namespace {

// Panels stand out from the hull along their own +z: the strut starts at the
// hull (z = -extension, the game's distance from the mount point to the
// panel), the solar cells follow, and the face turns to the light about z,
// so the cells lie flat in x and z.
struct PanelShape {
    const char* name;
    const char* collisionName;
    PanelKind kind;
    // Cells: half width and the z range, and whether they split into two
    // wings either side of a central hub (the large panel).
    float halfWidth;
    float cellsFrom;
    float cellsTo;
    bool split;
    // A thin rod beyond the cells, to this z (0 for none).
    float rodTo;
};

constexpr PanelShape Panels[] = {
    {"PANEL_A", "PANEL_CDA", PanelA, 0.5f, -2.0f, 2.0f, false, 0.0f},
    {"PANEL_B", "PANEL_CDB", PanelB, 5.0f, -1.0f, 1.0f, true, 0.0f},
    {"PANEL_C", "PANEL_CDC", PanelC, 0.7f, -2.0f, 2.0f, false, 3.0f},
};

struct PanelPaint {
    uint32_t cells, frame, hub;
};

PanelPaint PaintPanel(Mesh& mesh) {
    Material cells = Shiny({0.12f, 0.2f, 0.48f, 1.0f}, 0.08f);
    cells.power = 60.0f;
    cells.specular = {0.9f, 0.9f, 1.0f, 1.0f};
    return {mesh.AddMaterial(cells), mesh.AddMaterial(Shiny({0.7f, 0.72f, 0.75f, 1.0f})),
            mesh.AddMaterial(Matte({0.45f, 0.46f, 0.5f, 1.0f}))};
}

ModelAsset BuildPanel(const PanelShape& panel) {
    Mesh mesh;
    PanelPaint paint = PaintPanel(mesh);
    float w = panel.halfWidth, t = 0.03f;
    float extension = GetPanelType(panel.kind).extension;
    float mid = (panel.cellsFrom + panel.cellsTo) * 0.5f;
    if (panel.split) {
        // Two blankets on a spar, the hub between them carrying the strut.
        for (float side : {-1.0f, 1.0f}) {
            float inner = 0.3f * side, outer = w * side;
            AddBox(mesh, {}, {std::min(inner, outer), -0.04f, panel.cellsFrom},
                   {std::max(inner, outer), 0.04f, panel.cellsTo}, paint.cells);
        }
        AddBox(mesh, {}, {-w, -0.125f, mid - 0.1f}, {w, 0.125f, mid + 0.1f}, paint.frame);
        AddBox(mesh, {}, {-0.3f, -0.18f, -extension}, {0.3f, 0.18f, panel.cellsTo * 0.5f}, paint.hub);
    } else {
        AddBox(mesh, {}, {-w, -t, panel.cellsFrom}, {w, t, mid - 0.05f}, paint.cells);
        AddBox(mesh, {}, {-w, -t, mid + 0.05f}, {w, t, panel.cellsTo}, paint.cells);
        AddBox(mesh, {}, {-w, -t * 0.9f, mid - 0.06f}, {w, t * 0.9f, mid + 0.06f}, paint.frame);
        AddBox(mesh, {}, {-0.03f, -0.03f, -extension}, {0.03f, 0.03f, panel.cellsFrom + 0.02f}, paint.hub);
        if (panel.rodTo > 0.0f)
            AddBox(mesh, {}, {-0.015f, -0.015f, panel.cellsTo - 0.02f}, {0.015f, 0.015f, panel.rodTo},
                   paint.hub);
    }
    return Finish(panel.name, std::move(mesh));
}

// The collision twin covers the cells: a flat sheet, seen from both sides,
// or for the large panel a slab as thick as its spar.
ModelAsset BuildPanelTwin(const PanelShape& panel) {
    Mesh mesh;
    uint32_t m = mesh.AddMaterial(Matte({0.5f, 0.5f, 0.5f, 1.0f}));
    if (panel.split)
        AddBox(mesh, {}, {-panel.halfWidth, -0.125f, panel.cellsFrom},
               {panel.halfWidth, 0.125f, panel.cellsTo}, m);
    else
        AddDoubleSidedQuad(mesh, {}, -panel.halfWidth, panel.halfWidth, panel.cellsFrom, panel.cellsTo, m);
    return Finish(panel.collisionName, std::move(mesh));
}

// Turrets: a mount that turns on the hull (its base at y = 0, up along +y)
// and a barrel that pitches about its pivot (forward +z). Types differ in
// their proportions and in their business ends.
struct TurretPaint {
    uint32_t body, dark, accent, lens;
};

TurretPaint PaintTurret(Mesh& mesh) {
    return {mesh.AddMaterial(Shiny({0.58f, 0.6f, 0.63f, 1.0f})),
            mesh.AddMaterial(Shiny({0.26f, 0.27f, 0.3f, 1.0f})),
            mesh.AddMaterial(Matte({0.95f, 0.7f, 0.1f, 1.0f}, 0.1f)),
            mesh.AddMaterial(Glow({1.0f, 0.3f, 0.35f}))};
}

// A mount's turntable about +y: radius, height and segment count.
void Turntable(Mesh& mesh, float radius, float height, int segments, uint32_t material) {
    Frame up = Frame::Oriented({0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    AddLathe(mesh, up, {{0.0f, radius}, {height * 0.7f, radius}, {height, radius * 0.85f}}, segments,
             material, 0.0f);
}

// A gun tube along +z from z0 to z1 at (x, y).
void Tube(Mesh& mesh, float x, float y, float z0, float z1, float radius, uint32_t material,
          int segments = 6) {
    AddLathe(mesh, Frame::At({x, y, 0.0f}), {{z0, radius}, {z1, radius}}, segments, material, 40.0f);
}

// Trunnion cheeks either side of the pivot.
void Cheeks(Mesh& mesh, float x, float y0, float y1, float depth, uint32_t material) {
    for (float side : {-1.0f, 1.0f})
        AddBox(mesh, {}, {side * x - 0.04f, y0, -depth}, {side * x + 0.04f, y1, depth}, material);
}

// A dark square mouth on a front face at z, facing +z.
void Mouth(Mesh& mesh, float x, float y, float z, float half, uint32_t material) {
    Vec3 a{x - half, y - half, z}, b{x + half, y - half, z}, c{x + half, y + half, z},
        d{x - half, y + half, z};
    mesh.AddTriangleFacing(a, b, c, {0.0f, 0.0f, 1.0f}, material);
    mesh.AddTriangleFacing(a, c, d, {0.0f, 0.0f, 1.0f}, material);
}

std::vector<ModelAsset> BuildTurrets() {
    std::vector<ModelAsset> models;
    auto add = [&](const char* name, Mesh mesh) { models.push_back(Finish(name, std::move(mesh))); };

    // A: twin plasma guns on a round table.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        Turntable(m, 0.4f, 0.12f, 10, p.body);
        Cheeks(m, 0.25f, 0.08f, 0.26f, 0.12f, p.dark);
        add("TURRET_AM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.21f, -0.08f, -0.2f}, {0.21f, 0.08f, 0.15f}, p.body);
        for (float x : {-0.15f, 0.15f}) Tube(b, x, 0.0f, 0.1f, 0.75f, 0.03f, p.dark);
        AddBox(b, {}, {-0.21f, 0.08f, -0.1f}, {0.21f, 0.1f, 0.05f}, p.accent);
        add("TURRET_AB", std::move(b));
    }
    // B: over-and-under plasma guns, the lower one longer, behind a shield.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        AddBox(m, {}, {-0.4f, 0.0f, -0.4f}, {0.4f, 0.1f, 0.4f}, p.body);
        AddBox(m, {}, {-0.22f, 0.1f, -0.42f}, {0.22f, 0.28f, -0.12f}, p.dark);
        Cheeks(m, 0.18f, 0.05f, 0.16f, 0.1f, p.dark);
        add("TURRET_BM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.12f, -0.07f, -0.1f}, {0.12f, 0.12f, 0.3f}, p.body);
        Tube(b, 0.0f, 0.0f, 0.2f, 1.0f, 0.035f, p.dark);
        Tube(b, 0.0f, 0.0625f, 0.2f, 0.95f, 0.025f, p.dark);
        AddBox(b, {}, {-0.13f, 0.12f, -0.05f}, {0.13f, 0.14f, 0.2f}, p.accent);
        add("TURRET_BB", std::move(b));
    }
    // C: a pedestal carrying two nine-cell missile pods.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        Turntable(m, 0.34f, 0.08f, 8, p.body);
        AddLathe(m, Frame::Oriented({0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}), {{0.05f, 0.1f}, {0.3f, 0.08f}},
                 6, p.dark, 0.0f);
        add("TURRET_CM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.06f, -0.04f, -0.08f}, {0.06f, 0.04f, 0.04f}, p.dark);
        for (float side : {-1.0f, 1.0f}) {
            float inner = 0.05f * side, outer = 0.2f * side;
            AddBox(b, {}, {std::min(inner, outer), -0.08f, -0.2f}, {std::max(inner, outer), 0.08f, 0.15f},
                   p.body);
            for (int i = 0; i < 9; ++i)
                Mouth(b, side * (0.075f + 0.05f * float(i % 3)), 0.05f - 0.05f * float(i / 3), 0.152f, 0.018f,
                      p.dark);
        }
        add("TURRET_CB", std::move(b));
    }
    // D: a rack of three missile rails on a pedestal.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        Turntable(m, 0.36f, 0.08f, 8, p.body);
        AddLathe(m, Frame::Oriented({0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}), {{0.05f, 0.12f}, {0.22f, 0.1f}},
                 6, p.dark, 0.0f);
        add("TURRET_DM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.25f, -0.06f, -0.3f}, {0.25f, 0.15f, 0.3f}, p.body);
        for (int i = 0; i < 3; ++i)
            AddBox(b, {}, {0.15f - 0.15f * float(i) - 0.012f, 0.15f, -0.2f},
                   {0.15f - 0.15f * float(i) + 0.012f, 0.2f, 0.3f}, p.dark);
        AddBox(b, {}, {-0.26f, -0.02f, 0.3f}, {0.26f, 0.1f, 0.32f}, p.accent);
        add("TURRET_DB", std::move(b));
    }
    // E: four plasma barrels in a square, from a boxy house.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        AddBox(m, {}, {-0.35f, 0.0f, -0.35f}, {0.35f, 0.14f, 0.35f}, p.body);
        Cheeks(m, 0.17f, 0.1f, 0.28f, 0.12f, p.dark);
        add("TURRET_EM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.12f, -0.12f, -0.15f}, {0.12f, 0.12f, 0.3f}, p.body);
        for (float x : {-0.05f, 0.05f})
            for (float y : {-0.05f, 0.05f}) Tube(b, x, y, 0.25f, 1.0f, 0.02f, p.dark, 4);
        AddBox(b, {}, {-0.125f, -0.02f, 0.0f}, {0.125f, 0.02f, 0.25f}, p.accent);
        add("TURRET_EB", std::move(b));
    }
    // F: a ball turret in a collar, free to look into both half-spaces.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        std::vector<Vec2> outer, inner;
        for (int i = 0; i < 8; ++i) {
            float a = 2.0f * Pi * (float(i) + 0.5f) / 8.0f;
            outer.push_back({0.36f * std::sin(a), 0.36f * std::cos(a)});
            inner.push_back({0.25f * std::sin(a), 0.25f * std::cos(a)});
        }
        AddTube(m, Frame::Oriented({0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}), outer, inner, 0.0f, 0.12f,
                p.body);
        add("TURRET_FM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddSphere(b, {}, 0.22f, 8, 5, p.body);
        for (float x : {-0.2f, 0.2f}) {
            Tube(b, x, 0.0f, -0.05f, 0.5f, 0.025f, p.dark, 5);
            AddBox(b, {}, {std::min(x * 0.6f, x), -0.03f, -0.04f}, {std::max(x * 0.6f, x), 0.03f, 0.08f},
                   p.dark);
        }
        add("TURRET_FB", std::move(b));
    }
    // G: a barrage gun in a low house; its recoil slide is a part of its own.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        AddBox(m, {}, {-0.35f, 0.0f, -0.42f}, {0.35f, 0.2f, 0.3f}, p.body);
        Cheeks(m, 0.2f, 0.15f, 0.3f, 0.1f, p.dark);
        AddBox(m, {}, {-0.36f, 0.12f, -0.43f}, {0.36f, 0.16f, -0.3f}, p.accent);
        add("TURRET_GM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.1f, -0.1f, -0.25f}, {0.1f, 0.1f, 0.1f}, p.body);
        Tube(b, 0.0f, 0.0f, 0.1f, 0.8f, 0.045f, p.dark, 8);
        AddLathe(b, {}, {{0.8f, 0.055f}, {0.875f, 0.055f}}, 8, p.dark, 0.0f);
        add("TURRET_GB", std::move(b));
        Mesh s;
        p = PaintTurret(s);
        AddBox(s, {}, {-0.11f, -0.11f, -0.22f}, {0.11f, 0.11f, 0.22f}, p.body);
        AddBox(s, {}, {-0.115f, -0.04f, -0.15f}, {0.115f, 0.04f, 0.15f}, p.accent);
        add("TURRET_GS", std::move(s));
    }
    // H: a laser projector with a glowing lens.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        Turntable(m, 0.38f, 0.12f, 10, p.body);
        Cheeks(m, 0.2f, 0.08f, 0.26f, 0.1f, p.dark);
        add("TURRET_HM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddLathe(b, {}, {{-0.22f, 0.08f}, {-0.2f, 0.12f}, {0.12f, 0.12f}, {0.22f, 0.07f}, {0.345f, 0.07f}}, 8,
                 p.body, 30.0f);
        std::vector<Vec3> lens = Ring(0.35f, 0.055f, 0.055f, 8);
        for (size_t i = 1; i + 1 < lens.size(); ++i)
            b.AddTriangleFacing(lens[0], lens[i], lens[i + 1], {0.0f, 0.0f, 1.0f}, p.lens);
        AddBox(b, {}, {-0.125f, -0.03f, -0.1f}, {0.125f, 0.03f, 0.08f}, p.accent);
        add("TURRET_HB", std::move(b));
    }
    // I: twin plasma guns raised on a tall yoke, so they can dip below the
    // hull's horizon.
    {
        Mesh m;
        TurretPaint p = PaintTurret(m);
        AddBox(m, {}, {-0.3f, 0.0f, -0.3f}, {0.3f, 0.08f, 0.3f}, p.body);
        AddBox(m, {}, {-0.15f, 0.08f, -0.15f}, {0.15f, 0.14f, 0.15f}, p.dark);
        Cheeks(m, 0.18f, 0.1f, 0.3f, 0.1f, p.body);
        add("TURRET_IM", std::move(m));
        Mesh b;
        p = PaintTurret(b);
        AddBox(b, {}, {-0.13f, -0.07f, -0.15f}, {0.13f, 0.07f, 0.2f}, p.body);
        for (float x : {-0.075f, 0.075f}) Tube(b, x, 0.0f, 0.15f, 0.5f, 0.025f, p.dark);
        add("TURRET_IB", std::move(b));
    }
    return models;
}

} // namespace

std::vector<ModelAsset> BuildPanelModels() {
    std::vector<ModelAsset> models;
    for (const PanelShape& panel : Panels) models.push_back(BuildPanel(panel));
    for (const PanelShape& panel : Panels) models.push_back(BuildPanelTwin(panel));
    return models;
}

std::vector<ModelAsset> BuildTurretModels() {
    // The game names mounts TURRET_AM .. IM, then barrels AB .. IB, then GS.
    std::vector<ModelAsset> built = BuildTurrets();
    std::vector<ModelAsset> ordered;
    for (const char* suffix : {"M", "B", "S"})
        for (ModelAsset& model : built)
            if (model.name.size() == 9 && model.name.substr(8) == suffix) ordered.push_back(std::move(model));
    return ordered;
}

} // namespace assetgen
