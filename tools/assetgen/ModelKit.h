#pragma once

#include "assetgen/Models.h"
#include "assetgen/Shapes.h"

#include <string>

namespace assetgen {

// Compacts the mesh and names it: the last step of every model.
ModelAsset Finish(const std::string& name, Mesh mesh);

} // namespace assetgen
