#include "assetgen/Image.h"

#include "image/Png.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetgen {

namespace {

constexpr int Samples = 4;

uint8_t ToByte(float value) {
    return uint8_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

void Put16(std::string& out, uint32_t value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Winding number of the outline around the point.
int Winding(const std::vector<Vec2>& outline, float x, float y) {
    int winding = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        Vec2 a = outline[i], b = outline[(i + 1) % outline.size()];
        float side = (b.u - a.u) * (y - a.v) - (x - a.u) * (b.v - a.v);
        if (a.v <= y) {
            if (b.v > y && side > 0.0f) ++winding;
        } else if (b.v <= y && side < 0.0f) {
            --winding;
        }
    }
    return winding;
}

} // namespace

Image::Image(int width, int height, Rgba fill)
    : width(width), height(height), pixels(size_t(width * height), fill) {}

void Image::Blend(int x, int y, Rgba colour, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f) return;
    Rgba& dst = At(x, y);
    float a = colour.a * std::min(coverage, 1.0f);
    float outA = a + dst.a * (1.0f - a);
    if (outA <= 0.0f) {
        dst = {0.0f, 0.0f, 0.0f, 0.0f};
        return;
    }
    dst.r = (colour.r * a + dst.r * dst.a * (1.0f - a)) / outA;
    dst.g = (colour.g * a + dst.g * dst.a * (1.0f - a)) / outA;
    dst.b = (colour.b * a + dst.b * dst.a * (1.0f - a)) / outA;
    dst.a = outA;
}

void Image::FillPolygon(const std::vector<Vec2>& outline, Rgba colour) {
    if (outline.size() < 3) return;
    float minX = outline[0].u, maxX = minX, minY = outline[0].v, maxY = minY;
    for (Vec2 p : outline) {
        minX = std::min(minX, p.u);
        maxX = std::max(maxX, p.u);
        minY = std::min(minY, p.v);
        maxY = std::max(maxY, p.v);
    }
    int x0 = std::max(0, int(std::floor(minX))), x1 = std::min(width - 1, int(std::ceil(maxX)));
    int y0 = std::max(0, int(std::floor(minY))), y1 = std::min(height - 1, int(std::ceil(maxY)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx) {
                    float px = float(x) + (float(sx) + 0.5f) / Samples;
                    float py = float(y) + (float(sy) + 0.5f) / Samples;
                    inside += Winding(outline, px, py) != 0;
                }
            Blend(x, y, colour, float(inside) / float(Samples * Samples));
        }
}

void Image::FillEllipse(float cx, float cy, float rx, float ry, Rgba colour) {
    std::vector<Vec2> outline;
    int steps = std::clamp(int((rx + ry) * 2.0f), 16, 256);
    for (int i = 0; i < steps; ++i) {
        float a = 2.0f * Pi * float(i) / float(steps);
        outline.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    FillPolygon(outline, colour);
}

void Image::FillStar(float cx, float cy, float outer, float inner, int points, Rgba colour, float turn) {
    std::vector<Vec2> outline;
    for (int i = 0; i < points * 2; ++i) {
        float r = i % 2 == 0 ? outer : inner;
        float a = turn + Pi * float(i) / float(points);
        outline.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
    }
    FillPolygon(outline, colour);
}

std::string EncodeBmp24(const Image& image) {
    int w = image.Width(), h = image.Height();
    uint32_t stride = uint32_t(w * 3 + 3) & ~3u;
    uint32_t dataSize = stride * uint32_t(h);
    std::string out = "BM";
    Put32(out, 14 + 40 + dataSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // uncompressed
    Put32(out, dataSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            // An opaque file shows the picture as laid over black.
            const Rgba& p = image.At(x, y);
            row += char(ToByte(p.b * p.a));
            row += char(ToByte(p.g * p.a));
            row += char(ToByte(p.r * p.a));
        }
        row.resize(stride, '\0');
        out += row;
    }
    return out;
}

std::string EncodeBmp32(const Image& image) {
    int w = image.Width(), h = image.Height();
    uint32_t dataSize = uint32_t(w * h * 4);
    constexpr uint32_t HeaderSize = 124;
    std::string out = "BM";
    Put32(out, 14 + HeaderSize + dataSize);
    Put32(out, 0);
    Put32(out, 14 + HeaderSize);
    Put32(out, HeaderSize);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 3); // bit fields
    Put32(out, dataSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0x00FF0000); // red mask
    Put32(out, 0x0000FF00);
    Put32(out, 0x000000FF);
    Put32(out, 0xFF000000);                     // alpha mask
    Put32(out, 0x73524742);                     // 'sRGB' colour space
    for (int i = 0; i < 12; ++i) Put32(out, 0); // end points and gamma, unused with sRGB
    Put32(out, 4);                              // intent: images
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = image.At(x, y);
            // Fully clear pixels are stored black, so a colour key on black
            // agrees with the alpha channel.
            bool clear = ToByte(p.a) == 0;
            out += char(clear ? 0 : ToByte(p.b));
            out += char(clear ? 0 : ToByte(p.g));
            out += char(clear ? 0 : ToByte(p.r));
            out += char(ToByte(p.a));
        }
    return out;
}

std::string EncodePng(const Image& image) {
    const int w = image.Width(), h = image.Height();
    std::vector<uint8_t> rgba;
    rgba.reserve(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = image.At(x, y);
            bool clear = ToByte(p.a) == 0;
            for (float channel : {p.r, p.g, p.b}) rgba.push_back(clear ? 0 : ToByte(channel));
            rgba.push_back(ToByte(p.a));
        }
    return ::EncodePng(w, h, 4, rgba);
}

} // namespace assetgen
