#pragma once

#include "render/Math.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

// A lumpy ball of rings x segments quads in text X form: a station-sized
// collision model with many triangles for the hit table's tests and
// benchmark. Each vertex's radius varies by up to `lumps` of the radius,
// drawn from a fixed sequence by seed. Front faces point outward.
inline std::string LumpyBallModelX(float radius, int rings, int segments, float lumps, uint32_t seed) {
    uint32_t state = seed;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return float((state >> 16) & 0x7FFF) / 32767.0f;
    };
    constexpr float Pi = std::numbers::pi_v<float>;
    std::vector<Vector3> points;
    points.push_back({0, radius, 0});
    for (int r = 1; r < rings; ++r) {
        float polar = Pi * float(r) / float(rings);
        for (int s = 0; s < segments; ++s) {
            float around = 2 * Pi * float(s) / float(segments);
            float length = radius * (1.0f + lumps * (2 * next() - 1));
            points.push_back({length * std::sin(polar) * std::cos(around), length * std::cos(polar),
                              length * std::sin(polar) * std::sin(around)});
        }
    }
    points.push_back({0, -radius, 0});
    int bottom = int(points.size()) - 1;
    auto ring = [segments](int r, int s) { return 1 + (r - 1) * segments + (s % segments); };

    std::vector<int> faces;
    auto face = [&](int a, int b, int c) {
        // Front faces point away from the centre: cross(b - a, c - a) outward.
        Vector3 normal = Vec3Cross(points[size_t(b)] - points[size_t(a)], points[size_t(c)] - points[size_t(a)]);
        Vector3 middle = (points[size_t(a)] + points[size_t(b)] + points[size_t(c)]) * (1.0f / 3.0f);
        if (Vec3Dot(normal, middle) < 0) std::swap(b, c);
        faces.insert(faces.end(), {a, b, c});
    };
    for (int s = 0; s < segments; ++s) face(0, ring(1, s), ring(1, s + 1));
    for (int r = 1; r + 1 < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            face(ring(r, s), ring(r + 1, s), ring(r + 1, s + 1));
            face(ring(r, s), ring(r + 1, s + 1), ring(r, s + 1));
        }
    for (int s = 0; s < segments; ++s) face(bottom, ring(rings - 1, s + 1), ring(rings - 1, s));

    std::ostringstream out;
    out << "xof 0302txt 0032\nMesh Ball {\n " << points.size() << ";\n";
    for (size_t i = 0; i < points.size(); ++i)
        out << " " << points[i].x << ";" << points[i].y << ";" << points[i].z << ";"
            << (i + 1 == points.size() ? ";" : ",") << "\n";
    size_t triangles = faces.size() / 3;
    out << " " << triangles << ";\n";
    for (size_t t = 0; t < triangles; ++t)
        out << " 3;" << faces[3 * t] << "," << faces[3 * t + 1] << "," << faces[3 * t + 2] << ";"
            << (t + 1 == triangles ? ";" : ",") << "\n";
    out << "}\n";
    return out.str();
}
