#include "render/MeshData.h"

#include "platform/Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace {

template <typename... Args> std::string Format(const char* format, Args... args) {
    int length = std::snprintf(nullptr, 0, format, args...);
    std::string text(size_t(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

using LogCapture = ScopedLogCapture;

std::string MaterialText(float alpha, const char* texture = nullptr) {
    std::ostringstream out;
    out << "Material { 1;1;1;" << alpha << ";; 8; 0.5;0.5;0.5;; 0;0;0;;";
    if (texture) out << " TextureFilename { \"" << texture << "\"; }";
    out << " }\n";
    return out.str();
}

// A cube of 8 shared corners whose 6 quads each have their own normal, so
// every corner needs three vertices. Face f uses material materialOf[f].
std::string CubeText(const std::array<int, 6>& materialOf, int materialCount,
                     bool extraUnusedVertex = false) {
    std::ostringstream out;
    out << "xof 0302txt 0032\nMesh Cube {\n " << (extraUnusedVertex ? 9 : 8) << ";\n";
    for (int i = 0; i < 8; ++i)
        out << " " << ((i & 1) ? 1 : -1) << ";" << ((i & 2) ? 1 : -1) << ";" << ((i & 4) ? 1 : -1) << ";,\n";
    if (extraUnusedVertex) out << " 5;5;5;,\n";
    out << " ;\n 6;\n 4;0,2,6,4;, 4;1,5,7,3;, 4;0,4,5,1;, 4;2,3,7,6;, 4;0,1,3,2;, 4;4,6,7,5;;\n";
    out << " MeshNormals { 6; -1;0;0;, 1;0;0;, 0;-1;0;, 0;1;0;, 0;0;-1;, 0;0;1;;\n";
    out << "  6; 4;0,0,0,0;, 4;1,1,1,1;, 4;2,2,2,2;, 4;3,3,3,3;, 4;4,4,4,4;, 4;5,5,5,5;; }\n";
    out << " MeshMaterialList { " << materialCount << "; 6;";
    for (int f = 0; f < 6; ++f) out << (f ? "," : "") << materialOf[f];
    out << ";;\n";
    for (int m = 0; m < materialCount; ++m) out << "  " << MaterialText(1.0f - 0.1f * float(m));
    out << " }\n}\n";
    return out.str();
}

using CornerKey = std::array<float, 8>;
using TriangleKey = std::array<CornerKey, 3>;

CornerKey KeyOf(const MeshVertex& v) {
    return {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z, v.u, v.v};
}

// The triangles of each subset as sorted lists of vertex contents, rotated to
// start at their smallest corner: equal before and after any reordering that
// keeps the geometry and the winding.
std::vector<std::vector<TriangleKey>> Geometry(const MeshData& mesh) {
    std::vector<std::vector<TriangleKey>> subsets;
    for (const MeshSubset& subset : mesh.subsets) {
        std::vector<TriangleKey> triangles;
        for (uint32_t f = subset.faceStart; f < subset.faceStart + subset.faceCount; ++f) {
            TriangleKey t;
            for (int c = 0; c < 3; ++c) t[c] = KeyOf(mesh.vertices.at(mesh.indices.at(f * 3 + c)));
            std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
            triangles.push_back(t);
        }
        std::sort(triangles.begin(), triangles.end());
        subsets.push_back(triangles);
    }
    return subsets;
}

void ExpectSubsetsCoverTheirIndices(const MeshData& mesh) {
    for (const MeshSubset& subset : mesh.subsets) {
        for (uint32_t i = subset.faceStart * 3; i < (subset.faceStart + subset.faceCount) * 3; ++i) {
            EXPECT_GE(mesh.indices[i], subset.vertexStart);
            EXPECT_LT(mesh.indices[i], subset.vertexStart + subset.vertexCount);
            EXPECT_EQ(mesh.attributes[i / 3], subset.attributeId);
        }
    }
}

} // namespace

TEST(MeshDataTest, LoadsTheFirstTopLevelMeshWithDrawOrderAndBounds) {
    // Four triangles at z = 0..3 whose materials have alphas 1.0, 0.5, 1.0,
    // 0.8 in file order; they appear in the file in material order 3, 1, 0, 2.
    std::string text = "xof 0302txt 0032\n"
                       "Header { 1; 0; 1; }\n"
                       "Frame Before { Mesh Nested { 3; 9;9;9;, 9;9;8;, 9;8;9;; 1; 3;0,1,2;; } }\n"
                       "Mesh First {\n 12;\n";
    const int zOfFace[4] = {3, 1, 0, 2};
    for (int z : zOfFace) text += Format("0;0;%d;, 1;0;%d;, 0;1;%d;,\n", z, z, z);
    text += ";\n 4; 3;0,1,2;, 3;3,4,5;, 3;6,7,8;, 3;9,10,11;;\n"
            " MeshMaterialList { 4; 4; 3,1,0,2;;\n" +
            MaterialText(1.0f, "flag01") + MaterialText(0.5f) + MaterialText(1.0f) + MaterialText(0.8f) +
            " }\n}\nMesh Second { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";

    LogCapture log;
    MeshData mesh;
    ASSERT_TRUE(LoadMeshFromX("FIGHTER_01", text, mesh));
    EXPECT_EQ(log.text, "load(FIGHTER_01) ... ok.\n");

    ASSERT_EQ(mesh.materials.size(), 4u);
    EXPECT_EQ(mesh.drawOrder, (std::vector<uint32_t>{0, 2, 3, 1}));
    for (const MeshMaterial& m : mesh.materials) {
        EXPECT_EQ(m.ambient.r, m.diffuse.r);
        EXPECT_EQ(m.ambient.a, m.diffuse.a);
        EXPECT_EQ(m.power, 8.0f);
        EXPECT_EQ(m.specular.g, 0.5f);
    }
    EXPECT_EQ(mesh.materials[1].diffuse.a, 0.5f);
    EXPECT_EQ(mesh.materials[0].textureFilename, "flag01");
    EXPECT_EQ(mesh.materials[1].textureFilename, "");

    // Subset k holds exactly the triangle drawn with material k (at z = k).
    ASSERT_EQ(mesh.subsets.size(), 4u);
    EXPECT_EQ(mesh.TriangleCount(), 4u);
    for (uint32_t k = 0; k < 4; ++k) {
        ASSERT_EQ(mesh.subsets[k].faceCount, 1u);
        EXPECT_EQ(mesh.subsets[k].faceStart, k);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(mesh.vertices[mesh.indices[k * 3 + c]].position.z, float(k));
    }
    ExpectSubsetsCoverTheirIndices(mesh);

    // Bounds come from the first top-level mesh only; the sphere is centred
    // on the mean of the vertices.
    EXPECT_EQ(mesh.boxMin, Vector3(0, 0, 0));
    EXPECT_EQ(mesh.boxMax, Vector3(1, 1, 3));
    EXPECT_NEAR(mesh.sphereCenter.x, 1.0f / 3, 1e-6f);
    EXPECT_NEAR(mesh.sphereCenter.y, 1.0f / 3, 1e-6f);
    EXPECT_NEAR(mesh.sphereCenter.z, 1.5f, 1e-6f);
    EXPECT_NEAR(mesh.sphereRadius, std::sqrt(4.0f / 9 + 1.0f / 9 + 2.25f), 1e-6f);
}

TEST(MeshDataTest, SplitsCornersThatCarrySeveralNormals) {
    LogCapture log;
    MeshData mesh;
    ASSERT_TRUE(LoadMeshFromX("CUBE", CubeText({0, 0, 0, 0, 0, 0}, 1), mesh, false));
    EXPECT_TRUE(mesh.fileNormals);
    ASSERT_EQ(mesh.vertices.size(), 24u);
    ASSERT_EQ(mesh.TriangleCount(), 12u);
    // Every triangle is flat: its corners carry its face's normal, which
    // points out of the cube through all three corners.
    for (size_t t = 0; t < 12; ++t) {
        const MeshVertex& a = mesh.vertices[mesh.indices[t * 3]];
        for (int c = 0; c < 3; ++c) {
            const MeshVertex& v = mesh.vertices[mesh.indices[t * 3 + c]];
            EXPECT_EQ(v.normal, a.normal);
            EXPECT_EQ(Vec3Dot(v.position, v.normal), 1.0f);
        }
    }
    // The file's eight corners keep their places; the copies follow.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(mesh.vertices[i].position.x, (i & 1) ? 1.0f : -1.0f);
    // Bounds count each copy: the mean of a symmetric cube stays at the centre.
    EXPECT_EQ(mesh.sphereCenter, Vector3(0, 0, 0));
    EXPECT_FLOAT_EQ(mesh.sphereRadius, std::sqrt(3.0f));
}

TEST(MeshDataTest, OptimisationKeepsEveryTriangleInItsSubset) {
    LogCapture log;
    MeshData plain, optimised;
    std::array<int, 6> materials = {2, 0, 1, 2, 0, 2};
    ASSERT_TRUE(LoadMeshFromX("CUBE", CubeText(materials, 3, true), plain, false));
    ASSERT_TRUE(LoadMeshFromX("CUBE", CubeText(materials, 3, true), optimised));
    EXPECT_EQ(log.text, "load(CUBE) ... ok.\nload(CUBE) ... ok.\n");

    // The unused ninth corner is dropped; the geometry of each subset stays.
    EXPECT_EQ(plain.vertices.size(), 25u);
    EXPECT_EQ(optimised.vertices.size(), 24u);
    EXPECT_EQ(Geometry(optimised), Geometry(plain));
    EXPECT_EQ(optimised.subsets[0].faceCount, 4u);
    EXPECT_EQ(optimised.subsets[2].faceCount, 6u);
    ExpectSubsetsCoverTheirIndices(plain);
    ExpectSubsetsCoverTheirIndices(optimised);
    // The bounds were taken before the unused corner was dropped.
    EXPECT_EQ(optimised.boxMax, Vector3(5, 5, 5));
    EXPECT_EQ(optimised.boxMax, plain.boxMax);
    EXPECT_EQ(optimised.sphereRadius, plain.sphereRadius);

    // A mesh that doesn't hold together is left exactly as it was.
    MeshData broken = optimised;
    broken.indices[4] = uint16_t(broken.vertices.size());
    std::vector<uint16_t> indicesBefore = broken.indices;
    log.text.clear();
    EXPECT_FALSE(OptimizeMesh(broken));
    EXPECT_EQ(log.text, "optimization failed.\n");
    EXPECT_EQ(broken.indices, indicesBefore);
    EXPECT_EQ(broken.vertices.size(), 24u);
    broken = optimised;
    broken.attributes[0] = 1;
    EXPECT_FALSE(OptimizeMesh(broken));
}

TEST(MeshDataTest, MeshesWithoutNormalsOrMaterialsStayVisible) {
    LogCapture log;
    MeshData mesh;
    // One clockwise triangle seen from -z.
    ASSERT_TRUE(
        LoadMeshFromX("FLAT", "xof 0302txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; }", mesh));
    EXPECT_FALSE(mesh.fileNormals);
    EXPECT_FALSE(mesh.fileTexCoords);
    for (const MeshVertex& v : mesh.vertices) EXPECT_EQ(v.normal, Vector3(0, 0, -1));
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(mesh.materials[0].diffuse.a, 1.0f);
    EXPECT_EQ(mesh.materials[0].ambient.r, mesh.materials[0].diffuse.r);
    EXPECT_EQ(mesh.drawOrder, (std::vector<uint32_t>{0}));
    EXPECT_EQ(mesh.subsets[0].faceCount, 1u);
}

TEST(MeshDataTest, FailuresLogTheirLineAndLeaveTheMeshEmpty) {
    struct Case {
        std::optional<std::string> text;
        const char* result;
        const char* detail;
    };
    const std::string good = "xof 0302txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; }";
    const Case cases[] = {
        {std::nullopt, "open failed.\n", "no such X resource"},
        {std::string("xof 0302bin 0032\x1f\x00\x01", 19), "open failed.\n", "binary"},
        {"xof 0303tzip0032", "open failed.\n", "compressed"},
        {"xof 0302txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;;", "open failed.\n", "not closed"},
        {"xof 0302txt 0032\nFrame { Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; } }",
         "mesh is not found.\n", nullptr},
        {"xof 0302txt 0032\n", "mesh is not found.\n", nullptr},
        {"xof 0302txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,5;; }", "failed.\n", "out of range"},
        {"xof 0302txt 0032\nMesh { 0;; 0;; }", "failed.\n", "no triangles"},
        {"xof 0302txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;3.5e38;; 1; 3;0,1,2;; }", "failed.\n", "too large"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        MeshData mesh;
        ASSERT_TRUE(LoadMeshFromX("MODEL", good, mesh));
        log.text.clear();
        std::optional<std::string_view> text;
        if (c.text) text = *c.text;
        EXPECT_FALSE(LoadMeshFromX("MODEL", text, mesh));
        std::string expected = std::string("load(MODEL) ... ") + c.result;
        if (!c.detail) {
            EXPECT_EQ(log.text, expected);
        } else {
            EXPECT_EQ(log.text.substr(0, expected.size()), expected) << log.text;
            std::string detail = log.text.substr(std::min(expected.size(), log.text.size()));
            EXPECT_EQ(detail.rfind("MODEL", 0), 0u) << detail;
            EXPECT_NE(detail.find(c.detail), std::string::npos) << detail;
            EXPECT_EQ(std::count(detail.begin(), detail.end(), '\n'), 1) << detail;
        }
        EXPECT_TRUE(mesh.Empty());
        EXPECT_TRUE(mesh.vertices.empty() && mesh.materials.empty() && mesh.drawOrder.empty());
    }
}

TEST(MeshDataTest, SixteenBitIndicesLimitTheVerticesAfterSplitting) {
    // Each position is used by three (degenerate) triangles with different
    // normals, so n positions become 3n vertices: 65535 is the most a 16-bit
    // index reaches.
    auto text = [](int positions) {
        std::string out = Format("xof 0302txt 0032\nMesh {\n%d;\n", positions);
        for (int i = 0; i < positions; ++i) out += Format("%d;0;0;,", i);
        out += Format(";\n%d;\n", positions * 3);
        for (int p = 0; p < positions; ++p)
            out += Format("3;%d,%d,%d;,3;%d,%d,%d;,3;%d,%d,%d;,", p, p, p, p, p, p, p, p, p);
        out += Format(";\nMeshNormals { 3; 1;0;0;, 0;1;0;, 0;0;1;; %d;\n", positions * 3);
        for (int p = 0; p < positions; ++p) out += "3;0,0,0;,3;1,1,1;,3;2,2,2;,";
        return out + ";\n}\n}\n";
    };
    LogCapture log;
    MeshData mesh;
    ASSERT_TRUE(LoadMeshFromX("BIG", text(21845), mesh, false));
    EXPECT_EQ(mesh.vertices.size(), 65535u);
    EXPECT_EQ(*std::max_element(mesh.indices.begin(), mesh.indices.end()), 65534);

    log.text.clear();
    EXPECT_FALSE(LoadMeshFromX("BIG", text(21846), mesh, false));
    EXPECT_EQ(log.text.rfind("load(BIG) ... failed.\nBIG: more than 65535 vertices", 0), 0u) << log.text;
    EXPECT_TRUE(mesh.Empty());
}
