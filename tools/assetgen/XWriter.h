#pragma once

#include "assetgen/Mesh.h"

#include <string>

namespace assetgen {

// The model as a text X file: the header "xof 0302txt 0032" and one top-level
// Mesh with its normals, texture coordinates (when a material names a
// bitmap) and material list. Numbers have six decimals, so the same mesh
// always gives the same bytes.
std::string WriteXText(const Mesh& mesh, const std::string& name);

} // namespace assetgen
