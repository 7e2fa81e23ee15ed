#include "render/XFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string SharedFile(const std::string& relative) {
    const char* shared = std::getenv("STARMARCH_SHARED_DIR");
    if (!shared) return {};
    std::ifstream in(std::string(shared) + "/" + relative, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Everything a hand-editing modeller or an exporter may write, in one file.
constexpr const char* EveryFormFile = R"(xof 0302txt 0064
// a comment line
# another comment style
template Vector {
 <3d82ab5e-62da-11cf-ab39-0020af71e433>
 FLOAT x; FLOAT y; FLOAT z;
}
template MeshMaterialList {
 <f6f23f42-7686-11cf-8f52-0040333594a3>
 DWORD nMaterials;
 array DWORD faceIndexes[nFaceIndexes];
 [Material <3d82ab4d-62da-11cf-ab39-0020af71e433>]
}
Material Shared {
 1.0;0.0;0.0;0.5;;   # red, half transparent
 10.0;
 0.1;0.2;0.3;;
 0.0;0.0;0.0;;
 TextureFilename { "dir\\flag01 \"a\""; }
}
Frame Root {
 FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
 Mesh Hidden { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
}
Mesh Ship {
 <12345678-1234-1234-1234-123456789abc>
 6;
 0.0;0.0;0.0;,
 0;1;0;,
 1 1 0,
 1.0e0;0.0;0.0;,
 -1.5;.5;+2;,
 -2;-0.5;1e-50;;
 2;
 4;0,1,2,3;,
 5;0,1,2,3,4;;
 MeshNormals {
  2;
  0;0;-1;,
  0;0;1;;
  2;
  4;0,0,0,0;,
  5;1,1,1,1,1;;
 }
 MeshTextureCoords coords {
  6; 0;0;, 0;1;, 1;1;, 1;0;, 0.5;0.5;, 0.25;0.75;;
 }
 MeshMaterialList {
  2;
  2;
  1,
  0;;
  { Shared }
  Material Inline {
   0.0;1.0;0.0;1.0;;
   5.0;
   1;1;1;;
   0.5;0.5;0.5;;
  }
 }
 VertexDuplicationIndices { 6; 6; 0,1,2,3,4,5; }
}
)";

} // namespace

TEST(XFileTest, ParsesEveryFormIntoATree) {
    XFile file;
    XError error;
    ASSERT_TRUE(ParseXFile(EveryFormFile, file, error)) << error.line << ": " << error.message;
    ASSERT_EQ(file.objects.size(), 3u);
    EXPECT_EQ(file.objects[0].type, "Material");
    EXPECT_EQ(file.objects[0].name, "Shared");
    EXPECT_EQ(file.objects[0].values.size(), 11u);
    ASSERT_EQ(file.objects[0].children.size(), 1u);
    const XObject& texture = file.objects[0].children[0];
    ASSERT_EQ(texture.values.size(), 1u);
    EXPECT_EQ(texture.StringOf(texture.values[0]), "dir\\flag01 \"a\"");

    const XObject& frame = file.objects[1];
    EXPECT_EQ(frame.type, "Frame");
    ASSERT_EQ(frame.children.size(), 2u);
    EXPECT_EQ(frame.children[0].type, "FrameTransformMatrix");
    EXPECT_EQ(frame.children[0].name, "");
    EXPECT_EQ(frame.children[0].values.size(), 16u);
    EXPECT_EQ(frame.children[1].name, "Hidden");

    // Only the top-level mesh counts.
    const XObject* mesh = FindTopLevelMesh(file);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->name, "Ship");
    EXPECT_EQ(mesh->guid, "12345678-1234-1234-1234-123456789abc");
    ASSERT_EQ(mesh->children.size(), 4u);
    const XObject& reference = mesh->children[2].children[0];
    EXPECT_TRUE(reference.isReference);
    EXPECT_EQ(reference.name, "Shared");
    EXPECT_EQ(ResolveReference(file, reference), &file.objects[0]);
    XObject byGuid;
    byGuid.isReference = true;
    byGuid.guid = "12345678-1234-1234-1234-123456789abc";
    EXPECT_EQ(ResolveReference(file, byGuid), mesh);
    // Integers stay integers; floats in any spelling are floats.
    EXPECT_EQ(mesh->values[0].kind, XValue::Kind::Integer);
    EXPECT_EQ(mesh->values[1].kind, XValue::Kind::Float);
}

TEST(XFileTest, ExtractsTheMeshWithFansNormalsAndMaterials) {
    XFile file;
    XError error;
    ASSERT_TRUE(ParseXFile(EveryFormFile, file, error));
    XMesh mesh;
    ASSERT_TRUE(ExtractMesh(file, *FindTopLevelMesh(file), mesh, error)) << error.message;
    ASSERT_EQ(mesh.positions.size(), 6u);
    EXPECT_EQ(mesh.positions[2], Vector3(1, 1, 0));
    EXPECT_EQ(mesh.positions[4], Vector3(-1.5f, 0.5f, 2));
    EXPECT_EQ(mesh.positions[5], Vector3(-2, -0.5f, 0));
    // A quad and a pentagon: fans of 2 and 3 triangles around the first corner.
    EXPECT_EQ(mesh.faceSizes, (std::vector<uint32_t>{4, 5}));
    EXPECT_EQ(mesh.triangles, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 1, 2, 0, 2, 3, 0, 3, 4}));
    EXPECT_EQ(mesh.normalTriangles, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    ASSERT_EQ(mesh.texCoords.size(), 6u);
    EXPECT_EQ(mesh.texCoords[5].v, 0.75f);
    // Face 0 has material 1, face 1 material 0, per triangle.
    EXPECT_EQ(mesh.triangleMaterials, (std::vector<uint32_t>{1, 1, 0, 0, 0}));
    ASSERT_EQ(mesh.materials.size(), 2u);
    EXPECT_EQ(mesh.materials[0].faceColor[3], 0.5f);
    EXPECT_EQ(mesh.materials[0].power, 10.0f);
    EXPECT_EQ(mesh.materials[0].specularColor[2], 0.3f);
    EXPECT_EQ(mesh.materials[0].textureFilename, "dir\\flag01 \"a\"");
    EXPECT_EQ(mesh.materials[1].faceColor[1], 1.0f);
    EXPECT_EQ(mesh.materials[1].emissiveColor[0], 0.5f);
    EXPECT_EQ(mesh.materials[1].textureFilename, "");
}

TEST(XFileTest, HeadersOtherThanTextAreRefused) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"xof 0303txt 0032\nHeader { 1; 0; 1; }\n", nullptr},
        {"xof 0302txt 0064", nullptr},
        {"xof 0302bin 0032\x01\x02\x03", "binary"},
        {"xof 0303tzip0032", "compressed"},
        {"xof 0303bzip0064", "compressed"},
        {"xof 0201txt 0032", "version"},
        {"xof 0302txt 0016", "float size"},
        {"xof 0302txt", "xof"},
        {"", "xof"},
        {"Mesh { 0;; 0;; }", "xof"},
    };
    for (const Case& c : cases) {
        XFile file;
        XError error;
        bool ok = ParseXFile(c.text, file, error);
        EXPECT_EQ(ok, c.message == nullptr) << c.text;
        if (c.message) {
            EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
        }
    }
}

TEST(XFileTest, SyntaxErrorsFailWithTheLineAndLeaveNothing) {
    struct Case {
        std::string body;
        int line;
    };
    const Case cases[] = {
        {"Mesh {\n 3;\n", 1},                  // never closed
        {"Mesh { }\n}\n", 2},                  // one brace too many
        {"Frame A {\n Frame B {\n }\n", 1},    // nested object left open
        {"template Mesh {\n <guid>\n", 1},     // template left open
        {"Mesh {\n 1.#QNAN0; 0; 0;;\n}\n", 2}, // NaN as one tool writes it
        {"Mesh {\n -1.#IND00;\n}\n", 2},
        {"Mesh {\n nan; 0; 0;;\n}\n", 2}, // NaN as a word
        {"Mesh {\n 1e400;\n}\n", 2},      // beyond double
        {"Mesh {\n 1-2;\n}\n", 2},
        {"Mesh {\n \"open string;\n}\n", 2},
        {"Mesh {\n <1234-abcd\n}\n", 2},
        {"Mesh {\n 3; [ 1 ];\n}\n", 2},
        {"Mesh {\n {}\n}\n", 2},
        {"Mesh {\n 1; <1234> 2;\n}\n", 2}, // GUID after data
        {"Mesh Name Other { }\n", 1},
        {"3;\n", 1},
        {"Mesh {\n \x01 \n}\n", 2},
        {std::string("Mesh {\n 1;\0 2;\n}\n", 17), 2},
    };
    for (const Case& c : cases) {
        XFile file;
        XError error;
        EXPECT_FALSE(ParseXFile("xof 0302txt 0032\n" + c.body, file, error)) << c.body;
        EXPECT_EQ(error.line, c.line + 1) << c.body << " -> " << error.message;
        EXPECT_FALSE(error.message.empty());
        EXPECT_TRUE(file.objects.empty());
    }

    // Nesting deep enough to exhaust the stack is refused, not followed.
    std::string deep = "xof 0302txt 0032\n";
    for (int i = 0; i < 100000; ++i) deep += "Frame {";
    XFile file;
    XError error;
    EXPECT_FALSE(ParseXFile(deep, file, error));
    EXPECT_NE(error.message.find("nested"), std::string::npos);
    // Tiny numbers read as zero rather than failing the file.
    ASSERT_TRUE(ParseXFile("xof 0302txt 0032\nA { 1e-400; }", file, error)) << error.message;
    EXPECT_EQ(file.objects[0].values[0].number, 0.0);
}

TEST(XFileTest, BadMeshDataFailsWithoutReadingPastIt) {
    struct Case {
        const char* mesh;
        const char* message;
    };
    const Case cases[] = {
        // A count far beyond the data must not be believed (nor allocated).
        {"4000000000; 0;0;0;; 1; 3;0,0,0;;", "vertex count 4000000000 exceeds"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 4000000000; 3;0,1,2;;", "face count"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 4000000000;0,1,2;;", "face corner count"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;;", "vertex index 3 out of range"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 2; 2;0,1;, 4;0,1,2,0;;", "face 0 has only 2 corners"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,-1,2;;", "not a valid"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1.5,2;;", "not a valid"},
        {"3; 0;0;0;, 1;0;0;, 0;1e20;0;; 1; 3;0,1,2;;", "too large"},
        {"3; 0;0;0;, 1;0;0;, 0;\"y\";0;; 1; 3;0,1,2;;", "string"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; 7;", "too many"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; }",
         "normal index 1 out of range"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; }",
         "2 face normals for 1 faces"},
        {"4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;; 1; 4;0,1,3,2;; MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }",
         "3 normals for 4 corners"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshTextureCoords { 2; 0;0;, 1;1;; }",
         "2 texture coordinates for 3 vertices"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 1;; { Red } }",
         "material index 1 out of range"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Missing } }",
         "material {Missing} not found"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 2; 1; 0;; { Red } }",
         "2 materials listed, 1 given"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Red } { Red } }",
         "more materials"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 2; 0,0;; { Red } }",
         "2 material indices for 1 faces"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; Material { 1;1;1;; } }",
         "data ends before"},
        {"3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; SkinWeights { \"Bone\"; 1; 3; 1.0; }",
         "skin weight vertex 3"},
    };
    for (const Case& c : cases) {
        std::string text = std::string("xof 0302txt 0032\nMaterial Red { 1;0;0;1;; 1; 0;0;0;; 0;0;0;; }\n") +
                           "Mesh M {\n" + c.mesh + "\n}\n";
        XFile file;
        XError error;
        ASSERT_TRUE(ParseXFile(text, file, error)) << c.mesh << " -> " << error.message;
        XMesh mesh;
        EXPECT_FALSE(ExtractMesh(file, *FindTopLevelMesh(file), mesh, error)) << c.mesh;
        EXPECT_NE(error.message.find(c.message), std::string::npos) << c.mesh << " -> " << error.message;
        EXPECT_TRUE(mesh.positions.empty() && mesh.triangles.empty() && mesh.materials.empty());
    }
}

TEST(XFileTest, ShortMaterialIndexListsRepeatTheLastIndex) {
    XFile file;
    XError error;
    ASSERT_TRUE(ParseXFile("xof 0302txt 0032\n"
                           "Mesh { 4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;; 3; 3;0,1,2;, 3;1,3,2;, 4;0,1,3,2;;\n"
                           " MeshMaterialList { 2; 2; 1, 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n"
                           "  Material { 1;1;1;0.5;; 0; 0;0;0;; 0;0;0;; } } }",
                           file, error))
        << error.message;
    XMesh mesh;
    ASSERT_TRUE(ExtractMesh(file, *FindTopLevelMesh(file), mesh, error)) << error.message;
    EXPECT_EQ(mesh.triangleMaterials, (std::vector<uint32_t>{1, 0, 0, 0}));
}

TEST(XFileTest, RealWorldFilesParseWholeAndKeepTheirMeshesNested) {
    std::string cube = SharedFile("fixtures/x/test_cube_text.x");
    std::string kw = SharedFile("fixtures/x/kwxport_test_cubewithvcolors.x");
    if (cube.empty() || kw.empty()) GTEST_SKIP() << "shared fixtures not found (STARMARCH_SHARED_DIR)";

    XFile file;
    XError error;
    ASSERT_TRUE(ParseXFile(cube, file, error)) << error.line << ": " << error.message;
    EXPECT_EQ(FindTopLevelMesh(file), nullptr);
    ASSERT_EQ(file.objects.size(), 3u);
    const XObject& root = file.objects[2];
    ASSERT_EQ(root.type, "Frame");
    const XObject& meshObject = root.children[1].children[1];
    ASSERT_EQ(meshObject.type, "Mesh");
    XMesh mesh;
    ASSERT_TRUE(ExtractMesh(file, meshObject, mesh, error)) << error.message;
    EXPECT_EQ(mesh.positions.size(), 24u);
    EXPECT_EQ(mesh.triangles.size(), 36u);
    EXPECT_EQ(mesh.normals.size(), 24u);
    EXPECT_EQ(mesh.texCoords.size(), 24u);
    // The material list refers to the top-level material by name.
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_FLOAT_EQ(mesh.materials[0].power, 96.07843f);
    EXPECT_FLOAT_EQ(mesh.materials[0].faceColor[0], 0.639216f);

    ASSERT_TRUE(ParseXFile(kw, file, error)) << error.line << ": " << error.message;
    EXPECT_EQ(FindTopLevelMesh(file), nullptr);
    const XObject* kwMesh = nullptr;
    for (const XObject& child : file.objects.back().children)
        if (child.type == "Mesh") kwMesh = &child;
    ASSERT_NE(kwMesh, nullptr);
    ASSERT_TRUE(ExtractMesh(file, *kwMesh, mesh, error)) << error.message;
    EXPECT_EQ(mesh.name, "mesh_Box01");
    ASSERT_EQ(mesh.materials.size(), 3u);
    EXPECT_EQ(mesh.materials[1].textureFilename,
              "C:\\code\\sourceforge\\kwxport\\trunkMerged\\test\\data\\top.tga");
    EXPECT_EQ(mesh.triangleMaterials, (std::vector<uint32_t>{0, 0, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(mesh.texCoords[1].v, 1.0f);
}
