#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundPool.h"
#include "support/SoundTestSupport.h"
#include "support/TempDir.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

// The listener stands 50 units along the game's z, looking along +x (then -z
// is to its right in a left-handed space) or along -z (then -x is to its
// right). A conversion that forgets to turn the listener's position, its
// orientation or the sound's position around puts the sound on the wrong side.
struct Placement {
    const char* name;
    std::vector<std::string> switches;
    float x, y, z;
    float frontX = 1, frontZ = 0;
};

// Plays one tone through a fresh device and returns the captured mix.
ChannelLevels Take(const Placement& placement, const std::string& capturePath) {
    TempDir folder;
    std::filesystem::create_directory(folder.path + "/Data");
    // 0.3 s of 440 Hz at half of full scale.
    WriteBytes(folder.path + "/Data/Tone.wav", PcmWav(1, 44100, 16, Tone16(0.3, 44100, 440, 16384)));
    std::string log;
    SetLogCapture(&log);
    CommandLine commandLine(placement.switches);
    SoundSystem system(commandLine, folder.path + "/");
    EXPECT_TRUE(system.Init());
    EXPECT_TRUE(system.Available()) << log;
    // As the game sets it up: ten metres to the unit.
    system.SetListenerDistanceFactor(10.0f);
    system.SetListenerPosition(0, 0, 50);
    system.SetListenerOrientation(placement.frontX, 0, placement.frontZ, 0, 1, 0);
    {
        SoundPool pool(system, 1);
        EXPECT_TRUE(pool.Load("Data\\Tone.wav"));
        EXPECT_EQ(pool.Play(placement.x, placement.y, placement.z, 1.0f), 0);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (pool.Voice(0).IsPlaying() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Closing the device finishes the file.
    system.Free();
    SetLogCapture(nullptr);

    CapturedMix mix;
    EXPECT_TRUE(ReadCapturedMix(capturePath, mix)) << capturePath;
    EXPECT_EQ(mix.samplesPerSecond, 44100);
    ChannelLevels levels = MeasureLevels(mix);
    std::printf("%-34s left RMS %7.1f  right RMS %7.1f\n", placement.name, levels.left, levels.right);
    return levels;
}

} // namespace

TEST(SoundMix, PlacedSoundsPanAndFadeWithDistance) {
    const std::string& capture = UseCaptureOutput();
    // The tone's own RMS, -1 dB for the factor 1 every take uses.
    const double full = 16384 / std::sqrt(2.0) * std::pow(10.0, -100 / 2000.0);
    std::printf("tone RMS at -1 dB: %.1f\n", full);

    ChannelLevels right = Take({"10 units to the right", {}, 0, 0, 40}, capture);
    ChannelLevels left = Take({"10 units to the left", {}, 0, 0, 60}, capture);
    ChannelLevels turned = Take({"10 units to the right, facing -z", {}, -10, 0, 50, 0, -1}, capture);
    ChannelLevels farRight = Take({"100 units to the right", {}, 0, 0, -50}, capture);
    ChannelLevels above = Take({"10 units above (menu click)", {}, 0, 10, 50}, capture);
    ChannelLevels unplaced = Take({"100 units to the right, /3ds", {"/3ds"}, 0, 0, -50}, capture);

    // Not silent, and on the side where the sound is.
    EXPECT_GT(right.right, 0.5 * full);
    EXPECT_GT(right.right, 10 * right.left);
    EXPECT_GT(left.left, 10 * left.right);
    EXPECT_NEAR(left.left, right.right, 0.05 * full);
    EXPECT_GT(turned.right, 10 * turned.left);

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
