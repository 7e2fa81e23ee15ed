#pragma once

#include "assetgen/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Colour {
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

// What the fixed-function pipeline gets for one subset. The game takes the
// ambient colour from the diffuse one, so there is none here.
struct Material {
    Colour diffuse;
    float power = 0.0f;
    Colour specular{0.0f, 0.0f, 0.0f, 1.0f};
    Colour emissive{0.0f, 0.0f, 0.0f, 1.0f};
    // Resource name of the bitmap laid on the subset ("flag01"); empty for none.
    std::string texture;
};

struct Vertex {
    Vec3 position;
    Vec3 normal;
    Vec2 uv;
};

struct Triangle {
    uint32_t v[3] = {0, 0, 0};
    uint32_t material = 0;
};

// A model in memory, in the shape the text X writer puts out: one vertex list
// with normals and texture coordinates, triangles, and one material per subset.
class Mesh {
public:
    std::vector<Material> materials;
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;

    uint32_t AddMaterial(const Material& material);

    // One flat triangle with its own three corners; the normal follows from the
    // winding (clockwise seen from outside). Slivers without area are dropped.
    void AddTriangle(Vec3 a, Vec3 b, Vec3 c, uint32_t material, Vec2 ta = {}, Vec2 tb = {}, Vec2 tc = {});

    // The same, wound so that its normal points along `outward`.
    void AddTriangleFacing(Vec3 a, Vec3 b, Vec3 c, Vec3 outward, uint32_t material, Vec2 ta = {},
                           Vec2 tb = {}, Vec2 tc = {});

    // Lets the corners of the triangles from `firstTriangle` on that share a
    // position share one normal, averaged over the faces that meet there at
    // less than `creaseDegrees`: round shapes shade round, edges stay sharp.
    void Smooth(size_t firstTriangle, float creaseDegrees);

    // Merges corners that are equal in every value, so the file lists each once.
    void Compact();

    bool HasTexture() const;
};

// The bounds the game computes when it loads a model: the box of the vertex
// positions, and the sphere about their mean that reaches the farthest one.
struct Bounds {
    Vec3 boxMin;
    Vec3 boxMax;
    Vec3 centre;
    float radius = 0.0f;

    Vec3 Extent() const { return boxMax - boxMin; }
};

Bounds ComputeBounds(const Mesh& mesh);

} // namespace assetgen
