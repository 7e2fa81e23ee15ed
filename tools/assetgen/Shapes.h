#pragma once

#include "assetgen/Mesh.h"

#include <vector>

// Closed solids and flat pieces that models are assembled from. Every solid is
// closed and wound outwards, so culling the back faces hides nothing; flat
// pieces that can be seen from both sides carry a face on each side.
namespace assetgen {

// The convex hull of the points, flat shaded. Coplanar points make one face.
void AddHull(Mesh& mesh, const std::vector<Vec3>& points, uint32_t material);

void AddBox(Mesh& mesh, const Frame& place, Vec3 min, Vec3 max, uint32_t material);

// A ring of `segments` points about the local z axis at height z, radii rx and
// ry, starting at angle `phase` (0 = +y, turning towards +x).
std::vector<Vec3> Ring(float z, float rx, float ry, int segments, float phase = 0.0f);

// Joins rings of equal point count into a skin, closing the ends with flat
// caps (a ring shrunk to one point needs none). A closed loft joins the last
// ring back to the first and has no caps. Corners that meet at less than
// `creaseDegrees` shade smoothly.
void AddLoft(Mesh& mesh, const Frame& place, const std::vector<std::vector<Vec3>>& rings, uint32_t material,
             float creaseDegrees = 0.0f, bool closed = false);

// A solid of revolution about the local z axis through the (z, radius)
// profile, radius scaled by (sx, sy) in x and y.
struct ProfilePoint {
    float z;
    float r;
};
void AddLathe(Mesh& mesh, const Frame& place, const std::vector<ProfilePoint>& profile, int segments,
              uint32_t material, float creaseDegrees = 50.0f, float sx = 1.0f, float sy = 1.0f,
              float phase = 0.0f);

// A cylinder or cone frustum along local z from z0 (radius r0) to z1 (r1).
void AddCylinder(Mesh& mesh, const Frame& place, float z0, float r0, float z1, float r1, int segments,
                 uint32_t material, float creaseDegrees = 50.0f, float phase = 0.0f);

// A sphere (or ellipsoid through the frame's scale) about the origin.
void AddSphere(Mesh& mesh, const Frame& place, float radius, int segments, int rings, uint32_t material);

// A ring of tube about the local z axis: major radius R, tube cross-section
// (radial half-width hr, axial half-depth hz) drawn with `sides` points.
void AddTorus(Mesh& mesh, const Frame& place, float majorRadius, float hr, float hz, int segments, int sides,
              uint32_t material, float creaseDegrees = 50.0f);

// A wall around the local z axis between the outer and inner outlines (equal
// point counts, in the xy plane), from z0 to z1: a hollow prism.
void AddTube(Mesh& mesh, const Frame& place, const std::vector<Vec2>& outer, const std::vector<Vec2>& inner,
             float z0, float z1, uint32_t material);

// Extrudes a simple polygon (concave allowed, no holes) given in the local xz
// plane from y0 to y1. Cap and wall materials may differ.
void AddPrism(Mesh& mesh, const Frame& place, const std::vector<Vec2>& outline, float y0, float y1,
              uint32_t capMaterial, uint32_t wallMaterial);

// A flat quad in the local xz plane (x -w/2..w/2, z z0..z1) with a face on
// each side, both normals along ±y.
void AddDoubleSidedQuad(Mesh& mesh, const Frame& place, float x0, float x1, float z0, float z1,
                        uint32_t material);

// A flat convex polygon with a face on each side (fins, frames, beams).
void AddDoubleSidedPolygon(Mesh& mesh, const std::vector<Vec3>& points, uint32_t material);

// A board (a thin box in the local xy plane, facing -z and +z) whose two faces
// show the material's bitmap the right way round from either side; its edges
// take `edgeMaterial`.
void AddPicture(Mesh& mesh, const Frame& place, float width, float height, float thickness,
                uint32_t pictureMaterial, uint32_t edgeMaterial);

// Splits a simple polygon into triangles (ear clipping); indices into it.
std::vector<int> Triangulate(const std::vector<Vec2>& polygon);

} // namespace assetgen
