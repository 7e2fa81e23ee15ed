#pragma once

#include "assetgen/Image.h"

namespace assetgen {

// The font sheet: 16 columns of 8 x 16 cells indexed by character code (codes
// 0..127), each printable glyph white in the top-left 5 x 10 pixels of its
// cell, on opaque black that the colour key makes transparent.
constexpr int FontCellWidth = 8;
constexpr int FontCellHeight = 16;
constexpr int FontGlyphWidth = 5;
constexpr int FontGlyphHeight = 10;

Image BuildFontSheet();

} // namespace assetgen
