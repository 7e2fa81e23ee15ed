#pragma once

#include "render/Math.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reader of the text form of the X model format: the "xof 0302txt 0032"
// header (0303 and 0064 too), templates (skipped), data objects with optional
// names and GUIDs, nested objects, references "{ Name }", "//" and "#"
// comments, quoted strings, and every separator style exporters write.
// The reader builds a generic tree; ExtractMesh then reads one Mesh object
// with its normals, texture coordinates and materials out of it.

// One value of a data object's body, in file order; separators are dropped.
struct XValue {
    enum class Kind : uint8_t { Integer, Float, String };
    Kind kind = Kind::Integer;
    // The number (exact for every 32-bit integer); for a string, its index in
    // the owning object's strings.
    double number = 0.0;
};

struct XObject {
    // Template name ("Mesh", "Frame" ...); empty for a reference.
    std::string type;
    // Object name, or for a reference the name of the object referred to;
    // either may be empty.
    std::string name;
    // The GUID written inside the braces, without its angle brackets.
    std::string guid;
    // "{ Name }" or "{ <guid> }" in another object's body.
    bool isReference = false;
    // Line of the object's first token, for messages.
    int line = 0;
    std::vector<XValue> values;
    std::vector<std::string> strings;
    // Nested objects and references, in file order.
    std::vector<XObject> children;

    const std::string& StringOf(const XValue& value) const { return strings[size_t(value.number)]; }
};

// The top-level data objects of one file, in file order.
struct XFile {
    std::vector<XObject> objects;
};

struct XError {
    int line = 0;
    std::string message;
};

// Parses the whole text. Binary and compressed files, unknown headers and
// any syntax error (unbalanced braces, stray characters, bad numbers,
// truncation) return false with the reason in error and leave file empty.
bool ParseXFile(std::string_view text, XFile& file, XError& error);

// The first top-level Mesh object in file order; meshes nested inside frames
// don't count. Null when there is none.
const XObject* FindTopLevelMesh(const XFile& file);

// The object a reference names, searched through the whole file depth first
// (by name, or by GUID when the reference has no name); null when missing.
const XObject* ResolveReference(const XFile& file, const XObject& reference);

struct XMaterial {
    float faceColor[4] = {};
    float power = 0.0f;
    float specularColor[3] = {};
    float emissiveColor[3] = {};
    // Empty when the material names no texture.
    std::string textureFilename;
};

struct XTexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

// A Mesh object read and checked: every index is in range, every number
// finite and of sane size. Polygons are split into fans of triangles (v0, vi,
// vi+1); the triangles of one face are consecutive.
struct XMesh {
    std::string name;
    std::vector<Vector3> positions;
    // Corner count of each face in file order.
    std::vector<uint32_t> faceSizes;
    // Three position indices per triangle.
    std::vector<uint32_t> triangles;
    // Empty when the mesh has no MeshNormals; otherwise three indices into
    // normals per triangle, matching triangles corner for corner.
    std::vector<Vector3> normals;
    std::vector<uint32_t> normalTriangles;
    // Empty, or one per position.
    std::vector<XTexCoord> texCoords;
    // Empty when the mesh has no MeshMaterialList; otherwise the materials in
    // list order and one material index per triangle.
    std::vector<XMaterial> materials;
    std::vector<uint32_t> triangleMaterials;
};

// Largest magnitude accepted for a coordinate, normal, texture coordinate or
// material number; larger values mean a broken file and would overflow the
// bounds arithmetic.
constexpr float XMaxMagnitude = 1.0e9f;

// Reads meshObject (a Mesh of file) into mesh. References to materials are
// resolved in file. Wrong counts, indices out of range, numbers that are not
// finite or beyond XMaxMagnitude, and skin weights naming vertices the mesh
// lacks return false with the reason in error.
bool ExtractMesh(const XFile& file, const XObject& meshObject, XMesh& mesh, XError& error);
