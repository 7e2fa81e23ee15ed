#include "support/TestModels.h"

#include <cstdio>
#include <sstream>

std::string BoxModelX(float hx, float hy, float hz, const std::vector<TestMaterial>& materials,
                      const std::vector<int>& materialOf) {
    struct Face {
        float n[3];
        // Corners as signs of (x, y, z), in winding order.
        int c[4][3];
    };
    // For each face, cross(b - a, c - a) points out of the box.
    const Face faces[6] = {
        {{-1, 0, 0}, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
        {{1, 0, 0}, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}},
        {{0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
        {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
        {{0, 0, -1}, {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}},
        {{0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
    };
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    std::ostringstream out;
    out << "xof 0302txt 0032\n// made by the tests\nMesh Box {\n 24;\n";
    for (int f = 0; f < 6; ++f)
        for (int k = 0; k < 4; ++k)
            out << " " << faces[f].c[k][0] * hx << ";" << faces[f].c[k][1] * hy << ";" << faces[f].c[k][2] * hz
                << ";" << (f == 5 && k == 3 ? ";" : ",") << "\n";
    out << " 12;\n";
    for (int f = 0; f < 6; ++f) {
        int b = f * 4;
        out << " 3;" << b << "," << b + 1 << "," << b + 2 << ";,\n";
        out << " 3;" << b << "," << b + 2 << "," << b + 3 << ";" << (f == 5 ? ";" : ",") << "\n";
    }
    out << " MeshNormals {\n  6;\n";
    for (int f = 0; f < 6; ++f)
        out << "  " << faces[f].n[0] << ";" << faces[f].n[1] << ";" << faces[f].n[2] << ";" << (f == 5 ? ";" : ",")
            << "\n";
    out << "  12;\n";
    for (int f = 0; f < 6; ++f)
        for (int t = 0; t < 2; ++t) out << "  3;" << f << "," << f << "," << f << ";" << (f == 5 && t == 1 ? ";" : ",") << "\n";
    out << " }\n MeshTextureCoords {\n  24;\n";
    for (int f = 0; f < 6; ++f)
        for (int k = 0; k < 4; ++k) out << "  " << uv[k][0] << ";" << uv[k][1] << ";" << (f == 5 && k == 3 ? ";" : ",") << "\n";
    out << " }\n MeshMaterialList {\n  " << materials.size() << ";\n  12;\n";
    for (int t = 0; t < 12; ++t) out << "  " << materialOf[size_t(t / 2)] << (t == 11 ? ";;" : ",") << "\n";
    for (const TestMaterial& m : materials) {
        out << "  Material {\n   " << m.r << ";" << m.g << ";" << m.b << ";" << m.a << ";;\n   0.0;\n   0;0;0;;\n   0;0;0;;\n";
        if (!m.texture.empty()) out << "   TextureFilename { \"" << m.texture << "\"; }\n";
        out << "  }\n";
    }
    out << " }\n}\n";
    return out.str();
}

std::vector<unsigned char> TestBitmap(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
    std::vector<unsigned char> bytes;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back((unsigned char)(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v) {
        bytes.push_back((unsigned char)v);
        bytes.push_back((unsigned char)(v >> 8));
    };
    uint32_t imageSize = uint32_t(width * height * 4);
    // BITMAPV4 header so the alpha channel is explicit.
    uint32_t headerSize = 108;
    bytes.push_back('B');
    bytes.push_back('M');
    put32(14 + headerSize + imageSize);
    put32(0);
    put32(14 + headerSize);
    put32(headerSize);
    put32(uint32_t(width));
    put32(uint32_t(height));
    put16(1);
    put16(32);
    put32(3); // BI_BITFIELDS
    put32(imageSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    put32(0x00FF0000);
    put32(0x0000FF00);
    put32(0x000000FF);
    put32(0xFF000000);
    put32(0x73524742); // sRGB
    for (int i = 0; i < 12; ++i) put32(0);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) put32(pixel(x, y));
    return bytes;
}
