#include "assetgen/Countries.h"
#include "assetgen/ModelKit.h"
#include "game/types/FighterType.h"

#include <cmath>

namespace assetgen {

namespace {

// One cross-section of a fuselage: an ellipse rx by ry about (0, y) at z.
struct Section {
    float z;
    float y;
    float rx;
    float ry;
};

// A wing or fin edge: the chord from zFront to zBack at (x, y), `thick` deep.
struct Chord {
    float x;
    float y;
    float zFront;
    float zBack;
    float thick;
};

// Builds one fighter: its paints and the parts every design is made of.
class FighterKit {
public:
    explicit FighterKit(int type) : type(type) {
        const CountryStyle& style = Country(type);
        hull = mesh.AddMaterial(Shiny(style.hull));
        second = mesh.AddMaterial(Shiny(style.second));
        marking = mesh.AddMaterial(Matte(style.marking, 0.15f));
        metal = mesh.AddMaterial(Shiny({0.32f, 0.33f, 0.36f, 1.0f}));
        glass = mesh.AddMaterial(Shiny({0.15f, 0.35f, 0.55f, 1.0f}, 0.2f));
        glow = mesh.AddMaterial(Glow(style.trail));
        dark = mesh.AddMaterial(Matte({0.05f, 0.05f, 0.06f, 1.0f}));
    }

    Mesh mesh;
    int type;
    uint32_t hull, second, marking, metal, glass, glow, dark;

    // A fuselage through elliptic sections, front to back or back to front;
    // a section with zero radii closes it to a point.
    void Body(std::initializer_list<Section> sections, int segments, uint32_t material,
              float crease = 35.0f) {
        std::vector<std::vector<Vec3>> rings;
        for (const Section& s : sections) {
            std::vector<Vec3> ring = Ring(s.z, s.rx, s.ry, segments, Pi / float(segments));
            for (Vec3& p : ring) p.y += s.y;
            rings.push_back(ring);
        }
        AddLoft(mesh, {}, rings, material, crease);
    }

    // A body of revolution along z at (x, y), elliptic, from zBack to zFront,
    // closed by flat ends; on both sides when mirrored.
    void Pod(float x, float y, float zBack, float zFront, float rx, float ry, uint32_t material,
             bool mirrored, int segments = 6) {
        for (float side : Sides(mirrored)) {
            std::vector<Vec3> back = Ring(zBack, rx, ry, segments, Pi / float(segments));
            std::vector<Vec3> front = Ring(zFront, rx, ry, segments, Pi / float(segments));
            for (Vec3& p : back) p = {p.x + x * side, p.y + y, p.z};
            for (Vec3& p : front) p = {p.x + x * side, p.y + y, p.z};
            AddLoft(mesh, {}, {back, front}, material, 50.0f);
        }
    }

    // A flat tapered plate between a root chord and a tip chord: wings lie in
    // x, fins stand in y (the chord's x and y swap roles).
    void Wing(Chord root, Chord tip, uint32_t material, bool mirrored = true) {
        for (float side : Sides(mirrored)) {
            std::vector<Vec3> points;
            for (const Chord& c : {root, tip})
                for (float dy : {-0.5f, 0.5f}) {
                    points.push_back({c.x * side, c.y + dy * c.thick, c.zFront});
                    points.push_back({c.x * side, c.y + dy * c.thick, c.zBack});
                }
            AddHull(mesh, points, material);
        }
    }
    void Fin(Chord root, Chord tip, uint32_t material, bool mirrored = false) {
        for (float side : Sides(mirrored)) {
            std::vector<Vec3> points;
            for (const Chord& c : {root, tip})
                for (float dx : {-0.5f, 0.5f}) {
                    points.push_back({(c.x + dx * c.thick) * side, c.y, c.zFront});
                    points.push_back({(c.x + dx * c.thick) * side, c.y, c.zBack});
                }
            AddHull(mesh, points, material);
        }
    }

    void Box(Vec3 lo, Vec3 hi, uint32_t material, bool mirrored) {
        for (float side : Sides(mirrored)) {
            Vec3 a{lo.x * side, lo.y, lo.z}, b{hi.x * side, hi.y, hi.z};
            AddBox(mesh, {}, {std::min(a.x, b.x), lo.y, lo.z}, {std::max(a.x, b.x), hi.y, hi.z}, material);
        }
    }

    void Hull(std::vector<Vec3> points, uint32_t material, bool mirrored) {
        for (float side : Sides(mirrored)) {
            std::vector<Vec3> placed;
            for (Vec3 p : points) placed.push_back({p.x * side, p.y, p.z});
            AddHull(mesh, placed, material);
        }
    }

    // The cockpit glazing: a half-sunk ellipsoid.
    void Canopy(float y, float z, float width, float height, float length) {
        Frame place = Frame::Scale(width, height, length) * Frame::At({0.0f, y, z});
        AddSphere(mesh, place, 0.5f, 6, 3, glass);
    }

    // Nozzles, barrels and rails where the game's type table starts trails,
    // puffs, bolts and missiles.
    void Outlets() {
        const FighterType& t = FighterTypes()[size_t(type)];
        for (int i = 0; i < t.engineCount; ++i) Nozzle(t.engines[size_t(i)], -1.0f);
        for (int i = 0; i < t.retroCount; ++i) Nozzle(t.retros[size_t(i)], 1.0f);
        Vec3 muzzle = FromTable(t.muzzle);
        for (float side : {1.0f, -1.0f}) Barrel({muzzle.x * side, muzzle.y, muzzle.z});
        // Missiles leave along forward tilted by launchTilt x up.
        Vec3 direction{0.0f, t.launchTilt, 1.0f};
        Vec3 launcher = FromTable(t.launcherAt);
        Rail(launcher, direction);
        if (t.launcherMode != LauncherMode::Single) Rail({-launcher.x, launcher.y, launcher.z}, direction);
    }

    ModelAsset Done() { return Finish("FIGHTER_" + TwoDigits(type + 1), std::move(mesh)); }

    // How far a gun barrel reaches back from its muzzle into its mount.
    float barrelLength = 0.22f;

private:
    static std::vector<float> Sides(bool mirrored) {
        return mirrored ? std::vector<float>{1.0f, -1.0f} : std::vector<float>{1.0f};
    }

    // A short metal sleeve whose mouth lies on the outlet, facing `facing`
    // along z, closed at the mouth by the engine's glow (or a retro's dark
    // throat). Its inner end is buried in the craft and left open.
    void Nozzle(const TrailMount& outlet, float facing) {
        bool engine = facing < 0.0f;
        float radius = outlet.width * (engine ? 0.55f : 0.45f);
        float length = outlet.width * (engine ? 1.1f : 0.8f);
        Vec3 p = FromTable(outlet.at);
        std::vector<Vec3> mouth = Ring(0.0f, radius, radius, 5);
        std::vector<Vec3> inner = Ring(0.0f, radius * 0.85f, radius * 0.85f, 5);
        for (Vec3& q : mouth) q = p + q;
        for (Vec3& q : inner) q = p + q + Vec3{0.0f, 0.0f, -facing * length};
        for (size_t i = 0; i < mouth.size(); ++i) {
            size_t j = (i + 1) % mouth.size();
            Vec3 outward = (mouth[i] + mouth[j]) * 0.5f - p;
            outward.z = 0.0f;
            mesh.AddTriangleFacing(mouth[i], mouth[j], inner[j], outward, metal);
            mesh.AddTriangleFacing(mouth[i], inner[j], inner[i], outward, metal);
        }
        Vec3 out{0.0f, 0.0f, facing};
        for (size_t i = 1; i + 1 < mouth.size(); ++i)
            mesh.AddTriangleFacing(mouth[0], mouth[i], mouth[i + 1], out, engine ? glow : dark);
    }

    void Barrel(Vec3 muzzle) {
        AddLathe(mesh, Frame::At(muzzle), {{-barrelLength, 0.015f}, {0.0f, 0.015f}}, 4, metal, 0.0f, 1.0f,
                 1.0f, Pi / 4.0f);
    }

    // A launch rail just above where the missile's centre starts; a rail
    // tilted away from the craft hangs from a pylon at its back end.
    void Rail(Vec3 at, Vec3 direction) {
        Frame place = Frame::Oriented(direction, {0.0f, 1.0f, 0.0f}, at);
        AddBox(mesh, place, {-0.012f, 0.042f, -0.2f}, {0.012f, 0.062f, 0.18f}, metal);
        if (std::fabs(Normalize(direction).y) > 0.01f)
            AddBox(mesh, place, {-0.008f, 0.06f, -0.19f}, {0.008f, 0.11f, -0.04f}, metal);
    }
};

// 01: a white swept-wing craft with an engine pod at each wing and a dorsal
// retro spine; red markings, twin chin guns.
ModelAsset Fighter01() {
    FighterKit k(0);
    k.Body({{-0.7f, -0.05f, 0.06f, 0.06f},
            {-0.55f, -0.04f, 0.085f, 0.08f},
            {-0.15f, -0.02f, 0.1f, 0.1f},
            {0.25f, -0.02f, 0.085f, 0.085f},
            {0.6f, -0.05f, 0.04f, 0.04f},
            {0.75f, -0.06f, 0.0f, 0.0f}},
           8, k.hull);
    k.Canopy(0.04f, 0.28f, 0.1f, 0.1f, 0.26f);
    k.Pod(0.0f, 0.175f, -0.38f, -0.02f, 0.042f, 0.038f, k.hull, false);
    k.Fin({0.0f, 0.06f, -0.02f, -0.35f, 0.03f}, {0.0f, 0.16f, -0.05f, -0.35f, 0.03f}, k.hull);
    k.Pod(0.335f, -0.05f, -0.42f, 0.0f, 0.085f, 0.06f, k.hull, true);
    k.Wing({0.08f, -0.05f, 0.15f, -0.35f, 0.035f}, {0.62f, -0.03f, -0.3f, -0.48f, 0.015f}, k.hull);
    k.Wing({0.06f, -0.04f, 0.45f, 0.32f, 0.02f}, {0.24f, -0.04f, 0.33f, 0.27f, 0.01f}, k.marking);
    k.Fin({0.0f, 0.03f, -0.42f, -0.72f, 0.025f}, {0.0f, 0.24f, -0.62f, -0.75f, 0.015f}, k.hull);
    k.Fin({0.0f, 0.16f, -0.6f, -0.73f, 0.028f}, {0.0f, 0.24f, -0.62f, -0.75f, 0.018f}, k.marking);
    k.Box({0.11f, -0.14f, 0.1f}, {0.19f, -0.075f, 0.36f}, k.second, true);
    k.barrelLength = 0.2f;
    k.Outlets();
    return k.Done();
}

// 02: a broad blue flying wing with engine pods on its tips, retro vents in
// its leading edge and guns in the wing roots.
ModelAsset Fighter02() {
    FighterKit k(1);
    k.Body({{0.75f, -0.01f, 0.0f, 0.0f},
            {0.45f, 0.0f, 0.12f, 0.065f},
            {0.0f, 0.0f, 0.2f, 0.09f},
            {-0.3f, -0.01f, 0.17f, 0.06f},
            {-0.55f, -0.025f, 0.07f, 0.045f}},
           8, k.hull);
    k.Canopy(0.06f, 0.3f, 0.1f, 0.09f, 0.24f);
    // The dorsal engine's hump ends where its nozzle opens.
    k.Pod(0.0f, 0.07f, -0.3f, 0.05f, 0.055f, 0.045f, k.hull, false);
    k.Wing({0.12f, -0.02f, 0.3f, -0.72f, 0.05f}, {0.72f, -0.025f, -0.12f, -0.28f, 0.02f}, k.second);
    k.Wing({0.55f, -0.024f, 0.0f, -0.33f, 0.024f}, {0.72f, -0.025f, -0.12f, -0.28f, 0.022f}, k.marking);
    k.Pod(0.725f, -0.025f, -0.27f, -0.12f, 0.045f, 0.04f, k.hull, true);
    k.Fin({0.725f, -0.06f, -0.12f, -0.28f, 0.015f}, {0.725f, 0.17f, -0.22f, -0.3f, 0.01f}, k.marking, true);
    k.barrelLength = 0.16f;
    k.Outlets();
    return k.Done();
}

// 03: a navy biplane: an upper wing on struts carrying two nacelles, a lower
// wing carrying two more and the missile rails.
ModelAsset Fighter03() {
    FighterKit k(2);
    k.Body({{0.75f, -0.03f, 0.0f, 0.0f},
            {0.5f, -0.01f, 0.05f, 0.06f},
            {0.1f, 0.01f, 0.08f, 0.09f},
            {-0.4f, 0.02f, 0.07f, 0.07f},
            {-0.75f, 0.03f, 0.025f, 0.035f}},
           6, k.hull);
    k.Canopy(0.08f, 0.2f, 0.09f, 0.09f, 0.22f);
    k.Wing({0.0f, 0.14f, 0.24f, -0.12f, 0.025f}, {0.46f, 0.14f, 0.18f, -0.08f, 0.015f}, k.second);
    k.Wing({0.06f, -0.11f, 0.1f, -0.32f, 0.02f}, {0.52f, -0.11f, 0.05f, -0.2f, 0.015f}, k.second);
    // Chin strakes carry the guns.
    k.Wing({0.05f, -0.1f, 0.42f, 0.1f, 0.02f}, {0.17f, -0.1f, 0.4f, 0.15f, 0.02f}, k.hull);
    k.Pod(0.24f, 0.14f, -0.2f, 0.3f, 0.045f, 0.045f, k.hull, true, 5);
    k.Pod(0.34f, -0.09f, -0.4f, 0.1f, 0.045f, 0.045f, k.hull, true, 5);
    k.Fin({0.42f, -0.1f, 0.12f, 0.0f, 0.015f}, {0.42f, 0.135f, 0.14f, 0.02f, 0.015f}, k.metal, true);
    k.Fin({0.0f, 0.05f, -0.5f, -0.72f, 0.02f}, {0.0f, 0.24f, -0.65f, -0.75f, 0.012f}, k.marking);
    k.barrelLength = 0.25f;
    k.Outlets();
    return k.Done();
}

// 04: a pale delta with a tall tricolour fin, an engine on its spine and two
// in nacelles under the wing.
ModelAsset Fighter04() {
    FighterKit k(3);
    k.Body({{0.75f, -0.05f, 0.0f, 0.0f},
            {0.45f, -0.05f, 0.05f, 0.05f},
            {0.1f, -0.02f, 0.085f, 0.08f},
            {-0.3f, 0.0f, 0.1f, 0.1f},
            {-0.55f, 0.05f, 0.08f, 0.1f}},
           8, k.hull);
    k.Canopy(0.01f, 0.28f, 0.09f, 0.1f, 0.24f);
    k.Wing({0.07f, 0.0f, 0.35f, -0.62f, 0.04f}, {0.55f, -0.01f, -0.48f, -0.62f, 0.015f}, k.hull);
    k.Pod(0.25f, -0.05f, -0.55f, 0.0f, 0.055f, 0.05f, k.second, true);
    k.Fin({0.0f, 0.05f, -0.15f, -0.5f, 0.025f}, {0.0f, 0.3f, -0.5f, -0.72f, 0.015f}, k.second);
    k.Fin({0.0f, 0.19f, -0.35f, -0.63f, 0.027f}, {0.0f, 0.3f, -0.5f, -0.72f, 0.017f}, k.marking);
    // Short guns either side of the missile, clear of its tail fins.
    k.Box({0.036f, -0.14f, 0.29f}, {0.075f, -0.09f, 0.36f}, k.metal, true);
    k.barrelLength = 0.11f;
    k.Outlets();
    return k.Done();
}

// 05: dark grey, with a tall nacelle on each side holding two engines one
// above the other, forward-swept wings and guns on the wing roots.
ModelAsset Fighter05() {
    FighterKit k(4);
    k.Body({{0.75f, 0.0f, 0.0f, 0.0f},
            {0.5f, 0.0f, 0.06f, 0.06f},
            {0.1f, 0.0f, 0.09f, 0.08f},
            {-0.3f, 0.0f, 0.07f, 0.06f},
            {-0.55f, 0.0f, 0.03f, 0.03f}},
           6, k.hull);
    k.Canopy(0.05f, 0.3f, 0.09f, 0.08f, 0.22f);
    k.Pod(0.3f, 0.0f, -0.45f, 0.2f, 0.08f, 0.14f, k.second, true);
    k.Pod(0.28f, 0.075f, -0.55f, -0.4f, 0.045f, 0.045f, k.second, true, 5);
    k.Wing({0.08f, 0.0f, 0.05f, -0.3f, 0.035f}, {0.3f, 0.0f, 0.05f, -0.3f, 0.035f}, k.hull);
    k.Wing({0.3f, 0.0f, 0.05f, -0.25f, 0.03f}, {0.75f, 0.0f, 0.25f, 0.1f, 0.015f}, k.hull);
    k.Fin({0.3f, 0.13f, -0.3f, -0.6f, 0.02f}, {0.3f, 0.24f, -0.5f, -0.72f, 0.012f}, k.marking, true);
    k.Box({0.14f, 0.02f, -0.05f}, {0.21f, 0.09f, 0.1f}, k.metal, true);
    k.barrelLength = 0.25f;
    k.Outlets();
    return k.Done();
}

// 06: a slender green racer with canards at its nose, its wings swept back
// to engine pods at the very tail, each pod with a fin.
ModelAsset Fighter06() {
    FighterKit k(5);
    k.Body({{0.75f, -0.02f, 0.0f, 0.0f},
            {0.55f, -0.01f, 0.04f, 0.04f},
            {0.2f, 0.0f, 0.07f, 0.08f},
            {-0.2f, -0.03f, 0.08f, 0.08f},
            {-0.5f, -0.08f, 0.065f, 0.065f}},
           8, k.hull);
    k.Canopy(0.06f, 0.2f, 0.08f, 0.08f, 0.24f);
    k.Wing({0.06f, -0.04f, -0.05f, -0.5f, 0.03f}, {0.4f, -0.025f, -0.35f, -0.62f, 0.015f}, k.second);
    k.Pod(0.4f, -0.025f, -0.7f, -0.25f, 0.045f, 0.045f, k.hull, true);
    k.Fin({0.4f, 0.0f, -0.42f, -0.68f, 0.015f}, {0.4f, 0.17f, -0.58f, -0.72f, 0.01f}, k.marking, true);
    k.Wing({0.04f, 0.0f, 0.5f, 0.4f, 0.015f}, {0.2f, 0.0f, 0.42f, 0.38f, 0.01f}, k.marking);
    // Gun pods on short stubs, and a keel pylon for the missile.
    k.Pod(0.21f, -0.075f, -0.15f, 0.08f, 0.035f, 0.035f, k.hull, true);
    k.Wing({0.05f, -0.06f, 0.05f, -0.1f, 0.02f}, {0.2f, -0.07f, 0.05f, -0.1f, 0.02f}, k.hull);
    k.Box({-0.01f, -0.18f, -0.15f}, {0.01f, -0.09f, 0.12f}, k.metal, false);
    k.barrelLength = 0.2f;
    k.Outlets();
    return k.Done();
}

// 07: a heavy grey craft with twin tail booms and two big fins behind its
// three engines, guns under a long nose.
ModelAsset Fighter07() {
    FighterKit k(6);
    k.Body({{0.75f, -0.05f, 0.0f, 0.0f},
            {0.45f, -0.05f, 0.07f, 0.07f},
            {0.1f, -0.02f, 0.12f, 0.1f},
            {-0.25f, 0.0f, 0.15f, 0.09f},
            {-0.36f, 0.0f, 0.12f, 0.07f}},
           8, k.hull);
    k.Canopy(0.06f, 0.3f, 0.09f, 0.09f, 0.24f);
    k.Pod(0.275f, -0.025f, -0.36f, 0.13f, 0.075f, 0.06f, k.second, true);
    k.Wing({0.14f, -0.02f, 0.15f, -0.35f, 0.035f}, {0.55f, -0.02f, -0.25f, -0.42f, 0.015f}, k.hull);
    k.Pod(0.3f, 0.06f, -0.75f, -0.2f, 0.03f, 0.03f, k.hull, true, 6);
    k.Fin({0.3f, 0.08f, -0.48f, -0.75f, 0.02f}, {0.34f, 0.26f, -0.62f, -0.75f, 0.012f}, k.second, true);
    k.Fin({0.315f, 0.17f, -0.55f, -0.75f, 0.022f}, {0.34f, 0.26f, -0.62f, -0.75f, 0.014f}, k.marking, true);
    k.Wing({0.0f, 0.06f, -0.62f, -0.72f, 0.015f}, {0.42f, 0.06f, -0.64f, -0.72f, 0.012f}, k.hull);
    k.Box({0.04f, -0.13f, 0.22f}, {0.1f, -0.07f, 0.42f}, k.metal, true);
    k.barrelLength = 0.25f;
    k.Outlets();
    return k.Done();
}

// 08: a red cruciform dart: four fins in a cross carry its four engines,
// with strakes for the guns and a keel pylon for the missile.
ModelAsset Fighter08() {
    FighterKit k(7);
    k.Body({{0.75f, 0.0f, 0.0f, 0.0f},
            {0.45f, 0.0f, 0.06f, 0.06f},
            {0.0f, 0.0f, 0.085f, 0.085f},
            {-0.45f, 0.0f, 0.08f, 0.08f},
            {-0.5f, 0.0f, 0.06f, 0.06f}},
           8, k.hull);
    k.Canopy(0.06f, 0.25f, 0.08f, 0.08f, 0.22f);
    k.Pod(0.0f, 0.1f, -0.5f, -0.2f, 0.04f, 0.04f, k.second, false, 6);
    k.Pod(0.0f, -0.1f, -0.5f, -0.2f, 0.04f, 0.04f, k.second, false, 6);
    k.Pod(0.27f, -0.02f, -0.5f, 0.075f, 0.06f, 0.05f, k.second, true);
    k.Wing({0.06f, 0.0f, 0.1f, -0.4f, 0.03f}, {0.58f, 0.0f, -0.42f, -0.62f, 0.012f}, k.hull);
    // The upper and lower fins ride on their engines, clear of the exhaust.
    k.Fin({0.0f, 0.135f, -0.2f, -0.6f, 0.03f}, {0.0f, 0.26f, -0.5f, -0.7f, 0.012f}, k.hull);
    k.Fin({0.0f, -0.135f, -0.2f, -0.6f, 0.03f}, {0.0f, -0.26f, -0.5f, -0.7f, 0.012f}, k.hull);
    k.Fin({0.0f, 0.2f, -0.45f, -0.66f, 0.032f}, {0.0f, 0.26f, -0.5f, -0.7f, 0.014f}, k.marking);
    k.Fin({0.0f, -0.2f, -0.45f, -0.66f, 0.032f}, {0.0f, -0.26f, -0.5f, -0.7f, 0.014f}, k.marking);
    k.Wing({0.06f, -0.06f, 0.45f, 0.1f, 0.02f}, {0.21f, -0.07f, 0.3f, 0.12f, 0.015f}, k.hull);
    k.Box({-0.01f, -0.185f, 0.05f}, {0.01f, -0.07f, 0.5f}, k.metal, false);
    k.barrelLength = 0.2f;
    k.Outlets();
    return k.Done();
}

// 09: a white boomerang: a short body between two engines, its wing bent
// back to trailing tips, with missile tubes set into the wing.
ModelAsset Fighter09() {
    FighterKit k(8);
    k.Body({{0.75f, 0.0f, 0.0f, 0.0f},
            {0.45f, 0.01f, 0.05f, 0.05f},
            {0.1f, 0.03f, 0.07f, 0.07f},
            {-0.3f, 0.06f, 0.05f, 0.05f}},
           8, k.hull);
    k.Canopy(0.08f, 0.15f, 0.08f, 0.08f, 0.2f);
    k.Pod(0.11f, -0.015f, -0.32f, 0.0f, 0.055f, 0.06f, k.second, true);
    // Inner and outer wing meet at the missile tube, which they leave clear.
    k.Wing({0.12f, -0.02f, -0.02f, -0.3f, 0.03f}, {0.19f, -0.02f, -0.08f, -0.36f, 0.027f}, k.hull);
    k.Wing({0.31f, -0.02f, -0.2f, -0.5f, 0.024f}, {0.5f, -0.02f, -0.55f, -0.75f, 0.012f}, k.hull);
    k.Wing({0.42f, -0.02f, -0.4f, -0.65f, 0.014f}, {0.5f, -0.02f, -0.55f, -0.75f, 0.013f}, k.marking);
    k.Pod(0.25f, 0.0f, -0.57f, -0.04f, 0.07f, 0.07f, k.second, true, 8);
    k.Fin({0.11f, 0.04f, -0.12f, -0.32f, 0.015f}, {0.16f, 0.2f, -0.25f, -0.35f, 0.01f}, k.marking, true);
    // Gun plates under the engines' lips.
    k.Wing({0.06f, -0.085f, 0.3f, -0.1f, 0.012f}, {0.16f, -0.085f, 0.25f, -0.05f, 0.012f}, k.hull);
    k.barrelLength = 0.2f;
    k.Outlets();
    return k.Done();
}

// 10: navy with a gold-edged ring wing round its tail, a humped back for its
// upper engines and a spine of retro thrusters.
ModelAsset Fighter10() {
    FighterKit k(9);
    k.Body({{0.75f, -0.05f, 0.0f, 0.0f},
            {0.5f, -0.04f, 0.06f, 0.07f},
            {0.15f, 0.0f, 0.1f, 0.11f},
            {-0.2f, 0.0f, 0.1f, 0.11f},
            {-0.33f, -0.05f, 0.06f, 0.06f}},
           6, k.hull);
    k.Canopy(0.08f, 0.3f, 0.09f, 0.09f, 0.2f);
    // The hump: engines open at its back, retros at its front.
    k.Hull({{0.0f, 0.05f, -0.2f},
            {0.17f, 0.05f, -0.2f},
            {0.0f, 0.16f, -0.2f},
            {0.14f, 0.16f, -0.2f},
            {0.0f, 0.05f, 0.15f},
            {0.17f, 0.05f, 0.15f},
            {0.0f, 0.16f, 0.15f},
            {0.14f, 0.16f, 0.15f}},
           k.second, true);
    k.Pod(0.0f, 0.125f, 0.1f, 0.4f, 0.035f, 0.035f, k.second, false, 6);
    // The ring: an ellipse twice as wide as it is tall, on four swept struts.
    std::vector<std::vector<Vec3>> rings;
    for (int i = 0; i < 12; ++i) {
        float a = 2.0f * Pi * float(i) / 12.0f;
        Vec3 c{0.45f * std::sin(a), 0.22f * std::cos(a), 0.0f};
        Vec3 out = Normalize({std::sin(a) / 0.45f, std::cos(a) / 0.22f, 0.0f});
        rings.push_back({c + out * 0.012f + Vec3{0, 0, -0.58f}, c + out * 0.012f + Vec3{0, 0, -0.75f},
                         c - out * 0.012f + Vec3{0, 0, -0.75f}, c - out * 0.012f + Vec3{0, 0, -0.58f}});
    }
    AddLoft(k.mesh, {}, rings, k.marking, 50.0f, true);
    for (float sy : {1.0f, -1.0f})
        k.Hull({{0.04f, 0.04f * sy, -0.2f},
                {0.06f, 0.06f * sy, -0.33f},
                {0.3f, 0.15f * sy, -0.6f},
                {0.3f, 0.15f * sy, -0.7f},
                {0.31f, 0.16f * sy, -0.6f},
                {0.05f, 0.07f * sy, -0.2f}},
               k.hull, true);
    k.Pod(0.1f, -0.11f, 0.28f, 0.48f, 0.03f, 0.03f, k.hull, true, 6);
    k.barrelLength = 0.2f;
    k.Outlets();
    return k.Done();
}

// 11: white with a red kite-shaped wing, widest in the middle, four engines
// under and over it, a tail boom with one fin.
ModelAsset Fighter11() {
    FighterKit k(10);
    k.Body({{0.75f, 0.02f, 0.0f, 0.0f},
            {0.45f, 0.02f, 0.06f, 0.06f},
            {0.1f, 0.03f, 0.09f, 0.08f},
            {-0.3f, 0.0f, 0.08f, 0.07f},
            {-0.75f, 0.02f, 0.03f, 0.03f}},
           6, k.hull);
    k.Canopy(0.07f, 0.3f, 0.09f, 0.09f, 0.22f);
    k.Hull({{0.0f, 0.03f, -0.1f},
            {0.0f, -0.05f, -0.1f},
            {0.58f, -0.012f, -0.1f},
            {0.58f, -0.028f, -0.1f},
            {0.0f, -0.01f, 0.45f},
            {0.0f, -0.03f, 0.45f},
            {0.0f, -0.01f, -0.45f},
            {0.0f, -0.03f, -0.45f}},
           k.second, true);
    k.Pod(0.325f, -0.05f, -0.3f, 0.15f, 0.05f, 0.045f, k.hull, true);
    k.Pod(0.2f, -0.025f, -0.4f, -0.15f, 0.04f, 0.04f, k.hull, true, 5);
    k.Pod(0.25f, 0.05f, -0.05f, 0.15f, 0.035f, 0.035f, k.hull, true, 5);
    k.Fin({0.0f, 0.03f, -0.4f, -0.74f, 0.02f}, {0.0f, 0.22f, -0.6f, -0.75f, 0.012f}, k.second);
    k.Box({0.21f, -0.11f, -0.02f}, {0.24f, -0.04f, 0.06f}, k.metal, true);
    k.barrelLength = 0.17f;
    k.Outlets();
    return k.Done();
}

// 12: a round white saucer pierced by three blue engine tubes, a nose boom
// ahead and a small cross tail behind.
ModelAsset Fighter12() {
    FighterKit k(11);
    Frame disc = Frame::Oriented({0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.075f});
    AddLathe(k.mesh, disc,
             {{-0.05f, 0.0f}, {-0.03f, 0.3f}, {0.0f, 0.38f}, {0.03f, 0.3f}, {0.06f, 0.12f}, {0.07f, 0.0f}},
             10, k.hull, 40.0f);
    k.Pod(0.0f, 0.075f, -0.275f, 0.425f, 0.04f, 0.04f, k.second, false);
    k.Pod(0.175f, -0.025f, -0.275f, 0.425f, 0.04f, 0.04f, k.second, true);
    k.Body({{0.75f, 0.0f, 0.0f, 0.0f}, {0.6f, 0.0f, 0.04f, 0.04f}, {0.35f, 0.0f, 0.06f, 0.05f}}, 6, k.hull);
    k.Canopy(0.05f, 0.2f, 0.12f, 0.1f, 0.2f);
    k.Body({{-0.2f, 0.0f, 0.05f, 0.04f}, {-0.75f, 0.03f, 0.02f, 0.02f}}, 6, k.hull);
    k.Fin({0.0f, 0.0f, -0.55f, -0.74f, 0.015f}, {0.0f, -0.18f, -0.68f, -0.75f, 0.01f}, k.marking);
    k.Wing({0.0f, 0.03f, -0.58f, -0.74f, 0.012f}, {0.22f, 0.03f, -0.7f, -0.75f, 0.008f}, k.marking);
    k.Box({0.08f, -0.08f, 0.15f}, {0.12f, -0.03f, 0.38f}, k.metal, true);
    k.Box({-0.012f, -0.135f, -0.05f}, {0.012f, -0.04f, 0.3f}, k.metal, false);
    k.barrelLength = 0.2f;
    k.Outlets();
    return k.Done();
}

using Builder = ModelAsset (*)();
constexpr Builder Builders[] = {Fighter01, Fighter02, Fighter03, Fighter04, Fighter05, Fighter06,
                                Fighter07, Fighter08, Fighter09, Fighter10, Fighter11, Fighter12};
static_assert(std::size(Builders) == CountryCount, "a model for every fighter type");

} // namespace

std::vector<ModelAsset> BuildFighterModels() {
    std::vector<ModelAsset> models;
    for (Builder build : Builders) models.push_back(build());
    return models;
}

} // namespace assetgen
