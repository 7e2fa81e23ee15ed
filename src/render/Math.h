#pragma once

#include <cmath>
#include <cstddef>
#include <span>

// The game's geometry follows Direct3D: left-handed, row vectors (a point p
// goes to world space as p x M), translation in row 3, X right, Y up, Z
// forward. Every operation below keeps the published meaning of the Direct3D
// utility function of the same name, because aiming, steering and hit tests
// were tuned against exactly those results.

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

    constexpr Vector3 operator-() const { return {-x, -y, -z}; }
    constexpr Vector3& operator+=(const Vector3& b) {
        x += b.x, y += b.y, z += b.z;
        return *this;
    }
    constexpr Vector3& operator-=(const Vector3& b) {
        x -= b.x, y -= b.y, z -= b.z;
        return *this;
    }
    constexpr Vector3& operator*=(float s) {
        x *= s, y *= s, z *= s;
        return *this;
    }
    constexpr bool operator==(const Vector3&) const = default;
};

constexpr Vector3 operator+(Vector3 a, const Vector3& b) {
    return a += b;
}
constexpr Vector3 operator-(Vector3 a, const Vector3& b) {
    return a -= b;
}
constexpr Vector3 operator*(Vector3 a, float s) {
    return a *= s;
}
constexpr Vector3 operator*(float s, Vector3 a) {
    return a *= s;
}

constexpr float Vec3Dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

constexpr Vector3 Vec3Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

constexpr float Vec3LengthSq(const Vector3& a) {
    return Vec3Dot(a, a);
}

inline float Vec3Length(const Vector3& a) {
    return std::sqrt(Vec3LengthSq(a));
}

// Unit vector along a; the zero vector stays zero instead of becoming NaN.
inline Vector3 Vec3Normalize(const Vector3& a) {
    float length = Vec3Length(a);
    if (length == 0.0f) return {};
    return a * (1.0f / length);
}

// A 4x4 matrix in Direct3D's layout: m[row][col], row vectors, translation in
// m[3][0..2]. The same sixteen floats are an OpenGL column-major matrix, so the
// device loads them as they are.
struct Matrix {
    float m[4][4] = {};

    const float* Data() const { return &m[0][0]; }
    bool operator==(const Matrix&) const = default;
};

static_assert(sizeof(Vector3) == 12, "Vector3 is three packed floats");
static_assert(sizeof(Matrix) == 64, "Matrix is sixteen packed floats");

Matrix MatrixIdentity();
Matrix MatrixScaling(float sx, float sy, float sz);
Matrix MatrixTranslation(float x, float y, float z);
// Rotations by angle radians; seen from the positive end of the axis looking
// at the origin they turn clockwise (left-handed), e.g. RotationY(pi/2) takes
// +z to +x.
Matrix MatrixRotationX(float angle);
Matrix MatrixRotationY(float angle);
Matrix MatrixRotationZ(float angle);
// Rotation about an arbitrary axis, which need not be unit length.
Matrix MatrixRotationAxis(const Vector3& axis, float angle);

// a x b: the transform that applies a first, then b.
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
inline Matrix operator*(const Matrix& a, const Matrix& b) {
    return MatrixMultiply(a, b);
}

// General 4x4 inverse. A singular matrix (determinant 0, or one whose inverse
// is not finite) returns false and leaves out untouched.
bool MatrixInverse(const Matrix& m, Matrix& out, float* determinant = nullptr);

// View matrix of a camera at eye looking at at, with up giving the roll.
Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
// Projection with vertical field of view fovY (radians) and aspect = width /
// height; depth runs from 0 at zNear to 1 at zFar.
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);

// (v, 1) x m, divided by the resulting w (as the original, w = 0 gives
// infinities; callers keep points off the camera plane).
inline Vector3 Vec3TransformCoord(const Vector3& v, const Matrix& m) {
    const auto& a = m.m;
    float x = v.x * a[0][0] + v.y * a[1][0] + v.z * a[2][0] + a[3][0];
    float y = v.x * a[0][1] + v.y * a[1][1] + v.z * a[2][1] + a[3][1];
    float z = v.x * a[0][2] + v.y * a[1][2] + v.z * a[2][2] + a[3][2];
    float w = v.x * a[0][3] + v.y * a[1][3] + v.z * a[2][3] + a[3][3];
    return {x / w, y / w, z / w};
}

// (v, 0) x m: rotation and scale only, no translation.
inline Vector3 Vec3TransformNormal(const Vector3& v, const Matrix& m) {
    const auto& a = m.m;
    return {v.x * a[0][0] + v.y * a[1][0] + v.z * a[2][0], v.x * a[0][1] + v.y * a[1][1] + v.z * a[2][1],
            v.x * a[0][2] + v.y * a[1][2] + v.z * a[2][2]};
}

// Whether the ray from origin along direction passes strictly inside the
// sphere. A sphere wholly behind the origin is missed; an origin inside the
// sphere always hits; a tangent ray misses. direction need not be unit length.
inline bool SphereBoundProbe(const Vector3& center, float radius, const Vector3& origin,
                             const Vector3& direction) {
    Vector3 difference = origin - center;
    float a = Vec3LengthSq(direction);
    float b = Vec3Dot(difference, direction);
    float c = Vec3LengthSq(difference) - radius * radius;
    float d = b * b - a * c;
    return d > 0.0f && std::sqrt(d) > b;
}

// Single-sided ray-triangle test: a hit needs the triangle's front face (det
// of at least 0.0001) towards the ray. On a hit t is the distance along
// direction in its units, and P0 + u (P1 - P0) + v (P2 - P0) the point.
inline bool IntersectTriangle(const Vector3& origin, const Vector3& direction, const Vector3& p0,
                              const Vector3& p1, const Vector3& p2, float& t, float& u, float& v) {
    Vector3 e1 = p1 - p0;
    Vector3 e2 = p2 - p0;
    Vector3 pv = Vec3Cross(direction, e2);
    float det = Vec3Dot(e1, pv);
    if (det < 0.0001f) return false;
    Vector3 s = origin - p0;
    float uu = Vec3Dot(s, pv);
    if (uu < 0.0f || uu > det) return false;
    Vector3 qv = Vec3Cross(s, e1);
    float vv = Vec3Dot(direction, qv);
    if (vv < 0.0f || uu + vv > det) return false;
    t = Vec3Dot(e2, qv) / det;
    u = uu / det;
    v = vv / det;
    return true;
}

// Axis-aligned box of count positions, the first at firstPosition and each
// next one stride bytes further (so positions can be read straight out of an
// interleaved vertex array). No positions: false, and both corners zero.
bool ComputeBoundingBox(const void* firstPosition, size_t count, size_t stride, Vector3& boxMin,
                        Vector3& boxMax);
// Sphere around the same positions: centre = their mean, radius = the largest
// distance of one from the centre. No positions: false, centre and radius zero.
bool ComputeBoundingSphere(const void* firstPosition, size_t count, size_t stride, Vector3& center,
                           float& radius);

inline bool ComputeBoundingBox(std::span<const Vector3> points, Vector3& boxMin, Vector3& boxMax) {
    return ComputeBoundingBox(points.data(), points.size(), sizeof(Vector3), boxMin, boxMax);
}
inline bool ComputeBoundingSphere(std::span<const Vector3> points, Vector3& center, float& radius) {
    return ComputeBoundingSphere(points.data(), points.size(), sizeof(Vector3), center, radius);
}
