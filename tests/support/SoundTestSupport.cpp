#include "support/SoundTestSupport.h"

#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundPool.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <mutex>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

void PutLe16(Bytes& bytes, uint32_t value) {
    bytes.push_back(uint8_t(value & 0xFF));
    bytes.push_back(uint8_t((value >> 8) & 0xFF));
}

void PutLe32(Bytes& bytes, uint32_t value) {
    PutLe16(bytes, value & 0xFFFF);
    PutLe16(bytes, value >> 16);
}

void PutTag(Bytes& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

Bytes FormatBody(uint16_t formatTag, uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample,
                 bool withExtraSize) {
    Bytes body;
    uint16_t blockAlign = uint16_t(channels * bitsPerSample / 8);
    PutLe16(body, formatTag);
    PutLe16(body, channels);
    PutLe32(body, samplesPerSecond);
    PutLe32(body, samplesPerSecond * blockAlign);
    PutLe16(body, blockAlign);
    PutLe16(body, bitsPerSample);
    if (withExtraSize) PutLe16(body, 0);
    return body;
}

Bytes ChunkDeclaring(const char* tag, uint32_t declaredLength, const Bytes& body) {
    Bytes chunk;
    PutTag(chunk, tag);
    PutLe32(chunk, declaredLength);
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2 == 1 && declaredLength == body.size()) chunk.push_back(0);
    return chunk;
}

Bytes Chunk(const char* tag, const Bytes& body) {
    return ChunkDeclaring(tag, uint32_t(body.size()), body);
}

Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes inside;
    PutTag(inside, "WAVE");
    for (const Bytes& chunk : chunks) inside.insert(inside.end(), chunk.begin(), chunk.end());
    Bytes file;
    PutTag(file, "RIFF");
    PutLe32(file, uint32_t(inside.size()));
    file.insert(file.end(), inside.begin(), inside.end());
    return file;
}

Bytes PcmWav(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample, const Bytes& samples) {
    return RiffWave(
        {Chunk("fmt ", FormatBody(1, channels, samplesPerSecond, bitsPerSample)), Chunk("data", samples)});
}

Bytes Tone16(double seconds, uint32_t samplesPerSecond, double frequency, int amplitude) {
    Bytes samples;
    int frames = int(seconds * samplesPerSecond);
    for (int i = 0; i < frames; ++i) {
        double phase = 2.0 * M_PI * frequency * i / samplesPerSecond;
        PutLe16(samples, uint16_t(int16_t(std::lround(amplitude * std::sin(phase)))));
    }
    return samples;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

const std::string& UseCaptureOutput() {
    static std::unique_ptr<TempDir> folder;
    static std::string capturePath;
    static std::once_flag once;
    std::call_once(once, [] {
        if (const char* chosen = std::getenv("STARMARCH_SOUND_CAPTURE")) {
            capturePath = chosen;
            return;
        }
        folder = std::make_unique<TempDir>();
        capturePath = folder->path + "/mix.wav";
        folder->Write("alsoft.conf", "[general]\ndrivers=wave\nfrequency=44100\nchannels=stereo\n"
                                     "sample-type=int16\nhrtf=false\ndither=false\n[wave]\nfile=" +
                                         capturePath + "\n");
        // Both win over what the caller's environment chose (ALSOFT_DRIVERS=null).
        setenv("ALSOFT_CONF", (folder->path + "/alsoft.conf").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("STARMARCH_SOUND_CAPTURE", capturePath.c_str(), 1);
    });
    return capturePath;
}

namespace {

// What the wave output wrote: interleaved 16-bit stereo.
struct CapturedMix {
    int channels = 0;
    int samplesPerSecond = 0;
    std::vector<int16_t> samples;
};

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

bool ReadCapturedMix(const std::string& path, CapturedMix& mix) {
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    size_t size = text.size();
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0) return false;
    int bits = 0;
    for (size_t position = 12; position + 8 <= size;) {
        uint32_t length = Le32(bytes + position + 4);
        const uint8_t* body = bytes + position + 8;
        if (std::memcmp(bytes + position, "fmt ", 4) == 0 && position + 8 + 16 <= size) {
            mix.channels = Le16(body + 2);
            mix.samplesPerSecond = int(Le32(body + 4));
            bits = Le16(body + 14);
        } else if (std::memcmp(bytes + position, "data", 4) == 0) {
            if (bits != 16) return false;
            // The length stays unset when the writer was not closed.
            size_t available = std::min<size_t>(length, size - position - 8) / 2;
            mix.samples.resize(available);
            for (size_t i = 0; i < available; ++i) mix.samples[i] = int16_t(Le16(body + 2 * i));
            return mix.channels == 2;
        }
        position += 8 + size_t(length) + (length & 1u);
    }
    return false;
}

// Below this a frame counts as silent (the mixer's rounding, never a sound).
constexpr int SilenceLevel = 4;

ChannelLevels MeasureLevels(const CapturedMix& mix) {
    size_t frames = mix.samples.size() / 2;
    size_t first = frames, last = 0;
    for (size_t i = 0; i < frames; ++i) {
        if (std::abs(mix.samples[2 * i]) <= SilenceLevel && std::abs(mix.samples[2 * i + 1]) <= SilenceLevel)
            continue;
        first = std::min(first, i);
        last = i;
    }
    ChannelLevels levels;
    if (first == frames) return levels;
    double left = 0, right = 0;
    for (size_t i = first; i <= last; ++i) {
        left += double(mix.samples[2 * i]) * mix.samples[2 * i];
        right += double(mix.samples[2 * i + 1]) * mix.samples[2 * i + 1];
    }
    double count = double(last - first + 1);
    levels.left = std::sqrt(left / count);
    levels.right = std::sqrt(right / count);
    return levels;
}

} // namespace

double ToneLevel() {
    return 16384 / std::sqrt(2.0) * std::pow(10.0, -100 / 2000.0);
}

ChannelLevels PlayToneAt(const char* name, const std::vector<std::string>& switches,
                         const std::function<void(SoundSystem&)>& listen, float x, float y, float z) {
    const std::string& capturePath = UseCaptureOutput();
    TempDir folder;
    std::filesystem::create_directory(folder.path + "/Data");
    WriteBytes(folder.path + "/Data/Tone.wav", PcmWav(1, 44100, 16, Tone16(0.3, 44100, 440, 16384)));
    std::string log;
    SetLogCapture(&log);
    CommandLine commandLine(switches);
    SoundSystem system(commandLine, folder.path + "/");
    EXPECT_TRUE(system.Init());
    EXPECT_TRUE(system.Available()) << log;
    // As the game sets it up: ten metres to the unit.
    system.SetListenerDistanceFactor(10.0f);
    listen(system);
    {
        SoundPool pool(system, 1);
        EXPECT_TRUE(pool.Load("Data\\Tone.wav"));
        EXPECT_EQ(pool.Play(x, y, z, 1.0f), 0);
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
    std::printf("%-40s left RMS %7.1f  right RMS %7.1f\n", name, levels.left, levels.right);
    return levels;
}

int RunSelf(const std::vector<std::pair<std::string, std::string>>& environment, std::string& output) {
    TempDir folder;
    std::string outputPath = folder.path + "/output.txt";

    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        std::string variable = *entry;
        bool replaced = false;
        for (const auto& [name, value] : environment) replaced |= variable.rfind(name + "=", 0) == 0;
        if (!replaced) variables.push_back(variable);
    }
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);

    std::string self = "/proc/self/exe";
    // The child does its work before any test runs; the filter keeps it from
    // running tests should it get that far.
    std::string filter = "--gtest_filter=-*";
    char* argv[] = {self.data(), filter.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    int error = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    output = folder.Read("output.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
