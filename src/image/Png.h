#pragma once

#include <cstdint>
#include <span>
#include <string>

// A PNG file of 8-bit pixels, rows from the top, `channels` bytes a pixel
// (3: RGB, 4: RGBA with straight alpha). Empty when the sizes don't match the
// pixels or the encoder fails.
std::string EncodePng(int width, int height, int channels, std::span<const uint8_t> pixels);
