#pragma once

#include "render/Math.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct XMesh;

// The CPU side of a loaded model: what the device uploads, what picking reads
// back, and the materials, draw order and bounds the game uses. Read-only once
// loaded.

// One vertex: position, normal, one texture coordinate pair (32 bytes, the
// layout of the fixed-function XYZ | NORMAL | TEX1 format).
struct MeshVertex {
    Vector3 position;
    Vector3 normal;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(MeshVertex) == 32, "MeshVertex is eight packed floats");

struct ColorValue {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// A material in the fixed-function layout (diffuse, ambient, specular,
// emissive, power), plus the texture the model's file names for it.
struct MeshMaterial {
    ColorValue diffuse;
    // Equal to diffuse after loading; fading relies on that.
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0.0f;
    // Resource name of the texture as written in the model; empty for none.
    std::string textureFilename;
};

// The triangles drawn with one material: faceCount triangles from faceStart,
// whose indices all lie in vertexStart .. vertexStart + vertexCount - 1.
struct MeshSubset {
    uint32_t attributeId = 0;
    uint32_t faceStart = 0;
    uint32_t faceCount = 0;
    uint32_t vertexStart = 0;
    uint32_t vertexCount = 0;
};

// Largest vertex count after splitting: indices are 16 bits.
constexpr size_t MaxMeshVertices = 65535;

struct MeshData {
    std::vector<MeshVertex> vertices;
    // Three per triangle; triangles are sorted by attribute.
    std::vector<uint16_t> indices;
    // Material index of each triangle, ascending.
    std::vector<uint32_t> attributes;
    std::vector<MeshMaterial> materials;
    // Subset k draws material k; one per material, empty ones included.
    std::vector<MeshSubset> subsets;
    // Subset indices in drawing order: by diffuse alpha, descending, equal
    // alphas in file order, so opaque subsets come before translucent ones.
    std::vector<uint32_t> drawOrder;
    // Bounds of the vertex positions in model space, taken before the
    // optimisation drops unused vertices.
    Vector3 boxMin;
    Vector3 boxMax;
    Vector3 sphereCenter;
    float sphereRadius = 0.0f;
    // False when the file had no normals and they were computed from the
    // faces, or no texture coordinates and they are all zero.
    bool fileNormals = false;
    bool fileTexCoords = false;

    bool Empty() const { return indices.empty(); }
    void Clear() { *this = MeshData(); }
    size_t TriangleCount() const { return attributes.size(); }
};

// Builds mesh from a checked X mesh: splits each position into one vertex per
// distinct normal its faces give it, sorts triangles by material, makes the
// subsets, the materials (ambient = diffuse; one grey default when the file
// lists none), the draw order and the bounds. More than MaxMeshVertices
// vertices, or no triangles, return false with the reason in error.
bool BuildMeshData(const XMesh& source, MeshData& mesh, std::string& error);

// Reorders each subset's triangles for the vertex cache, then the vertices
// in order of first use, dropping unused ones. A mesh that is not consistent
// logs "optimization failed.\n", stays as it was and returns false.
bool OptimizeMesh(MeshData& mesh);

// The CPU part of loading a model named name from its X text (nullopt: the
// resource is missing). Logs "load(name) ... " and then "ok.\n", or
// "open failed.\n" (missing, not text X data, syntax error), "mesh is not
// found.\n" (no top-level Mesh) or "failed.\n" (a mesh that can't be used);
// a failure adds one line with the reason and leaves mesh empty. With
// optimize, OptimizeMesh runs after "ok."; its failure doesn't fail the load.
bool LoadMeshFromX(std::string_view name, std::optional<std::string_view> text, MeshData& mesh,
                   bool optimize = true);
