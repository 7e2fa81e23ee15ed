#include "assetgen/AssetSet.h"

#include "assetgen/XWriter.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace assetgen {

std::vector<ModelAsset> BuildModels() {
    std::vector<ModelAsset> models;
    for (auto* family : {BuildFighterModels, BuildStationModels, BuildPanelModels, BuildTurretModels,
                         BuildEffectModels, BuildLoadingModels})
        for (ModelAsset& model : family()) models.push_back(std::move(model));
    return models;
}

AssetSet BuildAll() {
    AssetSet set{BuildModels(), BuildBitmaps(), BuildIcon(), BuildSounds(), {}};
    for (int size : DesktopIconSizes) set.desktopIcons.push_back(BuildIcon(size));
    return set;
}

std::vector<OutputFile> Encode(const AssetSet& assets) {
    std::vector<OutputFile> files;
    for (const ModelAsset& model : assets.models)
        files.push_back({"resources/X/" + model.name + ".x", WriteXText(model.mesh, model.name)});
    for (const BitmapAsset& bitmap : assets.bitmaps)
        files.push_back({"resources/BITMAP/" + bitmap.name + ".bmp",
                         bitmap.alpha ? EncodeBmp32(bitmap.image) : EncodeBmp24(bitmap.image)});
    files.push_back({"resources/ICON/starmarch.bmp", EncodeBmp32(assets.icon)});
    for (const Sound& sound : assets.sounds)
        files.push_back({"Data/" + sound.fileName, EncodeWav(sound.samples, SampleRate)});
    for (const Image& icon : assets.desktopIcons)
        files.push_back({"icons/starmarch-" + std::to_string(icon.Width()) + ".png", EncodePng(icon)});
    return files;
}

std::vector<OutputFile> GenerateAll() {
    return Encode(BuildAll());
}

bool WriteChangedFiles(const std::vector<OutputFile>& files, const std::string& root, std::string& error) {
    namespace fs = std::filesystem;
    for (const OutputFile& file : files) {
        fs::path path = fs::path(root) / file.path;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) {
            error = "cannot create folder " + path.parent_path().string() + ": " + ec.message();
            return false;
        }
        {
            std::ifstream in(path, std::ios::binary);
            if (in) {
                std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                if (old == file.bytes) continue;
            }
        }
        // Write beside the target and rename, so a reader never sees half a file.
        fs::path temporary = path;
        temporary += ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(file.bytes.data(), std::streamsize(file.bytes.size()));
            if (!out) {
                error = "cannot write " + temporary.string();
                return false;
            }
        }
        fs::rename(temporary, path, ec);
        if (ec) {
            error = "cannot replace " + path.string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace assetgen
