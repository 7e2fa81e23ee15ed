#pragma once

#include "assetgen/Image.h"

namespace assetgen {

// Where flag k sits on the flag sheet: 45 x 30 pixels, three to a row.
constexpr int FlagSheetWidth = 256;
constexpr int FlagSheetHeight = 128;
constexpr int FlagWidth = 45;
constexpr int FlagHeight = 30;
constexpr int FlagLeft(int country) {
    return (country % 3) * 48 + 1;
}
constexpr int FlagTop(int country) {
    return (country / 3) * 32 + 1;
}

// Paints country k's flag into the rectangle (every flag is drawn 3:2).
void PaintFlag(int country, Image& image, float x, float y, float width, float height);

// Every country's flag at its place on a black sheet.
Image BuildFlagSheet();

// One flag as the texture the station models wear, 128 x 64: laid on a 3:2
// board it keeps its proportions.
Image BuildFlagTexture(int country);

} // namespace assetgen
