// What the player hears matches what they see: a sound left of the picture
// comes from the left speaker, however the camera is turned.
#include "game/flow/GameContext.h"
#include "platform/Sound.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/SceneNode.h"
#include "support/SoundTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct View {
    const char* name;
    Vector3 eye, at, up;
};

} // namespace

TEST(Listener, TurnsWithTheCamera) {
    const float yaw = 2.1991148f, pitch = 0.47123894f;
    const Vector3 orbit{180 * std::cos(pitch) * std::cos(yaw), 180 * std::sin(pitch),
                        180 * std::cos(pitch) * std::sin(yaw)};
    const View views[] = {
        {"facing +z (the menus' preview)", {5, 19.6f, -38.4f}, {5, 10, 0}, {0, 1, 0}},
        {"facing -z", {0, 0, 30}, {0, 0, 0}, {0, 1, 0}},
        {"the battle's start view", orbit, {0, 0, 0}, {0, 1, 0}},
        {"looking down along +x", {-20, 40, 0}, {0, 0, 0}, {0, 1, 0}},
        {"upside down", {0, 0, -30}, {0, 0, 0}, {0, -1, 0}},
        // A chase view behind a fighter on its side: its up is the world's +x.
        {"chase view, banked", {2.5f, 0, -10}, {0, 0, 0}, {1, 0, 0}},
    };
    Graphics graphics(std::make_unique<NullDevice>(), 640, 480);
    for (const View& view : views) {
        SetCamera(graphics, view.eye, view.at, view.up);
        // The frame makes the view current for projections.
        ASSERT_TRUE(graphics.BeginFrame(0xFF000000));
        Vector3 forward = Vec3Normalize(view.at - view.eye);
        Vector3 right = Vec3Normalize(Vec3Cross(view.up, forward));
        // Ten units to the left, a little ahead: off the picture's left edge.
        Vector3 point = view.eye - right * 10 + forward * 2;
        ASSERT_LT(ProjectToScreen(graphics, point).x, 0) << view.name;

        ChannelLevels levels = PlayToneAt(
            view.name, {}, [&](SoundSystem& sound) { PlaceListener(sound, graphics.view); }, point.x, point.y,
            point.z);
        EXPECT_GT(levels.left, 0.5 * ToneLevel()) << view.name;
        EXPECT_GT(levels.left, 4 * levels.right) << view.name;
    }
}
