#include "render/Draw2D.h"
#include "render/DrawList.h"
#include "render/StepBlender.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr int W = 200, H = 100;

// A list device drawing pictures between steps; the test keeps each picture's list.
class PictureDevice : public DrawListDevice {
public:
    PictureDevice() { SetStepped(true); }
    std::vector<DrawList> pictures;

protected:
    void RenderList(const DrawList& list, DrawStats&) override { pictures.push_back(list); }
    void ShowPicture() override {}
};

std::unique_ptr<DeviceMesh> Triangle(Device& device) {
    const MeshVertex vertices[3] = {{{-1, -1, 0}, {0, 0, -1}, 0, 0}, {{0, 1, 0}, {0, 0, -1}, 0, 0}, {{1, -1, 0}, {0, 0, -1}, 0, 0}};
    const uint16_t indices[3] = {0, 1, 2};
    const IndexRange subset{0, 3};
    return device.CreateMesh(vertices, indices, {&subset, 1});
}

Vector3 Position(const Matrix& m) { return {m.m[3][0], m.m[3][1], m.m[3][2]}; }

void ExpectNear(const Vector3& a, const Vector3& b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-4f) << what;
    EXPECT_NEAR(a.y, b.y, 1e-4f) << what;
    EXPECT_NEAR(a.z, b.z, 1e-4f) << what;
}

} // namespace

TEST(StepBlender, PlacementsTurnAlongTheShorterArcAndScaleInBetween) {
    constexpr float Pi = std::numbers::pi_v<float>;
    // A quarter turn about y, twice as long on x, moved by 10: halfway is an
    // eighth turn, one and a half times as long, moved by 5.
    Matrix a = MatrixIdentity();
    Matrix b = MatrixScaling(2, 1, 1) * MatrixRotationY(Pi / 2) * MatrixTranslation(10, 0, 0);
    Matrix half = BlendPlacement(a, b, 0.5f);
    Matrix expected = MatrixScaling(1.5f, 1, 1) * MatrixRotationY(Pi / 4) * MatrixTranslation(5, 0, 0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(half.m[i][j], expected.m[i][j], 1e-5f) << i << "," << j;
    // Three quarters of a turn one way is a quarter the other way round.
    Matrix turned = BlendPlacement(MatrixIdentity(), MatrixRotationY(-Pi / 2), 0.5f);
    ExpectNear({turned.m[2][0], turned.m[2][1], turned.m[2][2]}, {-std::sqrt(0.5f), 0, std::sqrt(0.5f)}, "short arc");
    // A mirror image and an unmirrored placement can't be blended: the newer stands.
    Matrix mirrored = MatrixScaling(-1, 1, 1) * MatrixTranslation(4, 0, 0);
    EXPECT_EQ(BlendPlacement(MatrixIdentity(), mirrored, 0.3f), mirrored);
}

TEST(StepBlender, SharedDrawsMoveNewOnesStandAndGoneOnesGo) {
    PictureDevice device;
    auto mesh = Triangle(device);
    const Matrix lookAlongZ = MatrixLookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    const Matrix lookFromLeft = MatrixLookAtLH({-4, 0, -10}, {-4, 0, 0}, {0, 1, 0});
    auto step = [&](const Matrix& view, float x, bool withOld, bool withNew) {
        device.BeginScene();
        device.SetTransform(TransformType::View, view);
        device.SetDrawTag(MakeDrawTag(1, 0), nullptr);
        device.SetTransform(TransformType::World, MatrixTranslation(x, 0, 0));
        device.DrawSubset(*mesh, 0);
        device.SetDrawTag(MakeDrawTag(2, 0), nullptr);
        device.SetTransform(TransformType::World, MatrixTranslation(100, 0, 0));
        if (withOld) device.DrawSubset(*mesh, 0);
        device.SetDrawTag(MakeDrawTag(3, 0), nullptr);
        device.SetTransform(TransformType::World, MatrixTranslation(200, 0, 0));
        if (withNew) device.DrawSubset(*mesh, 0);
        // Untagged: the newer step's as it is.
        device.SetDrawTag(0, nullptr);
        device.SetTransform(TransformType::World, MatrixTranslation(x, 5, 0));
        device.DrawSubset(*mesh, 0);
        device.Present();
    };
    step(lookAlongZ, 0, true, false);
    step(lookFromLeft, 10, false, true);
    device.PresentBetween(0.25f, W, H, 0, 0);
    ASSERT_EQ(device.pictures.size(), 1u);
    const DrawList& picture = device.pictures[0];
    ASSERT_EQ(picture.records.size(), 3u) << "the draw the newer step no longer makes is gone";
    ExpectNear(Position(picture.worlds[picture.records[0].world]), {2.5f, 0, 0}, "a quarter of the way");
    ExpectNear(Position(picture.worlds[picture.records[1].world]), {200, 0, 0}, "new this step: as it is");
    ExpectNear(Position(picture.worlds[picture.records[2].world]), {10, 5, 0}, "untagged: the newer step's");
    Matrix camera;
    ASSERT_TRUE(MatrixInverse(picture.cameras[picture.records[0].camera].view, camera));
    ExpectNear(Position(camera), {-1, 0, -10}, "the eye a quarter of the way");
}

TEST(StepBlender, ThePointerFollowsTheMouseAndStaysOnTheScreen) {
    PictureDevice device;
    for (int s = 0; s < 2; ++s) {
        device.BeginScene();
        const Vector3 at{190, 50, 0};
        device.SetDrawTag(PointerTag, &at);
        FillRect2D(device, 190, 50, 195, 55, 0xFFFFFFFF);
        device.SetDrawTag(0, nullptr);
        device.Present();
    }
    device.PresentBetween(0.5f, W, H, 30, -4);
    const DrawList& picture = device.pictures.back();
    float x = 0, y = 0;
    std::memcpy(&x, picture.vertexBytes.data(), 4);
    std::memcpy(&y, picture.vertexBytes.data() + 4, 4);
    EXPECT_EQ(x, 199.0f) << "the last pixel of the screen, not 220";
    EXPECT_EQ(y, 51.0f) << "the rectangle's bottom left, moved up by 4";
}
