#include "assetgen/Flags.h"

#include "assetgen/Countries.h"

#include <cmath>

namespace assetgen {

namespace {

// Draws in flag units: x 0..1.5 across, y 0..1 down, whatever the pixels.
struct Pen {
    Image& image;
    float x0, y0, sx, sy;

    Vec2 P(float x, float y) const { return {x0 + x * sx, y0 + y * sy}; }
    Vec2 P(Vec2 p) const { return P(p.u, p.v); }
    Pen Inside(float x, float y, float w, float h) const {
        return {image, x0 + x * sx, y0 + y * sy, sx * w / 1.5f, sy * h};
    }

    void Rect(float ax, float ay, float bx, float by, Rgba c) const {
        Poly({{ax, ay}, {bx, ay}, {bx, by}, {ax, by}}, c);
    }
    void Poly(const std::vector<Vec2>& points, Rgba c) const {
        std::vector<Vec2> mapped;
        for (Vec2 p : points) mapped.push_back(P(p));
        image.FillPolygon(mapped, c);
    }
    void Disc(float cx, float cy, float r, Rgba c) const {
        image.FillEllipse(x0 + cx * sx, y0 + cy * sy, r * sx, r * sy, c);
    }
    void Line(Vec2 a, Vec2 b, float thickness, Rgba c) const {
        float dx = b.u - a.u, dy = b.v - a.v, length = std::sqrt(dx * dx + dy * dy);
        float nx = -dy / length * thickness * 0.5f, ny = dx / length * thickness * 0.5f;
        Poly({{a.u + nx, a.v + ny}, {b.u + nx, b.v + ny}, {b.u - nx, b.v - ny}, {a.u - nx, a.v - ny}}, c);
    }
    // A star with one tip turned `turn` radians clockwise from straight up.
    void Star(float cx, float cy, float outer, float inner, int points, Rgba c, float turn = 0.0f) const {
        std::vector<Vec2> outline;
        for (int i = 0; i < points * 2; ++i) {
            float r = i % 2 == 0 ? outer : inner;
            float a = turn + Pi * float(i) / float(points);
            outline.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
        }
        Poly(outline, c);
    }
};

const Rgba White = Opaque(0xFFFFFF);

void UnionJack(const Pen& pen) {
    Rgba blue = Opaque(0x012169), red = Opaque(0xC8102E);
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, blue);
    pen.Line({0.0f, 0.0f}, {1.5f, 1.0f}, 0.2f, White);
    pen.Line({0.0f, 1.0f}, {1.5f, 0.0f}, 0.2f, White);
    // The red diagonals sit off-centre, each on the clockwise side of the white.
    pen.Poly({{0.0f, 0.0f}, {0.75f, 0.5f}, {0.75f, 0.56f}, {0.0f, 0.06f}}, red);
    pen.Poly({{1.5f, 1.0f}, {0.75f, 0.5f}, {0.75f, 0.44f}, {1.5f, 0.94f}}, red);
    pen.Poly({{1.5f, 0.0f}, {0.75f, 0.5f}, {0.68f, 0.5f}, {1.43f, 0.0f}}, red);
    pen.Poly({{0.0f, 1.0f}, {0.75f, 0.5f}, {0.82f, 0.5f}, {0.07f, 1.0f}}, red);
    pen.Rect(0.0f, 0.333f, 1.5f, 0.667f, White);
    pen.Rect(0.583f, 0.0f, 0.917f, 1.0f, White);
    pen.Rect(0.0f, 0.4f, 1.5f, 0.6f, red);
    pen.Rect(0.65f, 0.0f, 0.85f, 1.0f, red);
}

void Tricolour(const Pen& pen, int a, int b, int c, bool vertical) {
    int colours[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        if (vertical)
            pen.Rect(0.5f * float(i), 0.0f, 0.5f * float(i + 1), 1.0f, Opaque(colours[i]));
        else
            pen.Rect(0.0f, float(i) / 3.0f, 1.5f, float(i + 1) / 3.0f, Opaque(colours[i]));
    }
}

void Japan(const Pen& pen) {
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, White);
    pen.Disc(0.75f, 0.5f, 0.3f, Opaque(0xBC002D));
}

void UnitedStates(const Pen& pen) {
    for (int i = 0; i < 13; ++i)
        pen.Rect(0.0f, float(i) / 13.0f, 1.5f, float(i + 1) / 13.0f, i % 2 == 0 ? Opaque(0xB22234) : White);
    float cw = 0.6f, ch = 7.0f / 13.0f;
    pen.Rect(0.0f, 0.0f, cw, ch, Opaque(0x3C3B6E));
    for (int row = 0; row < 9; ++row) {
        int count = row % 2 == 0 ? 6 : 5;
        for (int k = 0; k < count; ++k) {
            float x = cw * float(2 * k + (row % 2 == 0 ? 1 : 2)) / 12.0f;
            float y = ch * float(row + 1) / 10.0f;
            pen.Star(x, y, 0.026f, 0.011f, 5, White);
        }
    }
}

void China(const Pen& pen) {
    Rgba yellow = Opaque(0xFFDE00);
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, Opaque(0xEE1C25));
    pen.Star(0.25f, 0.25f, 0.15f, 0.0573f, 5, yellow);
    const Vec2 small[4] = {{0.5f, 0.1f}, {0.6f, 0.2f}, {0.6f, 0.35f}, {0.5f, 0.45f}};
    // Each small star points one tip at the centre of the large one.
    for (Vec2 s : small) pen.Star(s.u, s.v, 0.05f, 0.019f, 5, yellow, std::atan2(0.25f - s.u, s.v - 0.25f));
}

void SouthKorea(const Pen& pen) {
    Rgba red = Opaque(0xCD2E3A), blue = Opaque(0x0047A0), black = Opaque(0x000000);
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, White);
    float cx = 0.75f, cy = 0.5f, r = 0.25f;
    // The circle's dividing line runs along the flag's diagonal.
    float angle = std::atan2(1.0f, 1.5f);
    float ax = std::cos(angle), ay = std::sin(angle);
    pen.Disc(cx, cy, r, blue);
    std::vector<Vec2> half;
    for (int i = 0; i <= 32; ++i) {
        float a = angle + Pi + Pi * float(i) / 32.0f;
        half.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    pen.Poly(half, red);
    pen.Disc(cx - ax * r * 0.5f, cy - ay * r * 0.5f, r * 0.5f, red);
    pen.Disc(cx + ax * r * 0.5f, cy + ay * r * 0.5f, r * 0.5f, blue);
    // Trigrams: three bars each, whole or broken, across the diagonals.
    const bool broken[4][3] = {
        {false, false, false}, {true, false, true}, {false, true, false}, {true, true, true}};
    const Vec2 direction[4] = {{-ax, -ay}, {ax, -ay}, {-ax, ay}, {ax, ay}};
    for (int t = 0; t < 4; ++t) {
        Vec2 d = direction[t];
        Vec2 across{-d.v, d.u};
        for (int bar = 0; bar < 3; ++bar) {
            float dist = 0.40f + 0.045f * float(bar);
            Vec2 c{cx + d.u * dist, cy + d.v * dist};
            float half = 0.125f;
            auto segment = [&](float from, float to) {
                pen.Line({c.u + across.u * from, c.v + across.v * from},
                         {c.u + across.u * to, c.v + across.v * to}, 0.03f, black);
            };
            if (broken[t][bar]) {
                segment(-half, -0.012f);
                segment(0.012f, half);
            } else {
                segment(-half, half);
            }
        }
    }
}

void Australia(const Pen& pen) {
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, Opaque(0x00008B));
    UnionJack(pen.Inside(0.0f, 0.0f, 0.75f, 0.5f));
    pen.Star(0.375f, 0.75f, 0.15f, 0.065f, 7, White);
    pen.Star(1.125f, 0.83f, 0.075f, 0.033f, 7, White);
    pen.Star(1.125f, 0.17f, 0.075f, 0.033f, 7, White);
    pen.Star(0.93f, 0.42f, 0.075f, 0.033f, 7, White);
    pen.Star(1.31f, 0.36f, 0.075f, 0.033f, 7, White);
    pen.Star(1.21f, 0.55f, 0.045f, 0.02f, 5, White);
}

void Canada(const Pen& pen) {
    Rgba red = Opaque(0xFF0000);
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, White);
    pen.Rect(0.0f, 0.0f, 0.375f, 1.0f, red);
    pen.Rect(1.125f, 0.0f, 1.5f, 1.0f, red);
    // Right half of the maple leaf from its top tip down to the stem, y up.
    const Vec2 half[] = {{0.0f, 1.0f},   {0.16f, 0.72f},  {0.32f, 0.8f},  {0.26f, 0.3f},  {0.56f, 0.62f},
                         {0.62f, 0.48f}, {0.88f, 0.54f},  {0.8f, 0.28f},  {0.92f, 0.22f}, {0.52f, -0.12f},
                         {0.6f, -0.3f},  {0.06f, -0.24f}, {0.07f, -0.72f}};
    std::vector<Vec2> leaf;
    float size = 0.36f;
    for (Vec2 p : half) leaf.push_back({0.75f + p.u * size, 0.52f - p.v * size});
    for (int i = int(std::size(half)) - 1; i >= 1; --i)
        leaf.push_back({0.75f - half[i].u * size, 0.52f - half[i].v * size});
    pen.Poly(leaf, red);
}

void UnitedNations(const Pen& pen) {
    Rgba blue = Opaque(0x009EDB);
    pen.Rect(0.0f, 0.0f, 1.5f, 1.0f, blue);
    float cx = 0.75f, cy = 0.46f;
    // The world seen from above the pole: rings and meridians.
    for (float r : {0.2f, 0.15f, 0.1f, 0.05f}) {
        pen.Disc(cx, cy, r, White);
        pen.Disc(cx, cy, r - 0.018f, blue);
    }
    for (int i = 0; i < 4; ++i) {
        float a = Pi * float(i) / 4.0f;
        pen.Line({cx - 0.2f * std::cos(a), cy - 0.2f * std::sin(a)},
                 {cx + 0.2f * std::cos(a), cy + 0.2f * std::sin(a)}, 0.015f, White);
    }
    // The olive branches: leaves on an arc round the world on both sides.
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 7; ++k) {
            float a = Pi * (0.62f + 0.1f * float(k));
            float lx = cx + float(side) * 0.27f * std::sin(a), ly = cy - 0.27f * std::cos(a);
            pen.Disc(lx, ly, 0.028f, White);
        }
}

void PaintInto(int country, const Pen& pen) {
    switch (country) {
    case 0:
        Japan(pen);
        break;
    case 1:
        UnitedStates(pen);
        break;
    case 2:
        UnionJack(pen);
        break;
    case 3:
        Tricolour(pen, 0x0055A4, 0xFFFFFF, 0xEF4135, true);
        break;
    case 4:
        Tricolour(pen, 0x000000, 0xDD0000, 0xFFCE00, false);
        break;
    case 5:
        Tricolour(pen, 0x009246, 0xF1F2F1, 0xCE2B37, true);
        break;
    case 6:
        Tricolour(pen, 0xFFFFFF, 0x0039A6, 0xD52B1E, false);
        break;
    case 7:
        China(pen);
        break;
    case 8:
        SouthKorea(pen);
        break;
    case 9:
        Australia(pen);
        break;
    case 10:
        Canada(pen);
        break;
    default:
        UnitedNations(pen);
        break;
    }
}

} // namespace

void PaintFlag(int country, Image& image, float x, float y, float width, float height) {
    PaintInto(country, Pen{image, x, y, width / 1.5f, height});
}

static_assert(FlagTop(CountryCount - 1) + FlagHeight <= FlagSheetHeight, "every flag fits on the sheet");

Image BuildFlagSheet() {
    Image sheet(FlagSheetWidth, FlagSheetHeight, {0.0f, 0.0f, 0.0f, 1.0f});
    for (int k = 0; k < CountryCount; ++k)
        PaintFlag(k, sheet, float(FlagLeft(k)), float(FlagTop(k)), float(FlagWidth), float(FlagHeight));
    return sheet;
}

Image BuildFlagTexture(int country) {
    Image image(128, 64, {0.0f, 0.0f, 0.0f, 1.0f});
    PaintFlag(country, image, 0.0f, 0.0f, 128.0f, 64.0f);
    return image;
}

} // namespace assetgen
