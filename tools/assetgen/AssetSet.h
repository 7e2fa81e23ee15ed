#pragma once

#include "assetgen/Bitmaps.h"
#include "assetgen/Models.h"
#include "assetgen/Sounds.h"

#include <string>
#include <vector>

namespace assetgen {

// Everything the game carries, in memory.
struct AssetSet {
    std::vector<ModelAsset> models;
    std::vector<BitmapAsset> bitmaps;
    Image icon;
    std::vector<Sound> sounds;
    // The emblem at each of DesktopIconSizes, for the desktop's menus.
    std::vector<Image> desktopIcons;
};

AssetSet BuildAll();

// One file of the generated set, with its path relative to the output folder.
struct OutputFile {
    std::string path;
    std::string bytes;
};

// The files of a set: resources/X/<NAME>.x, resources/BITMAP/<NAME>.bmp,
// resources/ICON/starmarch.bmp, Data/<Name>.wav and icons/starmarch-<N>.png
// (N x N pixels; installed, never embedded), in a fixed order.
std::vector<OutputFile> Encode(const AssetSet& assets);

// Encode(BuildAll()).
std::vector<OutputFile> GenerateAll();

// Writes the files under `root`, leaving alone every file that already holds
// the same bytes, so that a rebuild touches only what changed. On failure
// returns false with a message naming the file.
bool WriteChangedFiles(const std::vector<OutputFile>& files, const std::string& root, std::string& error);

} // namespace assetgen
