#include "assetgen/XWriter.h"

#include <cstdio>

namespace assetgen {

namespace {

// "%.6f", with negative zero written as zero.
std::string Number(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", double(value));
    std::string s = text;
    if (s == "-0.000000") s = "0.000000";
    return s;
}

std::string Triple(float a, float b, float c) {
    return Number(a) + ";" + Number(b) + ";" + Number(c) + ";";
}

// Elements of a list are separated by "," and the list ends with ";".
const char* Separator(size_t i, size_t count) {
    return i + 1 < count ? "," : ";";
}

} // namespace

std::string WriteXText(const Mesh& mesh, const std::string& name) {
    std::string out = "xof 0302txt 0032\n\n";
    out += "Mesh " + name + " {\n";
    size_t nv = mesh.vertices.size(), nt = mesh.triangles.size();
    out += " " + std::to_string(nv) + ";\n";
    for (size_t i = 0; i < nv; ++i) {
        Vec3 p = mesh.vertices[i].position;
        out += " " + Triple(p.x, p.y, p.z) + Separator(i, nv) + "\n";
    }
    std::string faces = " " + std::to_string(nt) + ";\n";
    for (size_t i = 0; i < nt; ++i) {
        const Triangle& t = mesh.triangles[i];
        faces += " 3;" + std::to_string(t.v[0]) + "," + std::to_string(t.v[1]) + "," +
                 std::to_string(t.v[2]) + ";" + Separator(i, nt) + "\n";
    }
    out += faces;

    out += "\n MeshNormals {\n";
    out += " " + std::to_string(nv) + ";\n";
    for (size_t i = 0; i < nv; ++i) {
        Vec3 n = mesh.vertices[i].normal;
        out += " " + Triple(n.x, n.y, n.z) + Separator(i, nv) + "\n";
    }
    // The normals are indexed like the positions, one per vertex.
    out += faces;
    out += " }\n";

    out += "\n MeshMaterialList {\n";
    out += " " + std::to_string(mesh.materials.size()) + ";\n";
    out += " " + std::to_string(nt) + ";\n";
    for (size_t i = 0; i < nt; ++i)
        out += " " + std::to_string(mesh.triangles[i].material) + Separator(i, nt) + "\n";
    for (const Material& m : mesh.materials) {
        out += "\n  Material {\n";
        out += "  " + Number(m.diffuse.r) + ";" + Number(m.diffuse.g) + ";" + Number(m.diffuse.b) + ";" +
               Number(m.diffuse.a) + ";;\n";
        out += "  " + Number(m.power) + ";\n";
        out += "  " + Triple(m.specular.r, m.specular.g, m.specular.b) + ";\n";
        out += "  " + Triple(m.emissive.r, m.emissive.g, m.emissive.b) + ";\n";
        if (!m.texture.empty()) out += "\n   TextureFilename {\n   \"" + m.texture + "\";\n   }\n";
        out += "  }\n";
    }
    out += " }\n";

    if (mesh.HasTexture()) {
        out += "\n MeshTextureCoords {\n";
        out += " " + std::to_string(nv) + ";\n";
        for (size_t i = 0; i < nv; ++i) {
            Vec2 uv = mesh.vertices[i].uv;
            out += " " + Number(uv.u) + ";" + Number(uv.v) + ";" + Separator(i, nv) + "\n";
        }
        out += " }\n";
    }
    out += "}\n";
    return out;
}

} // namespace assetgen
