#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundEffect.h"
#include "platform/SoundPool.h"
#include "platform/WavReader.h"
#include "support/SoundTestSupport.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using LogCapture = ScopedLogCapture;

// A game folder with Data/ in it and a sound system that never opened a
// device: loads read and log as in the game, and nothing is heard.
struct SoundFolder {
    SoundFolder() { std::filesystem::create_directory(folder.path + "/Data"); }
    void Put(const std::string& name, const Bytes& bytes) const {
        WriteBytes(folder.path + "/Data/" + name, bytes);
    }

    TempDir folder;
    CommandLine commandLine;
    SoundSystem system{commandLine, folder.path + "/"};
};

Bytes Samples(std::initializer_list<uint8_t> values) {
    return Bytes(values);
}

} // namespace

TEST(WavReader, EachBrokenFileFailsWithItsLine) {
    SoundFolder game;
    const Bytes fmt16 = Chunk("fmt ", FormatBody(1, 1, 22050, 16));
    const Bytes someData = Chunk("data", Tone16(0.01, 22050, 440, 8000));
    Bytes listInfo;
    PutTag(listInfo, "INFO");
    PutTag(listInfo, "ISFT");
    PutLe32(listInfo, 2);
    PutLe16(listInfo, 'x');

    struct Case {
        const char* file;
        Bytes bytes;
        const char* line;
        bool loads;
    };
    const std::vector<Case> cases = {
        {"Empty.wav", {}, "RIFF is not found.", false},
        {"HeaderOnly.wav", Samples({'R', 'I', 'F', 'F', 4, 0}), "RIFF is not found.", false},
        {"NotWave.wav", Samples({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}), "RIFF is not found.",
         false},
        {"NoChunks.wav", RiffWave({}), "fmt is not found.", false},
        // The format is the first chunk; a file that starts with a LIST is refused.
        {"ListFirst.wav", RiffWave({Chunk("LIST", listInfo), fmt16, someData}), "is not PCM format.", false},
        {"Float.wav", RiffWave({Chunk("fmt ", FormatBody(3, 1, 22050, 32)), someData}), "is not PCM format.",
         false},
        {"Adpcm.wav", RiffWave({Chunk("fmt ", FormatBody(2, 1, 22050, 4)), someData}), "is not PCM format.",
         false},
        {"Extensible.wav", RiffWave({Chunk("fmt ", FormatBody(0xFFFE, 2, 44100, 16)), someData}),
         "is not PCM format.", false},
        {"Pcm24.wav", RiffWave({Chunk("fmt ", FormatBody(1, 1, 44100, 24)), someData}), "is not PCM format.",
         false},
        {"SixChannels.wav", RiffWave({Chunk("fmt ", FormatBody(1, 6, 44100, 16)), someData}),
         "is not PCM format.", false},
        {"NoRate.wav", RiffWave({Chunk("fmt ", FormatBody(1, 1, 0, 16)), someData}), "is not PCM format.",
         false},
        {"ShortFormat.wav", RiffWave({Chunk("fmt ", Samples({1, 0, 1, 0, 0x22, 0x56, 0, 0})), someData}),
         "is not PCM format.", false},
        // The format chunk claims more than the file holds.
        {"FormatPastEnd.wav", RiffWave({ChunkDeclaring("fmt ", 4000, FormatBody(1, 1, 22050, 16))}),
         "ascend error.", false},
        {"NoData.wav", RiffWave({fmt16, Chunk("LIST", listInfo)}), "chunk is not found.", false},
        {"HugeData.wav",
         RiffWave({fmt16, ChunkDeclaring("data", 0xFFFFFFF0u, Tone16(0.01, 22050, 440, 8000))}),
         "out of memory.", false},
        // Too little to play is no failure: the sound loads silent.
        {"EmptyData.wav", RiffWave({fmt16, Chunk("data", {})}), "data is too small.", true},
        {"HalfSample.wav", RiffWave({fmt16, Chunk("data", Samples({0x7F}))}), "data is too small.", true},
    };
    for (const Case& c : cases) game.Put(c.file, c.bytes);
    std::filesystem::create_directory(game.folder.path + "/Data/Folder.wav");

    auto expectLoad = [&](const std::string& name, const std::string& line, bool loads) {
        SCOPED_TRACE(name);
        LogCapture log;
        SoundEffect effect(game.system);
        EXPECT_EQ(effect.Load("Data\\" + name), loads);
        EXPECT_FALSE(effect.HasBuffer());
        EXPECT_EQ(log.text, "load(Data\\" + name + ") ... " + line + "\n");
    };
    for (const Case& c : cases) expectLoad(c.file, c.line, c.loads);
    expectLoad("Missing.wav", "open error.", false);
    expectLoad("Folder.wav", "open error.", false);

    // Without Data/ at all every sound fails to open, and the game goes on.
    TempDir bare;
    CommandLine noSwitches;
    SoundSystem noData(noSwitches, bare.path + "/");
    LogCapture log;
    SoundPool pool(noData, 4);
    EXPECT_FALSE(pool.Load("Data\\MouseClick.wav"));
    EXPECT_EQ(pool.Play(0, 0, 0, 1.0f), -1);
    EXPECT_EQ(log.text, "load(Data\\MouseClick.wav) ... open error.\n");
}

TEST(WavReader, ReadsEightAndSixteenBitMonoAndStereo) {
    TempDir folder;
    // Distinct bytes, so a frame read from the wrong place shows.
    Bytes samples;
    for (int i = 0; i < 48; ++i) samples.push_back(uint8_t(i * 5 + 3));

    for (uint16_t channels : {1, 2}) {
        for (uint16_t bits : {8, 16}) {
            SCOPED_TRACE(testing::Message() << channels << " channels, " << bits << " bits");
            std::string path = folder.path + "/tone.wav";
            WriteBytes(path, PcmWav(channels, 11025, bits, samples));
            WavData wav;
            ASSERT_EQ(ReadWav(path, wav), WavStatus::Ok);
            EXPECT_EQ(wav.format.channels, channels);
            EXPECT_EQ(wav.format.bitsPerSample, bits);
            EXPECT_EQ(wav.format.samplesPerSecond, 11025);
            EXPECT_EQ(wav.samples, samples);
            EXPECT_EQ(wav.FrameCount(), 48 / (channels * bits / 8));
        }
    }
}

TEST(WavReader, FindsDataPastOtherChunksAndStopsAtTheFileEnd) {
    TempDir folder;
    std::string path = folder.path + "/sound.wav";
    const Bytes tone = Tone16(0.01, 22050, 440, 8000);
    WavData wav;

    // An 18-byte format, an odd-sized chunk with its pad byte, then the data.
    WriteBytes(path,
               RiffWave({Chunk("fmt ", FormatBody(1, 1, 22050, 16, true)), Chunk("junk", Bytes(3, 0xEE)),
                         Chunk("data", tone), Chunk("LIST", Bytes(6, 0))}));
    ASSERT_EQ(ReadWav(path, wav), WavStatus::Ok);
    EXPECT_EQ(wav.samples, tone);

    // Data declared longer than the file: the whole frames that are there.
    Bytes cut = RiffWave({Chunk("fmt ", FormatBody(1, 1, 22050, 16)), ChunkDeclaring("data", 100000, tone)});
    cut.push_back(0x55);
    WriteBytes(path, cut);
    ASSERT_EQ(ReadWav(path, wav), WavStatus::Ok);
    ASSERT_EQ(wav.samples.size(), tone.size());
    EXPECT_TRUE(std::equal(tone.begin(), tone.end(), wav.samples.begin()));

    // An odd number of bytes of 16-bit stereo keeps whole frames only.
    WriteBytes(path, PcmWav(2, 22050, 16, Bytes(11, 0x10)));
    ASSERT_EQ(ReadWav(path, wav), WavStatus::Ok);
    EXPECT_EQ(wav.samples.size(), 8u);
}

TEST(WavReader, ChannelsMixDownWithoutOverflowAndSpreadUp) {
    WavData wide;
    wide.format = {2, 22050, 16};
    Bytes s;
    for (int value : {32767, 32767, -32768, -32768, 1000, -3000, 32767, -32768})
        PutLe16(s, uint16_t(int16_t(value)));
    wide.samples = s;
    MixToMono(wide);
    EXPECT_EQ(wide.format.channels, 1);
    Bytes mono;
    for (int value : {32767, -32768, -1000, 0}) PutLe16(mono, uint16_t(int16_t(value)));
    EXPECT_EQ(wide.samples, mono);

    WavData narrow;
    narrow.format = {2, 22050, 8};
    narrow.samples = {255, 255, 0, 0, 128, 128, 0, 255};
    MixToMono(narrow);
    EXPECT_EQ(narrow.samples, Bytes({255, 0, 128, 127}));

    SpreadToStereo(wide);
    EXPECT_EQ(wide.format.channels, 2);
    Bytes twice;
    for (int value : {32767, 32767, -32768, -32768, -1000, -1000, 0, 0})
        PutLe16(twice, uint16_t(int16_t(value)));
    EXPECT_EQ(wide.samples, twice);
}

TEST(WavReader, LoadAndReleaseLinesAndDataPaths) {
    SoundFolder game;
    game.Put("Click.wav", PcmWav(1, 22050, 16, Tone16(0.02, 22050, 880, 9000)));
    EXPECT_EQ(game.system.ResolvePath("Data\\Click.wav"), game.folder.path + "/Data/Click.wav");
    EXPECT_EQ(game.system.ResolvePath("/abs/Click.wav"), "/abs/Click.wav");

    LogCapture log;
    {
        SoundEffect effect(game.system);
        EXPECT_TRUE(effect.Load("Data\\Click.wav"));
        // Loading again lets go of the first sound; the failed load still
        // counts as asked for and is released at the end.
        EXPECT_FALSE(effect.Load("Data\\Gone.wav"));
        // A pool reads its file once for all its voices.
        SoundPool pool(game.system, 16);
        EXPECT_TRUE(pool.Load("Data\\Click.wav"));
    }
    EXPECT_EQ(log.text, "load(Data\\Click.wav) ... ok.\n"
                        "release(Data\\Click.wav)\n"
                        "load(Data\\Gone.wav) ... open error.\n"
                        "load(Data\\Click.wav) ... ok.\n"
                        "release(Data\\Click.wav)\n"
                        "release(Data\\Gone.wav)\n");
}
