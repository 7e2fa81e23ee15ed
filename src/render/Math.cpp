#include "render/Math.h"

#include <cstring>

Matrix MatrixIdentity() {
    Matrix r;
    r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
    return r;
}

Matrix MatrixScaling(float sx, float sy, float sz) {
    Matrix r;
    r.m[0][0] = sx;
    r.m[1][1] = sy;
    r.m[2][2] = sz;
    r.m[3][3] = 1.0f;
    return r;
}

Matrix MatrixTranslation(float x, float y, float z) {
    Matrix r = MatrixIdentity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Matrix MatrixRotationX(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    Matrix r = MatrixIdentity();
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    return r;
}

Matrix MatrixRotationY(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    Matrix r = MatrixIdentity();
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
}

Matrix MatrixRotationZ(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    Matrix r = MatrixIdentity();
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

Matrix MatrixRotationAxis(const Vector3& axis, float angle) {
    Vector3 n = Vec3Normalize(axis);
    float c = std::cos(angle), s = std::sin(angle), k = 1.0f - c;
    Matrix r = MatrixIdentity();
    r.m[0][0] = k * n.x * n.x + c;
    r.m[0][1] = k * n.x * n.y + s * n.z;
    r.m[0][2] = k * n.x * n.z - s * n.y;
    r.m[1][0] = k * n.y * n.x - s * n.z;
    r.m[1][1] = k * n.y * n.y + c;
    r.m[1][2] = k * n.y * n.z + s * n.x;
    r.m[2][0] = k * n.z * n.x + s * n.y;
    r.m[2][1] = k * n.z * n.y - s * n.x;
    r.m[2][2] = k * n.z * n.z + c;
    return r;
}

Matrix MatrixMultiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] =
                a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

bool MatrixInverse(const Matrix& source, Matrix& out, float* determinant) {
    // Cofactor expansion in double: the game inverts world matrices with
    // scales from 0.05 to 60, where float cofactors lose digits.
    double a[16];
    for (int i = 0; i < 16; ++i) a[i] = source.Data()[i];
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];

    double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (determinant) *determinant = float(det);
    if (det == 0.0 || !std::isfinite(det)) return false;

    Matrix result;
    float* r = &result.m[0][0];
    for (int i = 0; i < 16; ++i) {
        r[i] = float(inv[i] / det);
        if (!std::isfinite(r[i])) return false;
    }
    out = result;
    return true;
}

Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
    Vector3 zAxis = Vec3Normalize(at - eye);
    Vector3 xAxis = Vec3Normalize(Vec3Cross(up, zAxis));
    Vector3 yAxis = Vec3Cross(zAxis, xAxis);
    Matrix r;
    r.m[0][0] = xAxis.x, r.m[0][1] = yAxis.x, r.m[0][2] = zAxis.x;
    r.m[1][0] = xAxis.y, r.m[1][1] = yAxis.y, r.m[1][2] = zAxis.y;
    r.m[2][0] = xAxis.z, r.m[2][1] = yAxis.z, r.m[2][2] = zAxis.z;
    r.m[3][0] = -Vec3Dot(xAxis, eye);
    r.m[3][1] = -Vec3Dot(yAxis, eye);
    r.m[3][2] = -Vec3Dot(zAxis, eye);
    r.m[3][3] = 1.0f;
    return r;
}

Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    float yScale = 1.0f / std::tan(fovY * 0.5f);
    float xScale = yScale / aspect;
    float depth = zFar / (zFar - zNear);
    Matrix r;
    r.m[0][0] = xScale;
    r.m[1][1] = yScale;
    r.m[2][2] = depth;
    r.m[2][3] = 1.0f;
    r.m[3][2] = -zNear * depth;
    return r;
}

namespace {

Vector3 PositionAt(const void* first, size_t index, size_t stride) {
    Vector3 p;
    std::memcpy(&p, static_cast<const unsigned char*>(first) + index * stride, sizeof p);
    return p;
}

} // namespace

bool ComputeBoundingBox(const void* firstPosition, size_t count, size_t stride, Vector3& boxMin,
                        Vector3& boxMax) {
    if (!firstPosition || count == 0) {
        boxMin = boxMax = Vector3();
        return false;
    }
    boxMin = boxMax = PositionAt(firstPosition, 0, stride);
    for (size_t i = 1; i < count; ++i) {
        Vector3 p = PositionAt(firstPosition, i, stride);
        boxMin = {std::fmin(boxMin.x, p.x), std::fmin(boxMin.y, p.y), std::fmin(boxMin.z, p.z)};
        boxMax = {std::fmax(boxMax.x, p.x), std::fmax(boxMax.y, p.y), std::fmax(boxMax.z, p.z)};
    }
    return true;
}

bool ComputeBoundingSphere(const void* firstPosition, size_t count, size_t stride, Vector3& center,
                           float& radius) {
    center = Vector3();
    radius = 0.0f;
    if (!firstPosition || count == 0) return false;
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (size_t i = 0; i < count; ++i) {
        Vector3 p = PositionAt(firstPosition, i, stride);
        sx += p.x, sy += p.y, sz += p.z;
    }
    center = {float(sx / double(count)), float(sy / double(count)), float(sz / double(count))};
    float largestSq = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        largestSq = std::fmax(largestSq, Vec3LengthSq(PositionAt(firstPosition, i, stride) - center));
    }
    radius = std::sqrt(largestSq);
    return true;
}
