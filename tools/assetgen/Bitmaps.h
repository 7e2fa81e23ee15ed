#pragma once

#include "assetgen/Image.h"

#include <string>
#include <vector>

namespace assetgen {

struct BitmapAsset {
    std::string name;
    Image image;
    // Written with its alpha channel (32-bit) rather than opaque (24-bit).
    bool alpha = false;
};

// "FLAG", "FLAG01" .. "FLAG12", "FONT", "LIGHT", "PLANET", "TITLE".
std::vector<BitmapAsset> BuildBitmaps();

// The game's name, 512 x 128, in light greys on a clear ground: the title
// screen tints it strip by strip, so grey takes the sweep's colour.
Image BuildTitle();
// The backdrop planet, 512 x 256: the top of a large world under a thin
// atmosphere, clear above its rim.
Image BuildPlanet();
// The sun's glow, 128 x 128: white, fading out to clear.
Image BuildLight();
// The emblem on a clear ground, size x size: the window icon at 64, and the
// desktop's icons at the sizes it asks for.
Image BuildIcon(int size = 64);
// The sizes of the desktop's icons.
inline constexpr int DesktopIconSizes[] = {32, 48, 64, 128, 256};

} // namespace assetgen
