#pragma once

#include <cmath>

// Small vector and frame arithmetic for building models. Left-handed, +y up,
// +z forward, row vectors: a point p goes to origin + p.x * x + p.y * y + p.z * z.
namespace assetgen {

constexpr float Pi = 3.14159265358979f;

struct Vec2 {
    float u = 0.0f;
    float v = 0.0f;
};

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator-(Vec3 a) {
    return {-a.x, -a.y, -a.z};
}
inline Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline Vec3 operator*(float s, Vec3 a) {
    return a * s;
}
inline Vec3 operator/(Vec3 a, float s) {
    return {a.x / s, a.y / s, a.z / s};
}
inline Vec3& operator+=(Vec3& a, Vec3 b) {
    return a = a + b;
}
inline bool operator==(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

inline float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Normalize(Vec3 a) {
    float length = Length(a);
    return length > 0.0f ? a / length : Vec3{};
}

// The outward normal of a front-facing triangle: its corners run clockwise as
// seen from outside, which in left-handed space is cross(b - a, c - a).
inline Vec3 FaceNormal(Vec3 a, Vec3 b, Vec3 c) {
    return Normalize(Cross(b - a, c - a));
}

// An affine placement: three axis rows and an origin, as a scene node holds it.
struct Frame {
    Vec3 x{1.0f, 0.0f, 0.0f};
    Vec3 y{0.0f, 1.0f, 0.0f};
    Vec3 z{0.0f, 0.0f, 1.0f};
    Vec3 origin{};

    Vec3 Point(Vec3 p) const { return origin + x * p.x + y * p.y + z * p.z; }
    Vec3 Direction(Vec3 d) const { return x * d.x + y * d.y + z * d.z; }
    float Determinant() const { return Dot(x, Cross(y, z)); }

    // Turns a normal as the inverse transpose of the axes does, so that it
    // stays perpendicular to a surface under non-uniform scale.
    Vec3 Normal(Vec3 n) const {
        Vec3 cx = Cross(y, z), cy = Cross(z, x), cz = Cross(x, y);
        return Normalize(cx * n.x + cy * n.y + cz * n.z);
    }

    static Frame At(Vec3 origin) {
        Frame f;
        f.origin = origin;
        return f;
    }
    static Frame Scale(float sx, float sy, float sz) {
        Frame f;
        f.x = {sx, 0.0f, 0.0f};
        f.y = {0.0f, sy, 0.0f};
        f.z = {0.0f, 0.0f, sz};
        return f;
    }
    // Forward along `forward`, up as near `up` as it can be: the basis a scene
    // node gets from SetOrientation.
    static Frame Oriented(Vec3 forward, Vec3 up, Vec3 origin = {}) {
        Frame f;
        f.z = Normalize(forward);
        f.x = Normalize(Cross(up, f.z));
        f.y = Normalize(Cross(f.z, f.x));
        f.origin = origin;
        return f;
    }
    // Rotations about the frame's own axes, positive as Direct3D turns them.
    static Frame RotationX(float a) {
        Frame f;
        f.y = {0.0f, std::cos(a), std::sin(a)};
        f.z = {0.0f, -std::sin(a), std::cos(a)};
        return f;
    }
    static Frame RotationY(float a) {
        Frame f;
        f.x = {std::cos(a), 0.0f, -std::sin(a)};
        f.z = {std::sin(a), 0.0f, std::cos(a)};
        return f;
    }
    static Frame RotationZ(float a) {
        Frame f;
        f.x = {std::cos(a), std::sin(a), 0.0f};
        f.y = {-std::sin(a), std::cos(a), 0.0f};
        return f;
    }
};

// inner applied first, then outer.
inline Frame operator*(const Frame& inner, const Frame& outer) {
    Frame f;
    f.x = outer.Direction(inner.x);
    f.y = outer.Direction(inner.y);
    f.z = outer.Direction(inner.z);
    f.origin = outer.Point(inner.origin);
    return f;
}

} // namespace assetgen
