#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Small models and pictures made by the tests themselves.

struct TestMaterial {
    float r = 1, g = 1, b = 1, a = 1;
    std::string texture;
};

// A box centred on the origin with half sizes hx, hy, hz, in text X form: one
// top-level Mesh, four vertices and two triangles per face, normals out,
// texture coordinates 0..1 per face, front faces wound clockwise as seen from
// outside. Face f (-x, +x, -y, +y, -z, +z) uses material materialOf[f].
std::string BoxModelX(float hx, float hy, float hz, const std::vector<TestMaterial>& materials,
                      const std::vector<int>& materialOf = {0, 0, 0, 0, 0, 0});

// A 32-bit BMP whose pixels (ARGB) come from the function.
std::vector<unsigned char> TestBitmap(int width, int height, const std::function<uint32_t(int, int)>& pixel);
