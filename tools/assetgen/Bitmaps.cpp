#include "assetgen/Bitmaps.h"

#include "assetgen/Countries.h"
#include "assetgen/Flags.h"
#include "assetgen/Font.h"
#include "assetgen/Lettering.h"
#include "assetgen/Noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

float Smoothstep(float a, float b, float x) {
    float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Rgba Mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The coverage of the game's name set in `box` (pixels), one value per pixel.
Image NameMask(int width, int height, float left, float top, float letterHeight, const std::string& text) {
    Image mask(width, height);
    SetText set = SetName(text, 0.13f, 0.16f);
    for (const auto& piece : set.pieces) {
        std::vector<Vec2> pixels;
        for (Vec2 p : piece) pixels.push_back({left + p.u * letterHeight, top + p.v * letterHeight});
        mask.FillPolygon(pixels, {1.0f, 1.0f, 1.0f, 1.0f});
    }
    return mask;
}

float Coverage(const Image& mask, int x, int y) {
    if (x < 0 || y < 0 || x >= mask.Width() || y >= mask.Height()) return 0.0f;
    return mask.At(x, y).a;
}

} // namespace

Image BuildTitle() {
    const int w = 512, h = 128;
    const std::string name = "STARMARCH";
    float letterHeight = 72.0f;
    float textWidth = SetName(name, 0.13f, 0.16f).width * letterHeight;
    float left = (float(w) - textWidth) * 0.5f, top = 22.0f;
    Image mask = NameMask(w, h, left, top, letterHeight, name);
    Image title(w, h);
    // A dark rim three pixels wide keeps the letters apart from anything behind.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float rim = 0.0f;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (dx * dx + dy * dy <= 10) rim = std::max(rim, Coverage(mask, x + dx, y + dy));
            title.Blend(x, y, {0.05f, 0.06f, 0.1f, 0.85f}, rim);
        }
    // Brushed metal: bright at the top, a sharp horizon line across the middle,
    // darker below it, and a lit upper edge on every stroke.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float c = Coverage(mask, x, y);
            if (c <= 0.0f) continue;
            float v = (float(y) - top) / letterHeight;
            float shade = v < 0.48f ? 1.0f - 0.25f * v : 0.62f + 0.25f * (v - 0.48f);
            if (Coverage(mask, x, y - 2) < 0.5f) shade = 1.0f;
            if (Coverage(mask, x, y + 2) < 0.5f) shade *= 0.8f;
            title.Blend(x, y, {shade, shade, shade, 1.0f}, c);
        }
    // A speed line under the name, fading out towards both ends.
    for (int x = 0; x < w; ++x) {
        float t = float(x) / float(w);
        float alpha = std::sin(t * Pi) * Smoothstep(0.0f, 0.3f, t);
        title.Blend(x, int(top + letterHeight + 10.0f), {0.9f, 0.9f, 0.9f, 1.0f}, alpha);
        title.Blend(x, int(top + letterHeight + 11.0f), {0.6f, 0.6f, 0.6f, 1.0f}, alpha * 0.7f);
    }
    // Three stars leading the march.
    for (int i = 0; i < 3; ++i)
        title.FillStar(left + textWidth - 30.0f + float(i) * 14.0f,
                       top + letterHeight + 24.0f - float(i) * 3.0f, 5.0f - float(i), 2.0f - float(i) * 0.4f,
                       4, {1.0f, 1.0f, 1.0f, 1.0f});
    return title;
}

Image BuildPlanet() {
    const int w = 512, h = 256;
    Image planet(w, h);
    // A world much larger than the picture, its rim crossing the top third.
    float cx = 190.0f, cy = 980.0f, radius = 930.0f;
    Vec3 sun = Normalize({0.75f, -0.6f, 0.05f});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float dx = (float(x) + 0.5f - cx) / radius, dy = (float(y) + 0.5f - cy) / radius;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < 1.0f) {
                float dz = std::sqrt(1.0f - d * d);
                Vec3 normal{dx, dy, dz};
                // Latitude bands wander with the noise, like a gas giant's.
                float latitude = std::asin(std::clamp(dy, -1.0f, 1.0f));
                float longitude = std::atan2(dx, dz);
                float swirl = FractalNoise(longitude * 9.0f, latitude * 30.0f, 5, 7u);
                float band = std::sin(latitude * 55.0f + swirl * 2.5f) * 0.35f + 0.5f;
                float storms = FractalNoise(longitude * 30.0f, latitude * 60.0f, 4, 9u);
                Rgba light = Opaque(0xC9A36B), dark = Opaque(0x6E4A33), pale = Opaque(0xE8D8B0);
                Rgba ground = Mix(dark, light, band);
                ground = Mix(ground, pale, std::clamp(storms * 1.5f, 0.0f, 1.0f) * 0.5f);
                float lit = std::clamp(Dot(normal, sun), 0.0f, 1.0f);
                // Darker towards the limb, with a little light scattered onto the night side.
                float brightness = (0.1f + 0.9f * std::pow(lit, 1.5f)) * (0.55f + 0.45f * dz) * 0.75f;
                Rgba colour{ground.r * brightness, ground.g * brightness, ground.b * brightness, 1.0f};
                // The atmosphere brightens the rim.
                float haze = Smoothstep(0.985f, 1.0f, d) * (0.3f + 0.7f * lit);
                colour = Mix(colour, Opaque(0x8FC8FF), haze * 0.8f);
                // The last pixel fades into space.
                colour.a = std::clamp((1.0f - d) * radius * 1.5f, 0.0f, 1.0f);
                float glowAlpha = 1.0f - colour.a;
                planet.At(x, y) = colour;
                planet.Blend(x, y, {0.55f, 0.78f, 1.0f, 1.0f}, glowAlpha * 0.6f);
            } else {
                // A thin blue glow above the rim, stronger on the day side.
                float above = (d - 1.0f) * radius;
                float dayside = std::clamp(Dot(Normalize({dx, dy, 0.0f}), sun) * 0.7f + 0.5f, 0.2f, 1.0f);
                float alpha = std::exp(-above / 6.0f) * 0.8f * dayside;
                planet.At(x, y) = {0.55f, 0.78f, 1.0f, alpha};
            }
        }
    return planet;
}

Image BuildLight() {
    const int size = 128;
    Image light(size, size);
    float c = float(size) * 0.5f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (float(x) + 0.5f - c) / c, dy = (float(y) + 0.5f - c) / c;
            float r = std::sqrt(dx * dx + dy * dy);
            float angle = std::atan2(dy, dx);
            // A bright core, a soft halo and six faint rays, all gone by the edge.
            float core = std::exp(-r * r * 40.0f);
            float halo = std::exp(-r * 4.0f) * 0.55f;
            float rays = std::pow(std::fabs(std::cos(angle * 3.0f)), 40.0f) * std::exp(-r * 3.0f) * 0.35f;
            float alpha = std::clamp(core + halo + rays, 0.0f, 1.0f) * Smoothstep(1.0f, 0.85f, r);
            float warmth = std::clamp(1.0f - r * 1.2f, 0.0f, 1.0f);
            light.At(x, y) = {1.0f, 0.9f + 0.1f * warmth, 0.75f + 0.25f * warmth, alpha};
        }
    return light;
}

Image BuildIcon(int size) {
    Image icon(size, size);
    // The badge is laid out on 64 pixels and drawn at any size.
    const float k = float(size) / 64.0f;
    auto at = [k](float x, float y) { return Vec2{x * k, y * k}; };
    float c = 32.0f;
    icon.FillEllipse(c * k, c * k, 30.0f * k, 30.0f * k, Opaque(0x3BD6FF));
    icon.FillEllipse(c * k, c * k, 27.5f * k, 27.5f * k, Opaque(0x0B1633));
    // A star behind a craft climbing away: the emblem of the game.
    icon.FillStar(c * k, (c - 1.0f) * k, 22.0f * k, 9.0f * k, 5, Opaque(0x1F4D8C));
    icon.FillPolygon({at(c, 9.0f), at(c + 15.0f, 50.0f), at(c, 42.0f), at(c - 15.0f, 50.0f)}, Opaque(0xF2F4F8));
    icon.FillPolygon({at(c, 9.0f), at(c + 15.0f, 50.0f), at(c, 42.0f)}, Opaque(0xB9C3D3));
    icon.FillPolygon({at(c - 4.0f, 44.0f), at(c + 4.0f, 44.0f), at(c, 56.0f)}, Opaque(0xFF8A1E));
    icon.FillEllipse(c * k, 27.0f * k, 2.5f * k, 5.0f * k, Opaque(0x3BD6FF));
    return icon;
}

std::vector<BitmapAsset> BuildBitmaps() {
    std::vector<BitmapAsset> bitmaps;
    bitmaps.push_back({"FLAG", BuildFlagSheet(), false});
    for (int k = 0; k < CountryCount; ++k)
        bitmaps.push_back({"FLAG" + TwoDigits(k + 1), BuildFlagTexture(k), false});
    bitmaps.push_back({"FONT", BuildFontSheet(), false});
    bitmaps.push_back({"LIGHT", BuildLight(), true});
    bitmaps.push_back({"PLANET", BuildPlanet(), true});
    bitmaps.push_back({"TITLE", BuildTitle(), true});
    return bitmaps;
}

} // namespace assetgen
