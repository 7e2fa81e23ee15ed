#include "assetgen/Countries.h"
#include "assetgen/Lettering.h"
#include "assetgen/ModelKit.h"

#include <cmath>

namespace assetgen {

namespace {

// The loading screen places piece i at x = (i - 3) * 4.5, y = 3 (pieces 0..6)
// or x = (i - 8) * 6.5, y = -3 (pieces 7..9), scaled 0.1 and turned to face
// backwards (model x and z reversed), and looks at them from below and
// behind, from (0, -10, -30). So each row is a flat plate seen from beneath:
// in world units on the plate, +x is right on the screen and -z is up.
// The picture is laid out in those plate units and cut into the pieces.
constexpr float TopSlot = 4.5f, BottomSlot = 6.5f;
// Seen at these angles a plate's depth shows about this much of its height,
// so the picture is drawn stretched in depth by the inverse.
constexpr float TopForeshortening = 0.4f;
// Plate thickness in model units, and the deepest a piece may be.
constexpr float Thickness = 4.0f;
constexpr float MaxDepth = 60.0f;

float PieceX(int piece) {
    return piece < 7 ? float(piece - 3) * TopSlot : float(piece - 8) * BottomSlot;
}

// Keeps the part of a convex outline between x0 and x1.
std::vector<Vec2> ClipBand(const std::vector<Vec2>& polygon, float x0, float x1) {
    auto clip = [](const std::vector<Vec2>& in, float limit, float sign) {
        std::vector<Vec2> out;
        for (size_t i = 0; i < in.size(); ++i) {
            Vec2 a = in[i], b = in[(i + 1) % in.size()];
            bool aIn = (a.u - limit) * sign >= 0.0f, bIn = (b.u - limit) * sign >= 0.0f;
            if (aIn) out.push_back(a);
            if (aIn != bIn) {
                float t = (limit - a.u) / (b.u - a.u);
                out.push_back({limit, a.v + (b.v - a.v) * t});
            }
        }
        return out;
    };
    return clip(clip(polygon, x0, 1.0f), x1, -1.0f);
}

float Area(const std::vector<Vec2>& polygon) {
    float area = 0.0f;
    for (size_t i = 0; i < polygon.size(); ++i) {
        Vec2 a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        area += a.u * b.v - b.u * a.v;
    }
    return std::fabs(area) * 0.5f;
}

// Turns an outline in plate units (x across, z in depth) into the model
// units of the piece centred at pieceX, and extrudes it.
void AddPlate(Mesh& mesh, const std::vector<Vec2>& plate, float pieceX, uint32_t face, uint32_t wall) {
    if (plate.size() < 3 || Area(plate) < 1e-4f) return;
    std::vector<Vec2> model;
    for (Vec2 p : plate) model.push_back({-(p.u - pieceX) * 10.0f, -p.v * 10.0f});
    // The face the camera sees is the underside (model -y).
    AddPrism(mesh, {}, model, 0.0f, Thickness, face, wall);
}

struct PiecePaint {
    uint32_t letters, letterSides, gold, goldSides, white, orange;
};

PiecePaint Paint(Mesh& mesh) {
    return {mesh.AddMaterial(Shiny({0.85f, 0.9f, 1.0f, 1.0f}, 0.65f)),
            mesh.AddMaterial(Shiny({0.2f, 0.35f, 0.75f, 1.0f}, 0.3f)),
            mesh.AddMaterial(Shiny({1.0f, 0.8f, 0.2f, 1.0f}, 0.7f)),
            mesh.AddMaterial(Shiny({0.7f, 0.4f, 0.05f, 1.0f}, 0.3f)),
            mesh.AddMaterial(Shiny({0.95f, 0.96f, 1.0f, 1.0f}, 0.6f)),
            mesh.AddMaterial(Shiny({1.0f, 0.5f, 0.1f, 1.0f}, 0.7f))};
}

std::vector<Vec2> StarOutline(float cx, float cz, float outer, float inner, float depthStretch) {
    std::vector<Vec2> star;
    for (int i = 0; i < 10; ++i) {
        float a = Pi * float(i) / 5.0f;
        float r = i % 2 == 0 ? outer : inner;
        // One tip straight up on the screen: towards -z on the plate.
        star.push_back({cx + r * std::sin(a), cz - r * std::cos(a) * depthStretch});
    }
    return star;
}

} // namespace

std::vector<ModelAsset> BuildLoadingModels() {
    std::vector<Mesh> pieces(10);
    std::vector<PiecePaint> paints;
    for (Mesh& m : pieces) paints.push_back(Paint(m));

    // Top row: the game's name across pieces 1..5, a gold star at each end.
    const float depth = MaxDepth * 0.1f;
    const float letterHeight = depth * TopForeshortening;
    const float widen = 1.3f;
    SetText name = SetName("STARMARCH", 0.13f, 0.16f);
    float nameWidth = name.width * letterHeight * widen;
    for (const auto& letter : name.pieces) {
        std::vector<Vec2> plate;
        for (Vec2 p : letter)
            plate.push_back({-nameWidth * 0.5f + p.u * letterHeight * widen, (p.v - 0.5f) * depth});
        for (int i = 0; i < 7; ++i) {
            float x = PieceX(i);
            AddPlate(pieces[size_t(i)], ClipBand(plate, x - TopSlot * 0.5f, x + TopSlot * 0.5f), x,
                     paints[size_t(i)].letters, paints[size_t(i)].letterSides);
        }
    }
    for (int i : {0, 6}) {
        float x = PieceX(i);
        float stretch = 1.0f / TopForeshortening;
        AddPlate(pieces[size_t(i)], StarOutline(x, 0.0f, 1.3f, 0.53f, stretch * 0.9f), x,
                 paints[size_t(i)].gold, paints[size_t(i)].goldSides);
    }

    // Bottom row: the emblem, a craft climbing through a star, with speed
    // stripes streaming out to either side.
    {
        // The row is seen so flat that the emblem is drawn half as deep again
        // as it is wide, which is as deep as a piece may be.
        float stretch = 1.55f;
        float x = PieceX(8);
        const PiecePaint& p = paints[8];
        std::vector<Vec2> star = StarOutline(x, 0.0f, 1.9f, 0.8f, stretch);
        AddPlate(pieces[8], star, x, p.gold, p.goldSides);
        auto lift = [&](std::vector<Vec2> outline) {
            for (Vec2& q : outline) q.v *= stretch;
            return outline;
        };
        std::vector<Vec2> craft = lift({{x, -1.85f}, {x + 1.2f, 1.3f}, {x, 0.8f}, {x - 1.2f, 1.3f}});
        // The craft is a hair thicker than the star, so it shows in front.
        std::vector<Vec2> model;
        for (Vec2 q : craft) model.push_back({-(q.u - x) * 10.0f, -q.v * 10.0f});
        AddPrism(pieces[8], {}, model, -1.5f, Thickness, p.white, p.letterSides);
        std::vector<Vec2> flame = lift({{x - 0.3f, 1.05f}, {x + 0.3f, 1.05f}, {x, 1.9f}});
        model.clear();
        for (Vec2 q : flame) model.push_back({-(q.u - x) * 10.0f, -q.v * 10.0f});
        AddPrism(pieces[8], {}, model, -1.5f, Thickness, p.orange, p.goldSides);
    }
    for (int i : {7, 9}) {
        float x = PieceX(i);
        float side = i == 7 ? 1.0f : -1.0f;
        const PiecePaint& p = paints[size_t(i)];
        float stretch = 2.0f;
        // Three stripes, longest nearest the emblem, each thinning outwards.
        for (int s = 0; s < 3; ++s) {
            float z = (-0.9f + 0.9f * float(s)) * stretch;
            float h = 0.3f * stretch;
            float inner = x + side * 3.0f, outer = x + side * (3.0f - 5.6f + 1.2f * float(s));
            std::vector<Vec2> stripe = {
                {inner, z - h}, {inner, z + h}, {outer, z + h * 0.2f}, {outer, z - h * 0.2f}};
            if (side < 0.0f) stripe = {stripe[0], stripe[3], stripe[2], stripe[1]};
            AddPlate(pieces[size_t(i)], stripe, x, s == 1 ? p.white : p.letters, p.letterSides);
        }
    }

    std::vector<ModelAsset> models;
    for (int i = 0; i < 10; ++i)
        models.push_back(Finish("OP_0" + std::to_string(i), std::move(pieces[size_t(i)])));
    return models;
}

} // namespace assetgen
