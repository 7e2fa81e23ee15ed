// assetgen OUTDIR [DATADIR]: writes every model, bitmap, icon and sound of the
// game under OUTDIR (resources/X, resources/BITMAP, resources/ICON, Data), and
// the sounds once more into DATADIR when it is given. Files whose bytes have
// not changed are left untouched. Silent on success.
#include "assetgen/AssetSet.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || std::string(argv[1]).empty()) {
        std::fprintf(stderr, "usage: %s OUTDIR [DATADIR]\n", argc > 0 ? argv[0] : "assetgen");
        return 2;
    }
    std::vector<assetgen::OutputFile> files = assetgen::GenerateAll();
    std::string error;
    if (!assetgen::WriteChangedFiles(files, argv[1], error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    if (argc == 3) {
        std::vector<assetgen::OutputFile> sounds;
        for (const assetgen::OutputFile& file : files)
            if (file.path.rfind("Data/", 0) == 0) sounds.push_back({file.path.substr(5), file.bytes});
        if (!assetgen::WriteChangedFiles(sounds, argv[2], error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
