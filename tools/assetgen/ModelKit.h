#pragma once

#include "assetgen/Models.h"
#include "assetgen/Shapes.h"
#include "render/Math.h"

#include <string>

namespace assetgen {

// Compacts the mesh and names it: the last step of every model.
ModelAsset Finish(const std::string& name, Mesh mesh);

// A point or an axis of the game's type tables in the generator's terms.
inline Vec3 FromTable(const Vector3& p) {
    return {p.x, p.y, p.z};
}

} // namespace assetgen
