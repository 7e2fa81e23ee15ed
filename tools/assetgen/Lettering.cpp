#include "assetgen/Lettering.h"

namespace assetgen {

namespace {

constexpr float LetterWidth = 0.62f;
constexpr float Stroke = 0.21f;
constexpr float Chamfer = 0.14f;

std::vector<Vec2> Box(float x0, float y0, float x1, float y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

} // namespace

LetterShape NameLetter(char letter) {
    const float w = LetterWidth, t = Stroke, c = Chamfer;
    LetterShape shape{w, {}};
    auto& p = shape.pieces;
    switch (letter) {
    case 'S':
        p.push_back({{c, 0.0f}, {w, 0.0f}, {w, t}, {0.0f, t}, {0.0f, c}});
        p.push_back(Box(0.0f, c, t, 0.5f + t * 0.5f));
        p.push_back(Box(0.0f, 0.5f - t * 0.5f, w, 0.5f + t * 0.5f));
        p.push_back(Box(w - t, 0.5f - t * 0.5f, w, 1.0f - c));
        p.push_back({{0.0f, 1.0f - t}, {w, 1.0f - t}, {w, 1.0f - c}, {w - c, 1.0f}, {0.0f, 1.0f}});
        break;
    case 'T':
        p.push_back(Box(0.0f, 0.0f, w, t));
        p.push_back(Box((w - t) * 0.5f, 0.0f, (w + t) * 0.5f, 1.0f));
        break;
    case 'A':
        p.push_back({{0.0f, 0.32f}, {w * 0.3f, 0.0f}, {w * 0.7f, 0.0f}, {w, 0.32f}});
        p.push_back(Box(0.0f, 0.25f, t, 1.0f));
        p.push_back(Box(w - t, 0.25f, w, 1.0f));
        p.push_back(Box(t * 0.5f, 0.55f, w - t * 0.5f, 0.55f + t));
        break;
    case 'R':
        p.push_back(Box(0.0f, 0.0f, t, 1.0f));
        p.push_back({{0.0f, 0.0f}, {w - c, 0.0f}, {w, c}, {w, t}, {0.0f, t}});
        p.push_back(Box(w - t, c * 0.5f, w, 0.5f));
        p.push_back({{0.0f, 0.42f}, {w, 0.42f}, {w, 0.42f + t - c}, {w - c, 0.42f + t}, {0.0f, 0.42f + t}});
        p.push_back({{w * 0.35f, 0.5f}, {w * 0.35f + t, 0.5f}, {w, 1.0f}, {w - t, 1.0f}});
        break;
    case 'M': {
        float m = w * 1.32f;
        shape.width = m;
        p.push_back(Box(0.0f, 0.0f, t, 1.0f));
        p.push_back(Box(m - t, 0.0f, m, 1.0f));
        p.push_back({{0.0f, 0.0f}, {t, 0.0f}, {m * 0.5f + t * 0.5f, 0.64f}, {m * 0.5f - t * 0.5f, 0.64f}});
        p.push_back({{m - t, 0.0f}, {m, 0.0f}, {m * 0.5f + t * 0.5f, 0.64f}, {m * 0.5f - t * 0.5f, 0.64f}});
        break;
    }
    case 'C':
        p.push_back({{c, 0.0f}, {w, 0.0f}, {w, t}, {0.0f, t}, {0.0f, c}});
        p.push_back(Box(0.0f, c, t, 1.0f - c));
        p.push_back({{0.0f, 1.0f - t}, {w, 1.0f - t}, {w, 1.0f}, {c, 1.0f}, {0.0f, 1.0f - c}});
        break;
    case 'H':
        p.push_back(Box(0.0f, 0.0f, t, 1.0f));
        p.push_back(Box(w - t, 0.0f, w, 1.0f));
        p.push_back(Box(t * 0.5f, 0.5f - t * 0.5f, w - t * 0.5f, 0.5f + t * 0.5f));
        break;
    default:
        shape.width = 0.0f;
        break;
    }
    return shape;
}

SetText SetName(const std::string& text, float gap, float slant) {
    SetText set;
    float x = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        LetterShape letter = NameLetter(text[i]);
        for (auto piece : letter.pieces) {
            for (Vec2& q : piece) q = {q.u + x + slant * (1.0f - q.v), q.v};
            set.pieces.push_back(piece);
        }
        x += letter.width + (i + 1 < text.size() ? gap : 0.0f);
    }
    set.width = x + slant;
    return set;
}

} // namespace assetgen
