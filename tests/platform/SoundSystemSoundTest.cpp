#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundPool.h"
#include "support/SoundTestSupport.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string Separator(40, '-');
const std::string LostLine = "サウンドデバイスが失われました.\n";

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// The sound library picks its output once per process, so the tests for a
// machine without sound and for a device that goes away run in a child
// process of this binary, started by RunSelf with the output chosen in its
// environment. The child does its part before any test, prints what it saw,
// and ends.
void RunScenario(const std::string& scenario) {
    // A device that hangs on closing must not hang the test run.
    alarm(30);
    std::string log;
    SetLogCapture(&log);
    TempDir folder;
    std::filesystem::create_directory(folder.path + "/Data");
    WriteBytes(folder.path + "/Data/Click.wav", PcmWav(1, 22050, 16, Tone16(0.3, 22050, 660, 8000)));
    CommandLine commandLine;
    {
        SoundSystem system(commandLine, folder.path + "/");
        SoundPool pool(system, 4);
        std::printf("init=%d\n", int(system.Init()));
        std::printf("loaded=%d\n", int(pool.Load("Data\\Click.wav")));
        if (scenario == "lost") {
            // The output's writes fail at once; the device notices within a mix period or two.
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (system.Available() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::printf("available=%d\n", int(system.Available()));
        int first = pool.Play(0, 0, 5, 1.0f);
        int second = pool.Play(0, 0, 5, 1.0f);
        int third = pool.Play(0, 0, 5, 0.0f);
        std::printf("plays=%d,%d,%d\n", first, second, third);
        system.SetListenerPosition(1, 2, 3);
        system.SetListenerOrientation(1, 0, 0, 0, 1, 0);
        system.SetMasterVolume(-300);
        system.Free();
    }
    SetLogCapture(nullptr);
    std::printf("log<<%s>>\n", log.c_str());
}

struct ScenarioRunner : testing::EmptyTestEventListener {
    void OnTestProgramStart(const testing::UnitTest&) override {
        const char* scenario = std::getenv("STARMARCH_SOUND_SCENARIO");
        if (!scenario) return;
        RunScenario(scenario);
        std::fflush(stdout);
        std::_Exit(0);
    }
};

const bool scenarioRunnerAdded = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new ScenarioRunner);
    return true;
}();

} // namespace

TEST(SoundSystem, StartAndStopLinesAndSwitches) {
    UseCaptureOutput();
    std::string log;
    SetLogCapture(&log);
    for (const auto& [switches, lines] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "3Dサウンド = ON\nエフェクト = ON\n"},
             {{"/3ds"}, "3Dサウンド = OFF\nエフェクト = ON\n"},
             {{"-win", "/fx", "/3DS"}, "3Dサウンド = ON\nエフェクト = OFF\n"},
         }) {
        log.clear();
        CommandLine commandLine(switches);
        SoundSystem system(commandLine, "./");
        ASSERT_TRUE(system.Init());
        EXPECT_TRUE(system.Available());
        EXPECT_EQ(system.Use3D(), lines.find("3Dサウンド = ON") != std::string::npos);
        EXPECT_EQ(log, Separator + "\nInitDirectSound\n" + lines);

        // The master volume takes only -10000..0, and is put back by Free.
        EXPECT_EQ(system.MasterVolume(), 0);
        system.SetMasterVolume(-600);
        EXPECT_EQ(system.MasterVolume(), -600);
        system.SetMasterVolume(1);
        system.SetMasterVolume(-10001);
        EXPECT_EQ(system.MasterVolume(), -600);

        log.clear();
        system.Free();
        system.Free();
        EXPECT_EQ(log, Separator + "\nFreeDirectSound\n");
        EXPECT_EQ(system.MasterVolume(), 0);
        EXPECT_FALSE(system.Available());
    }
    SetLogCapture(nullptr);
}

TEST(SoundSystem, NoSoundDeviceStartsSilently) {
    std::string output;
    // No output the library knows: what a machine without a sound card gets.
    ASSERT_EQ(
        RunSelf({{"STARMARCH_SOUND_SCENARIO", "none"}, {"ALSOFT_DRIVERS", "nonesuch"}, {"ALSOFT_CONF", ""}},
                output),
        0)
        << output;
    EXPECT_NE(output.find("init=1\nloaded=1\navailable=0\nplays=-1,-1,-1\n"), std::string::npos) << output;
    EXPECT_NE(output.find("log<<" + Separator +
                          "\nInitDirectSound\nDirectSoundの初期化に失敗しました.\n"
                          "サウンドなしで続けます.\n"
                          "load(Data\\Click.wav) ... ok.\n" +
                          Separator + "\nFreeDirectSound\nrelease(Data\\Click.wav)\n>>"),
              std::string::npos)
        << output;
}

TEST(SoundSystem, LostDeviceGoesSilentAndSaysSoOnce) {
    TempDir folder;
    // Every write to /dev/full fails, which the wave output takes for a lost device.
    folder.Write("full.conf", "[general]\ndrivers=wave\n[wave]\nfile=/dev/full\n");
    std::string output;
    ASSERT_EQ(RunSelf({{"STARMARCH_SOUND_SCENARIO", "lost"},
                       {"ALSOFT_DRIVERS", "wave"},
                       {"ALSOFT_CONF", folder.path + "/full.conf"}},
                      output),
              0)
        << output;
    EXPECT_NE(output.find("init=1\nloaded=1\navailable=0\nplays=-1,-1,-1\n"), std::string::npos) << output;
    size_t logStart = output.find("log<<");
    ASSERT_NE(logStart, std::string::npos) << output;
    std::string log = output.substr(logStart);
    EXPECT_EQ(Count(log, LostLine), 1u) << log;
    // Closing the lost device finishes.
    EXPECT_NE(log.find("FreeDirectSound\nrelease(Data\\Click.wav)\n>>"), std::string::npos) << log;
}
