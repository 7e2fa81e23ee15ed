#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr int SampleRate = 22050;

// One sound effect: 16-bit mono samples at SampleRate, and the file it goes to.
struct Sound {
    std::string fileName;
    std::vector<int16_t> samples;
};

// The ten sounds of the game, synthesised from tones and seeded noise.
std::vector<Sound> BuildSounds();

// A RIFF/WAVE file: "fmt " first (PCM, mono, 16 bits), then "data".
std::string EncodeWav(const std::vector<int16_t>& samples, int sampleRate);

} // namespace assetgen
