#include "assetgen/ModelKit.h"

namespace assetgen {

ModelAsset Finish(const std::string& name, Mesh mesh) {
    mesh.Compact();
    return {name, std::move(mesh)};
}

} // namespace assetgen
