#include "platform/Sound.h"
#include "support/SoundTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The listener stands 50 units along the game's z, looking along +x (then -z
// is to its right in a left-handed space). A conversion that forgets to turn
// the listener's position or the sound's position around puts the sound on
// the wrong side; other orientations are the listener test's.
struct Placement {
    const char* name;
    std::vector<std::string> switches;
    float x, y, z;
};

ChannelLevels Take(const Placement& placement) {
    return PlayToneAt(
        placement.name, placement.switches,
        [&](SoundSystem& system) {
            system.SetListenerPosition(0, 0, 50);
            system.SetListenerOrientation(1, 0, 0, 0, 1, 0);
        },
        placement.x, placement.y, placement.z);
}

} // namespace

TEST(SoundMix, PlacedSoundsPanAndFadeWithDistance) {
    // The tone's own RMS, -1 dB for the factor 1 every take uses.
    const double full = ToneLevel();

    ChannelLevels right = Take({"10 units to the right", {}, 0, 0, 40});
    ChannelLevels left = Take({"10 units to the left", {}, 0, 0, 60});
    ChannelLevels farRight = Take({"100 units to the right", {}, 0, 0, -50});
    ChannelLevels above = Take({"10 units above (menu click)", {}, 0, 10, 50});
    ChannelLevels unplaced = Take({"100 units to the right, /3ds", {"/3ds"}, 0, 0, -50});

    // Not silent, and on the side where the sound is.
    EXPECT_GT(right.right, 0.5 * full);
    EXPECT_GT(right.right, 10 * right.left);
    EXPECT_GT(left.left, 10 * left.right);
    EXPECT_NEAR(left.left, right.right, 0.05 * full);

    // Ten times the distance is clearly quieter, and still clearly heard.
    EXPECT_LT(farRight.right, 0.4 * right.right);
    EXPECT_GT(farRight.right, 0.05 * right.right);
    EXPECT_GT(farRight.right, 10 * farRight.left);

    // Straight above plays in the middle at the full level.
    EXPECT_NEAR(above.left, above.right, 0.05 * full);
    EXPECT_GT(above.left + above.right, right.right);

    // "/3ds" ignores the position: the tone as it is on both speakers.
    EXPECT_NEAR(unplaced.left, full, 0.05 * full);
    EXPECT_NEAR(unplaced.right, full, 0.05 * full);
}
