#pragma once

#include "assetgen/Geometry.h"

#include <string>
#include <vector>

namespace assetgen {

// The block capitals of the game's name, shared by the title picture and the
// loading pieces. A letter is a few convex pieces (they overlap where strokes
// join) in a box `width` wide and 1 tall, y growing downwards.
struct LetterShape {
    float width = 0.0f;
    std::vector<std::vector<Vec2>> pieces;
};

// One of S, T, A, R, M, C, H; anything else is an empty shape.
LetterShape NameLetter(char letter);

// The letters of `text` set side by side with the given gap, leaning forward
// by `slant` (x shifted right by slant at the top): pieces in text units.
struct SetText {
    float width = 0.0f;
    std::vector<std::vector<Vec2>> pieces;
};
SetText SetName(const std::string& text, float gap, float slant);

} // namespace assetgen
