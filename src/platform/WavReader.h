#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How reading a sound file ended. Every value but Ok and DataTooSmall fails the
// load; DataTooSmall loads a silent sound.
enum class WavStatus {
    Ok,
    OpenError,
    RiffNotFound,
    FmtNotFound,
    NotPcm,
    AscendError,
    ChunkNotFound,
    DataTooSmall,
    OutOfMemory,
};

// The text the load line ends with: "ok." or the failure, without the line end.
const char* WavStatusText(WavStatus status);

// Plain PCM as the mixer takes it: 8-bit unsigned or 16-bit signed
// little-endian samples, one or two interleaved channels.
struct WavFormat {
    int channels = 0;
    int samplesPerSecond = 0;
    int bitsPerSample = 0;

    int FrameBytes() const { return channels * bitsPerSample / 8; }
};

struct WavData {
    WavFormat format;
    // Whole frames only; never empty when the read returned Ok.
    std::vector<uint8_t> samples;

    int FrameCount() const;
};

// The largest data chunk a sound may declare (256 MiB): a bigger one is a
// broken header, not a sound, and is refused before anything is allocated.
constexpr uint32_t MaxWavDataBytes = 0x0FFFFFFF;

// Reads a RIFF/WAVE file. The first chunk inside the form is taken as the
// format, as the game's files have always been written; "data" is then looked
// for among the chunks that follow. Only PCM with one or two channels of 8 or
// 16 bits is accepted. No read goes past the end of the file: a data chunk cut
// short by the file's end gives the frames that are there.
WavStatus ReadWav(const std::string& path, WavData& wav);

// Mixes two channels down to one, so that the sound can be placed in space.
// A mono sound is left as it is.
void MixToMono(WavData& wav);

// Gives a mono sound the same samples in both channels, so that it plays at
// its full level on both speakers. A stereo sound is left as it is.
void SpreadToStereo(WavData& wav);
