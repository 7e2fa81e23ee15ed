#include "platform/Log.h"
#include "render/MeshData.h"
#include "render/XFile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

void Append(std::string& text, const char* format, double a, double b, double c = 0.0) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b, c);
    text += line;
}

// A model of the size the game's larger ships have: a 20 x 25 quad patch
// bent into a hull, 546 vertices and 1,000 triangles, smooth normals, texture
// coordinates and two materials, written the way exporters write it.
std::string HullText() {
    constexpr int Columns = 20, Rows = 25;
    constexpr int VertexCount = (Columns + 1) * (Rows + 1);
    std::string text =
        "xof 0302txt 0032\n"
        "template Mesh {\n <3d82ab44-62da-11cf-ab39-0020af71e433>\n DWORD nVertices;\n"
        " array Vector vertices[nVertices];\n DWORD nFaces;\n array MeshFace faces[nFaces];\n [...]\n}\n"
        "Mesh hull {\n " +
        std::to_string(VertexCount) + ";\n";
    for (int r = 0; r <= Rows; ++r) {
        for (int c = 0; c <= Columns; ++c) {
            double angle = 3.14159265 * c / Columns;
            Append(text, " %.6f;%.6f;%.6f;", 0.8 * std::cos(angle), 0.25 * std::sin(angle),
                   1.5 * r / Rows - 0.75);
            text += (r == Rows && c == Columns) ? ";\n" : ",\n";
        }
    }
    text += " " + std::to_string(Columns * Rows * 2) + ";\n";
    std::string faces;
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            int a = r * (Columns + 1) + c, b = a + 1, d = a + Columns + 1, e = d + 1;
            faces += " 3;" + std::to_string(a) + "," + std::to_string(d) + "," + std::to_string(b) + ";,\n";
            faces += " 3;" + std::to_string(b) + "," + std::to_string(d) + "," + std::to_string(e) + ";,\n";
        }
    }
    faces[faces.size() - 2] = ';';
    text += faces;
    text += " MeshNormals {\n  " + std::to_string(VertexCount) + ";\n";
    for (int r = 0; r <= Rows; ++r) {
        for (int c = 0; c <= Columns; ++c) {
            double angle = 3.14159265 * c / Columns;
            Append(text, "  %.6f;%.6f;%.6f;", std::cos(angle), std::sin(angle));
            text += (r == Rows && c == Columns) ? ";\n" : ",\n";
        }
    }
    text += "  " + std::to_string(Columns * Rows * 2) + ";\n" + faces + " }\n";
    text += " MeshTextureCoords {\n  " + std::to_string(VertexCount) + ";\n";
    for (int r = 0; r <= Rows; ++r) {
        for (int c = 0; c <= Columns; ++c) {
            Append(text, "  %.6f;%.6f;", double(c) / Columns, double(r) / Rows);
            text += (r == Rows && c == Columns) ? ";\n" : ",\n";
        }
    }
    text += " }\n MeshMaterialList {\n  2;\n  " + std::to_string(Columns * Rows * 2) + ";\n";
    for (int t = 0; t < Columns * Rows * 2; ++t) text += t % 7 == 0 ? "  1,\n" : "  0,\n";
    text[text.size() - 2] = ';';
    text +=
        "  Material { 0.8;0.8;0.8;1.0;; 20.0; 0.5;0.5;0.5;; 0.0;0.0;0.0;; }\n"
        "  Material { 0.2;0.4;1.0;0.6;; 20.0; 0.5;0.5;0.5;; 0.0;0.0;0.0;; TextureFilename { \"flag01\"; } }\n"
        " }\n}\n";
    return text;
}

void BM_ParseX(benchmark::State& state) {
    std::string text = HullText();
    for (auto _ : state) {
        XFile file;
        XError error;
        bool ok = ParseXFile(text, file, error);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ParseX)->Unit(benchmark::kMicrosecond);

// Parse, extraction, vertex split, sort, bounds and meshoptimizer passes:
// everything the game does on the CPU for one model at start-up.
void BM_LoadMeshFromX(benchmark::State& state) {
    std::string text = HullText();
    std::string log;
    SetLogCapture(&log);
    for (auto _ : state) {
        MeshData mesh;
        log.clear();
        if (!LoadMeshFromX("HULL", text, mesh) || mesh.TriangleCount() != 1000) {
            state.SkipWithError(("load failed: " + log).c_str());
            break;
        }
        benchmark::DoNotOptimize(mesh.vertices.data());
    }
    SetLogCapture(nullptr);
    state.counters["triangles"] = 1000;
}
BENCHMARK(BM_LoadMeshFromX)->Unit(benchmark::kMicrosecond);

} // namespace
