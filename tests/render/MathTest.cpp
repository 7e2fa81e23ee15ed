#include "render/Math.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
constexpr float Tolerance = 1e-5f;

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = Tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectNear(const Matrix& actual, const Matrix& expected, float tolerance = Tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << r << "," << c;
}

Matrix Rows(std::initializer_list<float> values) {
    Matrix m;
    float* out = &m.m[0][0];
    for (float v : values) *out++ = v;
    return m;
}

Vector3 Row(const Matrix& m, int r) {
    return {m.m[r][0], m.m[r][1], m.m[r][2]};
}

} // namespace

TEST(MathTest, RotationsTurnAxesInTheGamesSense) {
    // RotationY(pi/2) turns forward (+z) to +x and right (+x) to -z: the
    // turn to the right that steering relies on.
    Matrix y = MatrixRotationY(Pi / 2);
    ExpectNear(Vec3TransformNormal({0, 0, 1}, y), {1, 0, 0});
    ExpectNear(Vec3TransformNormal({1, 0, 0}, y), {0, 0, -1});
    // RotationX(pi/2): up to forward, forward to down (nose down).
    Matrix x = MatrixRotationX(Pi / 2);
    ExpectNear(Vec3TransformNormal({0, 1, 0}, x), {0, 0, 1});
    ExpectNear(Vec3TransformNormal({0, 0, 1}, x), {0, -1, 0});
    // RotationZ(pi/2): right to up.
    ExpectNear(Vec3TransformNormal({1, 0, 0}, MatrixRotationZ(Pi / 2)), {0, 1, 0});

    // The matrix layout itself, by hand, for an angle without symmetries.
    float c = std::cos(0.3f), s = std::sin(0.3f);
    ExpectNear(MatrixRotationY(0.3f), Rows({c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}));
    ExpectNear(MatrixRotationX(0.3f), Rows({1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}));
    ExpectNear(MatrixRotationZ(0.3f), Rows({c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST(MathTest, RotationAxisAgreesWithTheAxisRotationsAndNormalisesItsAxis) {
    ExpectNear(MatrixRotationAxis({0, 1, 0}, 0.7f), MatrixRotationY(0.7f));
    ExpectNear(MatrixRotationAxis({3, 0, 0}, -1.1f), MatrixRotationX(-1.1f));
    ExpectNear(MatrixRotationAxis({0, 0, 0.25f}, 2.0f), MatrixRotationZ(2.0f));
    // A third of a turn about the diagonal cycles the axes x -> y -> z -> x.
    Matrix diagonal = MatrixRotationAxis({1, 1, 1}, 2 * Pi / 3);
    ExpectNear(Vec3TransformNormal({1, 0, 0}, diagonal), {0, 1, 0});
    ExpectNear(Vec3TransformNormal({0, 1, 0}, diagonal), {0, 0, 1});
    ExpectNear(Vec3TransformNormal({0, 0, 1}, diagonal), {1, 0, 0});
}

TEST(MathTest, MultiplyAppliesTheLeftMatrixFirst) {
    Matrix move = MatrixTranslation(0, 0, 5);
    Matrix turn = MatrixRotationY(Pi / 2);
    // Move then turn: (1, 0, 0) -> (1, 0, 5) -> (5, 0, -1).
    ExpectNear(Vec3TransformCoord({1, 0, 0}, move * turn), {5, 0, -1});
    // Turn then move: (1, 0, 0) -> (0, 0, -1) -> (0, 0, 4).
    ExpectNear(Vec3TransformCoord({1, 0, 0}, MatrixMultiply(turn, move)), {0, 0, 4});

    // Scaling on the left scales the axis rows and keeps the position row:
    // what a node's SetScale depends on.
    Matrix local = MatrixRotationY(0.4f) * MatrixTranslation(7, 8, 9);
    Matrix scaled = MatrixScaling(2, 3, 4) * local;
    EXPECT_NEAR(Vec3Length(Row(scaled, 0)), 2.0f, Tolerance);
    EXPECT_NEAR(Vec3Length(Row(scaled, 1)), 3.0f, Tolerance);
    EXPECT_NEAR(Vec3Length(Row(scaled, 2)), 4.0f, Tolerance);
    ExpectNear(Row(scaled, 3), {7, 8, 9});
    EXPECT_EQ(MatrixIdentity() * local, local);
}

TEST(MathTest, InverseRoundTripsAndReportsSingularMatrices) {
    Matrix world =
        MatrixScaling(0.05f, 2, 60) * MatrixRotationAxis({1, 2, 3}, 0.9f) * MatrixTranslation(-300, 25, 1200);
    Matrix inverse;
    float determinant = 0;
    ASSERT_TRUE(MatrixInverse(world, inverse, &determinant));
    EXPECT_NEAR(determinant, 0.05f * 2 * 60, 1e-4f);
    ExpectNear(world * inverse, MatrixIdentity(), 1e-4f);
    ExpectNear(inverse * world, MatrixIdentity(), 1e-4f);
    Vector3 p{3, -4, 5};
    ExpectNear(Vec3TransformCoord(Vec3TransformCoord(p, world), inverse), p, 1e-3f);

    // A projection (w taken from z) inverts too.
    Matrix projection = MatrixPerspectiveFovLH(Pi / 4, 4.0f / 3.0f, 1, 1000);
    ASSERT_TRUE(MatrixInverse(projection, inverse));
    ExpectNear(projection * inverse, MatrixIdentity(), 1e-4f);

    // Singular: false, and out keeps what it held.
    Matrix untouched = MatrixTranslation(1, 2, 3);
    Matrix out = untouched;
    EXPECT_FALSE(MatrixInverse(MatrixScaling(1, 0, 1), out));
    EXPECT_EQ(out, untouched);
    EXPECT_FALSE(MatrixInverse(Matrix(), out, &determinant));
    EXPECT_EQ(determinant, 0.0f);
    EXPECT_EQ(out, untouched);
}

TEST(MathTest, LookAtLHBuildsTheViewMatrixByHand) {
    // A camera on +x looking at the origin: world +z is its right, world -x
    // its forward, and the origin lies 10 ahead.
    Matrix view = MatrixLookAtLH({10, 0, 0}, {0, 0, 0}, {0, 1, 0});
    ExpectNear(view, Rows({0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 10, 1}));
    ExpectNear(Vec3TransformCoord({0, 0, 0}, view), {0, 0, 10});
    ExpectNear(Vec3TransformCoord({10, 0, 1}, view), {1, 0, 0});

    // The eye maps to the origin, the target onto +z at its distance, and the
    // up hint is kept in the camera's y-z plane.
    Vector3 eye{1, 2, 3}, at{4, -2, 15};
    view = MatrixLookAtLH(eye, at, {0, 1, 0});
    ExpectNear(Vec3TransformCoord(eye, view), {0, 0, 0}, 1e-4f);
    ExpectNear(Vec3TransformCoord(at, view), {0, 0, Vec3Length(at - eye)}, 1e-4f);
    EXPECT_NEAR(Vec3TransformNormal({0, 1, 0}, view).x, 0.0f, Tolerance);
    EXPECT_GT(Vec3TransformNormal({0, 1, 0}, view).y, 0.0f);
}

TEST(MathTest, PerspectiveFovLHMapsDepthToZeroOne) {
    Matrix projection = MatrixPerspectiveFovLH(Pi / 2, 4.0f / 3.0f, 1, 100);
    ExpectNear(projection, Rows({0.75f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 100.0f / 99, 1, 0, 0, -100.0f / 99, 0}));
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 1}, projection).z, 0.0f, Tolerance);
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 100}, projection).z, 1.0f, Tolerance);
    // The edges of the 90-degree view land on the edges of the clip square.
    ExpectNear(Vec3TransformCoord({40.0f / 3.0f, 10, 10}, projection), {1, 1, 100.0f / 99 - 10.0f / 99});
}

TEST(MathTest, TransformsAndNormalise) {
    EXPECT_EQ(Vec3Normalize({0, 0, 0}), Vector3(0, 0, 0)) << "a zero vector stays zero";
    ExpectNear(Vec3Normalize({3, 0, 4}), {0.6f, 0, 0.8f});
    // TransformNormal ignores the translation; TransformCoord divides by w.
    Matrix m = MatrixScaling(2, 2, 2) * MatrixTranslation(5, 5, 5);
    EXPECT_EQ(Vec3TransformNormal({1, 1, 1}, m), Vector3(2, 2, 2));
    m.m[3][3] = 2;
    EXPECT_EQ(Vec3TransformCoord({1, 1, 1}, m), Vector3(3.5f, 3.5f, 3.5f));
}

TEST(MathTest, SphereBoundProbeIsARayTest) {
    Vector3 center{0, 0, 10};
    // Ahead, with any length of direction.
    EXPECT_TRUE(SphereBoundProbe(center, 1, {0, 0, 0}, {0, 0, 1}));
    EXPECT_TRUE(SphereBoundProbe(center, 1, {0.9f, 0, 0}, {0, 0, 50}));
    // The line meets the sphere but the sphere lies behind the origin.
    EXPECT_FALSE(SphereBoundProbe(center, 1, {0, 0, 0}, {0, 0, -1}));
    // From inside, every direction hits.
    EXPECT_TRUE(SphereBoundProbe(center, 1, {0, 0, 10.5f}, {0, 0, -1}));
    EXPECT_TRUE(SphereBoundProbe(center, 1, {0, 0, 10.5f}, {1, 0, 0}));
    // Passing by, and grazing the surface exactly.
    EXPECT_FALSE(SphereBoundProbe(center, 1, {1.5f, 0, 0}, {0, 0, 1}));
    EXPECT_FALSE(SphereBoundProbe(center, 1, {1, 0, 0}, {0, 0, 1}));
}

TEST(MathTest, IntersectTriangleIsSingleSided) {
    // Clockwise as seen from -z, so its front faces -z.
    Vector3 p0{0, 0, 0}, p1{0, 1, 0}, p2{1, 0, 0};
    float t = -1, u = -1, v = -1;
    ASSERT_TRUE(IntersectTriangle({0.25f, 0.25f, -1}, {0, 0, 1}, p0, p1, p2, t, u, v));
    EXPECT_FLOAT_EQ(t, 1.0f);
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.25f);
    // t is measured in units of the direction.
    ASSERT_TRUE(IntersectTriangle({0.25f, 0.25f, -1}, {0, 0, 4}, p0, p1, p2, t, u, v));
    EXPECT_FLOAT_EQ(t, 0.25f);
    // The same ray through the mirrored winding, and from behind: no hit.
    EXPECT_FALSE(IntersectTriangle({0.25f, 0.25f, -1}, {0, 0, 1}, p0, p2, p1, t, u, v));
    EXPECT_FALSE(IntersectTriangle({0.25f, 0.25f, 1}, {0, 0, -1}, p0, p1, p2, t, u, v));
    // Beside the triangle, and parallel to it.
    EXPECT_FALSE(IntersectTriangle({0.75f, 0.75f, -1}, {0, 0, 1}, p0, p1, p2, t, u, v));
    EXPECT_FALSE(IntersectTriangle({0.25f, 0.25f, -1}, {1, 0, 0}, p0, p1, p2, t, u, v));
    // A hit behind the origin still reports (negative t); callers filter it.
    ASSERT_TRUE(IntersectTriangle({0.25f, 0.25f, 1}, {0, 0, 1}, p0, p1, p2, t, u, v));
    EXPECT_FLOAT_EQ(t, -1.0f);
}

TEST(MathTest, BoundsReadStridedPositions) {
    struct Vertex {
        Vector3 position;
        float extra[5];
    };
    // The sphere is centred on the mean, not on the box centre.
    Vertex vertices[] = {{{0, 0, 0}, {}}, {{0, 0, 0}, {}}, {{0, 0, 0}, {}}, {{4, -1, 2}, {}}};
    Vector3 boxMin, boxMax, center;
    float radius = 0;
    ASSERT_TRUE(ComputeBoundingBox(&vertices[0].position, 4, sizeof(Vertex), boxMin, boxMax));
    EXPECT_EQ(boxMin, Vector3(0, -1, 0));
    EXPECT_EQ(boxMax, Vector3(4, 0, 2));
    ASSERT_TRUE(ComputeBoundingSphere(&vertices[0].position, 4, sizeof(Vertex), center, radius));
    ExpectNear(center, {1, -0.25f, 0.5f});
    EXPECT_NEAR(radius, Vec3Length(Vector3(3, -0.75f, 1.5f)), Tolerance);

    Vector3 points[] = {{-2, 5, 1}};
    ASSERT_TRUE(ComputeBoundingSphere(points, center, radius));
    EXPECT_EQ(center, Vector3(-2, 5, 1));
    EXPECT_EQ(radius, 0.0f);
    EXPECT_FALSE(ComputeBoundingBox(std::span<const Vector3>(), boxMin, boxMax));
    EXPECT_EQ(boxMax, Vector3());
    EXPECT_FALSE(ComputeBoundingSphere(std::span<const Vector3>(), center, radius));
    EXPECT_EQ(radius, 0.0f);
}
