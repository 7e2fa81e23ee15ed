#pragma once

#include <cstdint>

namespace assetgen {

// Smooth value noise from an integer hash: the same inputs give the same
// numbers on every machine, so pictures and models never change between runs.
float ValueNoise(float x, float y, uint32_t seed);

// Several octaves of ValueNoise, roughly in -1..1.
float FractalNoise(float x, float y, int octaves, uint32_t seed);

} // namespace assetgen
