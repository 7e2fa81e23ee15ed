#pragma once

#include "assetgen/Geometry.h"

#include <string>
#include <vector>

namespace assetgen {

// Straight (not premultiplied) colour, each channel 0..1.
struct Rgba {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

constexpr Rgba Opaque(int rgb) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f,
            1.0f};
}

// A picture being painted. Shapes are filled with 4 x 4 samples per pixel, so
// edges come out smooth at the small sizes the game shows them; coordinates are
// pixels with (0, 0) the top-left corner of the top-left pixel.
class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = {0.0f, 0.0f, 0.0f, 0.0f});

    int Width() const { return width; }
    int Height() const { return height; }
    Rgba& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Rgba& At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    // Lays `colour` over the pixel with the given coverage (source over).
    void Blend(int x, int y, Rgba colour, float coverage);

    // Any simple or self-intersecting outline, filled by the non-zero rule.
    void FillPolygon(const std::vector<Vec2>& outline, Rgba colour);
    void FillEllipse(float cx, float cy, float rx, float ry, Rgba colour);
    // A star of `points` tips between the outer and inner radii, one tip up.
    void FillStar(float cx, float cy, float outer, float inner, int points, Rgba colour, float turn = 0.0f);

private:
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
};

// Windows bitmap files, bottom-up rows. The 24-bit form is opaque; the 32-bit
// form carries alpha (a version-5 header with bit-field masks).
std::string EncodeBmp24(const Image& image);
std::string EncodeBmp32(const Image& image);
// A PNG file with its alpha channel (8-bit RGBA, straight colour).
std::string EncodePng(const Image& image);

} // namespace assetgen
