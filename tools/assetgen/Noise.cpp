#include "assetgen/Noise.h"

#include <cmath>

namespace assetgen {

namespace {

float Lattice(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFFF) / float(0x7FFFFF) - 1.0f;
}

float Fade(float t) {
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float ValueNoise(float x, float y, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int32_t ix = int32_t(fx), iy = int32_t(fy);
    float tx = Fade(x - fx), ty = Fade(y - fy);
    float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float FractalNoise(float x, float y, int octaves, uint32_t seed) {
    float sum = 0.0f, amplitude = 0.5f, scale = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(x * scale, y * scale, seed + uint32_t(i) * 101u) * amplitude;
        amplitude *= 0.5f;
        scale *= 2.0f;
    }
    return sum;
}

} // namespace assetgen
