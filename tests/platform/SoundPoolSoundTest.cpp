#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundEffect.h"
#include "platform/SoundPool.h"
#include "platform/SoundVolume.h"
#include "support/SoundTestSupport.h"
#include "support/TempDir.h"

// The pause of the whole output is an extension of the sound library.
#define AL_ALEXT_PROTOTYPES
#include <AL/alc.h>
#include <AL/alext.h>
#include <chrono>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <thread>

namespace {

// A game folder and a started sound system on the capture output.
struct PlayingGame {
    explicit PlayingGame(std::vector<std::string> switches = {}) : commandLine(std::move(switches)) {
        UseCaptureOutput();
        std::filesystem::create_directory(folder.path + "/Data");
        SetLogCapture(&log);
        started = system.Init();
    }
    ~PlayingGame() {
        system.Free();
        SetLogCapture(nullptr);
    }
    void Put(const std::string& name, const Bytes& bytes) const {
        WriteBytes(folder.path + "/Data/" + name, bytes);
    }

    std::string log;
    TempDir folder;
    CommandLine commandLine;
    SoundSystem system{commandLine, folder.path + "/"};
    bool started = false;
};

// Waits, in real time, until no voice of the pool plays (at most 30 s: a
// guard against hanging, not a time limit).
bool WaitUntilQuiet(const SoundPool& pool) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        bool playing = false;
        for (int i = 0; i < pool.VoiceCount(); ++i) playing |= pool.Voice(i).IsPlaying();
        if (!playing) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

TEST(SoundVolume, FactorBecomesHundredthsOfDecibelOrIsRefused) {
    struct Case {
        float factor;
        std::optional<int> volume;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {2.0f, -50},
        {1.0f, -100},
        {0.5f, -200},
        {0.1f, -1000},
        // The quietest volume is still accepted; half of that factor is not.
        {0.01f, -10000},
        {0.005f, std::nullopt},
        // The plasma and missile launches pass 0; the explosions -1/size.
        {0.0f, std::nullopt},
        {-0.0f, std::nullopt},
        {-1.0f / 5.0f, std::nullopt},
        {-1.0f, std::nullopt},
        // -100 / -250 is 0.4, which truncates to full volume.
        {-250.0f, 0},
        // Factors whose quotient no int can hold.
        {1e-30f, std::nullopt},
        {-1e-30f, std::nullopt},
        {1e-45f, std::nullopt},
        {FLT_MIN, std::nullopt},
        {std::nanf(""), std::nullopt},
        {FLT_MAX, 0},
        {inf, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "factor " << c.factor);
        EXPECT_EQ(VolumeFromFactor(c.factor), c.volume);
    }

    EXPECT_FLOAT_EQ(GainFromVolume(0), 1.0f);
    EXPECT_FLOAT_EQ(GainFromVolume(-2000), 0.1f);
    EXPECT_NEAR(GainFromVolume(-600), 0.501f, 0.001f);
    EXPECT_FLOAT_EQ(GainFromVolume(-10000), 1e-5f);
    EXPECT_EQ(VolumeFromGain(0.0f), MinVolume);
    EXPECT_EQ(VolumeFromGain(4.0f), MaxVolume);
    EXPECT_EQ(VolumeFromGain(std::nanf("")), MinVolume);
}

TEST(SoundVolume, ExplosionsGetLouderWithSize) {
    EXPECT_EQ(ExplosionVolume(12.0f), 0);
    EXPECT_EQ(ExplosionVolume(4.0f), -400);
    EXPECT_EQ(ExplosionVolume(1.0f), -1200);
    // Sizes no explosion has still give a volume in range.
    for (float broken : {0.0f, -1.0f, 1e-30f, std::nanf("")}) EXPECT_EQ(ExplosionVolume(broken), -3000);
}

TEST(SoundPool, FifthPlayOnFourBusyVoicesIsDropped) {
    PlayingGame game;
    ASSERT_TRUE(game.system.Available()) << game.log;
    game.Put("Shot.wav", PcmWav(1, 22050, 16, Tone16(0.05, 22050, 440, 8000)));
    SoundPool pool(game.system, 4);
    ASSERT_TRUE(pool.Load("Data\\Shot.wav"));
    // The mixer stands still while voices are started, so a voice that was
    // started is still playing however long the machine takes.
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    ASSERT_TRUE(alcIsExtensionPresent(device, "ALC_SOFT_pause_device"));
    alcDevicePauseSOFT(device);
    for (int expected : {0, 1, 2, 3}) EXPECT_EQ(pool.Play(float(expected), 0, 5, 1.0f), expected);
    EXPECT_EQ(pool.Play(4, 0, 5, 1.0f), -1);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(pool.Voice(i).IsPlaying()) << i;
    alcDeviceResumeSOFT(device);

    // Once the sound is over the first voice is the one that plays again.
    ASSERT_TRUE(WaitUntilQuiet(pool));
    alcDevicePauseSOFT(device);
    EXPECT_EQ(pool.Play(0, 0, 5, 1.0f), 0);
    EXPECT_EQ(pool.Play(0, 0, 5, 1.0f), 1);
    alcDeviceResumeSOFT(device);
}

TEST(SoundPool, RefusedVolumeLeavesTheVoiceAsItWas) {
    PlayingGame game;
    ASSERT_TRUE(game.system.Available()) << game.log;
    game.Put("Hit.wav", PcmWav(1, 22050, 16, Tone16(0.02, 22050, 440, 8000)));
    SoundPool pool(game.system, 1);
    ASSERT_TRUE(pool.Load("Data\\Hit.wav"));
    const SoundEffect& voice = pool.Voice(0);

    auto playAndWait = [&](float factor) {
        EXPECT_EQ(pool.Play(0, 0, 10, factor), 0) << factor;
        EXPECT_TRUE(WaitUntilQuiet(pool));
    };
    playAndWait(0.5f);
    EXPECT_EQ(voice.Volume(), -200);
    EXPECT_NEAR(voice.MixerGain(), 0.794f, 0.001f);
    for (float refused : {0.0f, -1.0f / 12.0f, 0.005f, std::nanf("")}) {
        playAndWait(refused);
        EXPECT_EQ(voice.Volume(), -200) << refused;
        EXPECT_NEAR(voice.MixerGain(), 0.794f, 0.001f) << refused;
    }
    playAndWait(2.0f);
    EXPECT_EQ(voice.Volume(), -50);

    // A volume given directly is kept in range.
    EXPECT_EQ(pool.PlayAtVolume(0, 0, 10, -700), 0);
    EXPECT_EQ(voice.Volume(), -700);
    ASSERT_TRUE(WaitUntilQuiet(pool));
    EXPECT_EQ(pool.PlayAtVolume(0, 0, 10, 5000), 0);
    EXPECT_EQ(voice.Volume(), 0);
    EXPECT_FLOAT_EQ(voice.MixerGain(), 1.0f);
}

TEST(SoundPool, FreeingTheSystemSilencesLoadedSounds) {
    PlayingGame game;
    ASSERT_TRUE(game.system.Available()) << game.log;
    game.Put("Boom.wav", PcmWav(2, 44100, 8, Bytes(44100, 200)));
    SoundPool pool(game.system, 3);
    SoundEffect single(game.system);
    ASSERT_TRUE(pool.Load("Data\\Boom.wav"));
    ASSERT_TRUE(single.Load("Data\\Boom.wav"));
    single.Play(true);
    EXPECT_EQ(pool.Play(1, 2, 3, 1.0f), 0);

    // The device closes under sounds that are playing and still loaded.
    game.system.Free();
    EXPECT_FALSE(single.IsPlaying());
    EXPECT_FALSE(single.HasBuffer());
    EXPECT_EQ(pool.Play(1, 2, 3, 1.0f), -1);
    single.Play(false);

    // A fresh start plays what is loaded anew.
    ASSERT_TRUE(game.system.Init());
    ASSERT_TRUE(pool.Load("Data\\Boom.wav"));
    EXPECT_EQ(pool.Play(1, 2, 3, 1.0f), 0);
}
