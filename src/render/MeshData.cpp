#include "render/MeshData.h"

#include "platform/Log.h"
#include "render/XFile.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <exception>
#include <unordered_map>

namespace {

constexpr uint32_t NoNormal = UINT32_MAX;

// Grey, opaque: what a mesh without a material list is drawn with, so that it
// is still seen.
MeshMaterial DefaultMaterial() {
    MeshMaterial material;
    material.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    material.ambient = material.diffuse;
    material.specular = {0.0f, 0.0f, 0.0f, 1.0f};
    material.emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    return material;
}

MeshMaterial ToMeshMaterial(const XMaterial& source) {
    MeshMaterial material;
    material.diffuse = {source.faceColor[0], source.faceColor[1], source.faceColor[2], source.faceColor[3]};
    material.ambient = material.diffuse;
    material.specular = {source.specularColor[0], source.specularColor[1], source.specularColor[2], 1.0f};
    material.emissive = {source.emissiveColor[0], source.emissiveColor[1], source.emissiveColor[2], 1.0f};
    material.power = source.power;
    material.textureFilename = source.textureFilename;
    return material;
}

// A hand-made or damaged XMesh must not index past its arrays.
bool CheckSource(const XMesh& source, std::string& error) {
    size_t cornerCount = source.triangles.size();
    if (cornerCount == 0 || cornerCount % 3 != 0) {
        error = "the mesh has no triangles";
        return false;
    }
    if (source.positions.size() > MaxMeshVertices) {
        error = "more than 65535 vertices";
        return false;
    }
    for (uint32_t p : source.triangles) {
        if (p >= source.positions.size()) {
            error = "vertex index out of range";
            return false;
        }
    }
    if (!source.normalTriangles.empty()) {
        if (source.normalTriangles.size() != cornerCount) {
            error = "normal faces don't match the faces";
            return false;
        }
        for (uint32_t n : source.normalTriangles) {
            if (n >= source.normals.size()) {
                error = "normal index out of range";
                return false;
            }
        }
    }
    if (!source.texCoords.empty() && source.texCoords.size() != source.positions.size()) {
        error = "texture coordinates don't match the vertices";
        return false;
    }
    if (!source.triangleMaterials.empty() || !source.materials.empty()) {
        if (source.triangleMaterials.size() != cornerCount / 3) {
            error = "material indices don't match the faces";
            return false;
        }
        for (uint32_t m : source.triangleMaterials) {
            if (m >= source.materials.size()) {
                error = "material index out of range";
                return false;
            }
        }
    }
    return true;
}

// Area-weighted normals of the faces around each position, for files without
// normals. Front faces are clockwise seen from outside.
std::vector<Vector3> ComputeSmoothNormals(const XMesh& source) {
    std::vector<Vector3> normals(source.positions.size());
    const std::vector<uint32_t>& t = source.triangles;
    for (size_t i = 0; i + 2 < t.size(); i += 3) {
        const Vector3& p0 = source.positions[t[i]];
        Vector3 faceNormal = Vec3Cross(source.positions[t[i + 1]] - p0, source.positions[t[i + 2]] - p0);
        for (size_t k = 0; k < 3; ++k) normals[t[i + k]] += faceNormal;
    }
    for (Vector3& n : normals) n = Vec3Normalize(n);
    return normals;
}

void ComputeSubsetRanges(MeshData& mesh) {
    for (MeshSubset& subset : mesh.subsets) {
        subset.vertexStart = 0;
        subset.vertexCount = 0;
        if (subset.faceCount == 0) continue;
        uint32_t low = UINT32_MAX, high = 0;
        for (size_t i = size_t(subset.faceStart) * 3; i < size_t(subset.faceStart + subset.faceCount) * 3;
             ++i) {
            low = std::min<uint32_t>(low, mesh.indices[i]);
            high = std::max<uint32_t>(high, mesh.indices[i]);
        }
        subset.vertexStart = low;
        subset.vertexCount = high - low + 1;
    }
}

bool IsConsistent(const MeshData& mesh) {
    size_t triangleCount = mesh.attributes.size();
    if (mesh.vertices.empty() || mesh.vertices.size() > MaxMeshVertices) return false;
    if (mesh.indices.size() != triangleCount * 3 || mesh.subsets.size() != mesh.materials.size())
        return false;
    for (uint16_t index : mesh.indices)
        if (index >= mesh.vertices.size()) return false;
    size_t next = 0;
    for (size_t k = 0; k < mesh.subsets.size(); ++k) {
        const MeshSubset& subset = mesh.subsets[k];
        if (subset.attributeId != k || subset.faceStart != next) return false;
        next += subset.faceCount;
        if (next > triangleCount) return false;
        for (size_t f = subset.faceStart; f < next; ++f)
            if (mesh.attributes[f] != k) return false;
    }
    return next == triangleCount;
}

} // namespace

bool BuildMeshData(const XMesh& source, MeshData& mesh, std::string& error) {
    mesh.Clear();
    error.clear();
    if (!CheckSource(source, error)) return false;

    // Vertex p keeps the first normal its faces give it; each other normal
    // gets a copy of the position appended at the end.
    bool fileNormals = !source.normalTriangles.empty();
    std::vector<Vector3> smoothNormals;
    if (!fileNormals) smoothNormals = ComputeSmoothNormals(source);
    std::vector<MeshVertex> vertices(source.positions.size());
    for (size_t p = 0; p < vertices.size(); ++p) {
        vertices[p].position = source.positions[p];
        if (!fileNormals) vertices[p].normal = smoothNormals[p];
        if (!source.texCoords.empty()) {
            vertices[p].u = source.texCoords[p].u;
            vertices[p].v = source.texCoords[p].v;
        }
    }
    size_t cornerCount = source.triangles.size();
    std::vector<uint32_t> corners(source.triangles);
    if (fileNormals) {
        std::vector<uint32_t> normalOf(vertices.size(), NoNormal);
        std::unordered_map<uint64_t, uint32_t> copies;
        for (size_t i = 0; i < cornerCount; ++i) {
            uint32_t p = source.triangles[i];
            uint32_t n = source.normalTriangles[i];
            if (normalOf[p] == NoNormal) {
                normalOf[p] = n;
                vertices[p].normal = source.normals[n];
                continue;
            }
            if (normalOf[p] == n) continue;
            auto [it, added] = copies.try_emplace((uint64_t(p) << 32) | n, uint32_t(vertices.size()));
            if (added) {
                if (vertices.size() == MaxMeshVertices) {
                    error = "more than 65535 vertices after splitting by normals";
                    return false;
                }
                MeshVertex copy = vertices[p];
                copy.normal = source.normals[n];
                vertices.push_back(copy);
            }
            corners[i] = it->second;
        }
    }

    // Sort triangles by material, keeping file order within one material.
    size_t triangleCount = cornerCount / 3;
    bool fileMaterials = !source.materials.empty();
    if (fileMaterials) {
        for (const XMaterial& material : source.materials) mesh.materials.push_back(ToMeshMaterial(material));
    } else {
        mesh.materials.push_back(DefaultMaterial());
    }
    size_t materialCount = mesh.materials.size();
    std::vector<uint32_t> starts(materialCount + 1, 0);
    for (size_t t = 0; t < triangleCount; ++t)
        ++starts[(fileMaterials ? source.triangleMaterials[t] : 0) + 1];
    for (size_t k = 0; k < materialCount; ++k) starts[k + 1] += starts[k];
    mesh.subsets.resize(materialCount);
    for (size_t k = 0; k < materialCount; ++k)
        mesh.subsets[k] = {uint32_t(k), starts[k], starts[k + 1] - starts[k], 0, 0};
    mesh.indices.resize(cornerCount);
    mesh.attributes.resize(triangleCount);
    for (size_t t = 0; t < triangleCount; ++t) {
        uint32_t k = fileMaterials ? source.triangleMaterials[t] : 0;
        uint32_t slot = starts[k]++;
        mesh.attributes[slot] = k;
        for (size_t c = 0; c < 3; ++c) mesh.indices[size_t(slot) * 3 + c] = uint16_t(corners[t * 3 + c]);
    }
    mesh.vertices = std::move(vertices);
    ComputeSubsetRanges(mesh);

    // Stable insertion sort by diffuse alpha, descending.
    mesh.drawOrder.resize(materialCount);
    for (size_t i = 0; i < materialCount; ++i) {
        mesh.drawOrder[i] = uint32_t(i);
        for (size_t j = i; j > 0 && mesh.materials[mesh.drawOrder[j - 1]].diffuse.a <
                                        mesh.materials[mesh.drawOrder[j]].diffuse.a;
             --j)
            std::swap(mesh.drawOrder[j - 1], mesh.drawOrder[j]);
    }

    const void* firstPosition = &mesh.vertices[0].position;
    ComputeBoundingBox(firstPosition, mesh.vertices.size(), sizeof(MeshVertex), mesh.boxMin, mesh.boxMax);
    ComputeBoundingSphere(firstPosition, mesh.vertices.size(), sizeof(MeshVertex), mesh.sphereCenter,
                          mesh.sphereRadius);
    mesh.fileNormals = fileNormals;
    mesh.fileTexCoords = !source.texCoords.empty();
    return true;
}

bool OptimizeMesh(MeshData& mesh) {
    if (!IsConsistent(mesh)) {
        Log("optimization failed.\n");
        return false;
    }
    try {
        std::vector<unsigned int> original(mesh.indices.begin(), mesh.indices.end());
        std::vector<unsigned int> reordered(original.size());
        for (const MeshSubset& subset : mesh.subsets) {
            if (subset.faceCount == 0) continue;
            size_t first = size_t(subset.faceStart) * 3;
            meshopt_optimizeVertexCache(reordered.data() + first, original.data() + first,
                                        size_t(subset.faceCount) * 3, mesh.vertices.size());
        }
        std::vector<MeshVertex> vertices(mesh.vertices.size());
        size_t used =
            meshopt_optimizeVertexFetch(vertices.data(), reordered.data(), reordered.size(),
                                        mesh.vertices.data(), mesh.vertices.size(), sizeof(MeshVertex));
        if (used == 0 || used > vertices.size()) {
            Log("optimization failed.\n");
            return false;
        }
        vertices.resize(used);
        std::vector<uint16_t> indices(reordered.begin(), reordered.end());
        mesh.vertices.swap(vertices);
        mesh.indices.swap(indices);
    } catch (const std::exception&) {
        Log("optimization failed.\n");
        return false;
    }
    ComputeSubsetRanges(mesh);
    return true;
}

bool LoadMeshFromX(std::string_view name, std::optional<std::string_view> text, MeshData& mesh,
                   bool optimize) {
    mesh.Clear();
    int nameLength = int(name.size());
    Log("load(%.*s) ... ", nameLength, name.data());
    if (!text) {
        Log("open failed.\n");
        Log("%.*s: no such X resource\n", nameLength, name.data());
        return false;
    }
    XFile file;
    XError error;
    if (!ParseXFile(*text, file, error)) {
        Log("open failed.\n");
        Log("%.*s line %d: %s\n", nameLength, name.data(), error.line, error.message.c_str());
        return false;
    }
    const XObject* meshObject = FindTopLevelMesh(file);
    if (!meshObject) {
        Log("mesh is not found.\n");
        return false;
    }
    XMesh source;
    if (!ExtractMesh(file, *meshObject, source, error)) {
        Log("failed.\n");
        Log("%.*s line %d: %s\n", nameLength, name.data(), error.line, error.message.c_str());
        return false;
    }
    std::string buildError;
    if (!BuildMeshData(source, mesh, buildError)) {
        mesh.Clear();
        Log("failed.\n");
        Log("%.*s: %s\n", nameLength, name.data(), buildError.c_str());
        return false;
    }
    Log("ok.\n");
    if (optimize) OptimizeMesh(mesh);
    return true;
}
