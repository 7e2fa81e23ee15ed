#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A decoded picture: ARGB pixels, rows from the top.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

// Decodes a BMP (or any picture the decoder knows). Pixels equal to the colour
// key (an ARGB value; 0 means none) become transparent black.
bool DecodeBitmap(std::span<const unsigned char> data, uint32_t colorKey, Bitmap& out);
