#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Building blocks for sound files written byte by byte, so every field (and
// every way of getting one wrong) is in the test's hands.
using Bytes = std::vector<uint8_t>;

void PutLe16(Bytes& bytes, uint32_t value);
void PutLe32(Bytes& bytes, uint32_t value);
void PutTag(Bytes& bytes, const char* tag);

// The 16 bytes of a format chunk's body (18 with a zero extra-size field).
Bytes FormatBody(uint16_t formatTag, uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample,
                 bool withExtraSize = false);
// A chunk with its header; the declared length defaults to the body's size,
// and an odd body gets its pad byte.
Bytes Chunk(const char* tag, const Bytes& body);
Bytes ChunkDeclaring(const char* tag, uint32_t declaredLength, const Bytes& body);
// "RIFF", the length of what follows, "WAVE" and the chunks.
Bytes RiffWave(const std::vector<Bytes>& chunks);
// A plain PCM file: format chunk then data chunk.
Bytes PcmWav(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample, const Bytes& samples);
// A sine tone as 16-bit mono samples.
Bytes Tone16(double seconds, uint32_t samplesPerSecond, double frequency, int amplitude);

void WriteBytes(const std::string& path, const Bytes& bytes);

// The sound library chooses its output once per process, at its first call.
// Every test that opens a device calls this before it: output goes to a wave
// file in a folder of this process (returned), mixed at 44100 Hz as 16-bit
// stereo. A child process started by RunSelf keeps the output its parent
// chose for it.
const std::string& UseCaptureOutput();

// RMS of each channel of a captured mix over the part from the first to the
// last frame that is not silent (0 and 0 when all of it is).
struct ChannelLevels {
    double left = 0;
    double right = 0;
};

class SoundSystem;

// Plays a 0.3 s tone of 440 Hz at half of full scale once, at a point of the
// game's space, through a fresh sound system started with the switches and
// the game's distance factor, after `listen` has placed the listener; returns
// the levels of the captured mix (UseCaptureOutput first). The take's name
// and levels are printed.
ChannelLevels PlayToneAt(const char* name, const std::vector<std::string>& switches,
                         const std::function<void(SoundSystem&)>& listen, float x, float y, float z);
// The tone's RMS at the volume factor 1 (-1 dB) that PlayToneAt plays it with.
double ToneLevel();

// Runs this test binary again with extra environment variables (the sound
// library's output is chosen per process) and returns its exit status; what
// it printed goes to output.
int RunSelf(const std::vector<std::pair<std::string, std::string>>& environment, std::string& output);
