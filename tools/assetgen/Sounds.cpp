#include "assetgen/Sounds.h"

#include "assetgen/Geometry.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

enum class Wave { Sine, Square, Saw, Noise };
enum class Filter { None, LowPass, BandPass };

// One voice of a sound: a tone or filtered noise whose pitch (or filter
// frequency) glides exponentially from `from` to `to` over its length, shaped
// by a linear attack and an exponential decay.
struct Layer {
    Wave wave;
    Filter filter;
    float start;
    float length;
    float from;
    float to;
    float level;
    float attack;
    float decay;
    // Pitch wobble: rate in hertz, depth as a fraction of the pitch.
    float vibratoRate = 0.0f;
    float vibratoDepth = 0.0f;
    // Damping of the band-pass filter: smaller rings more.
    float damping = 0.7f;
};

struct Recipe {
    const char* fileName;
    float duration;
    float peak;
    uint32_t seed;
    std::vector<Layer> layers;
};

// Where the game uses each sound: the two interface blips are quiet, the
// explosion fills the room.
const std::vector<Recipe>& Recipes() {
    using enum Wave;
    static const std::vector<Recipe> recipes = {
        {"MouseClick.wav",
         0.06f,
         0.45f,
         11u,
         {{Sine, Filter::None, 0.0f, 0.06f, 2300.0f, 1700.0f, 0.7f, 0.001f, 0.009f},
          {Noise, Filter::LowPass, 0.0f, 0.02f, 5000.0f, 2500.0f, 0.5f, 0.0005f, 0.003f}}},
        {"MouseOver.wav",
         0.08f,
         0.3f,
         12u,
         {{Sine, Filter::None, 0.0f, 0.08f, 900.0f, 1500.0f, 0.8f, 0.006f, 0.022f},
          {Sine, Filter::None, 0.0f, 0.08f, 1800.0f, 3000.0f, 0.2f, 0.006f, 0.015f}}},
        {"Explotion.wav",
         1.6f,
         0.95f,
         13u,
         {{Noise, Filter::LowPass, 0.0f, 1.6f, 4000.0f, 180.0f, 1.0f, 0.004f, 0.25f},
          {Noise, Filter::LowPass, 0.0f, 1.6f, 220.0f, 80.0f, 1.8f, 0.04f, 0.85f},
          {Sine, Filter::None, 0.0f, 1.4f, 70.0f, 26.0f, 0.7f, 0.01f, 0.5f},
          {Noise, Filter::BandPass, 0.12f, 1.45f, 450.0f, 110.0f, 0.6f, 0.08f, 0.6f, 0.0f, 0.0f, 0.5f}}},
        {"BarrageShot.wav",
         0.55f,
         0.85f,
         14u,
         {{Sine, Filter::None, 0.0f, 0.5f, 130.0f, 42.0f, 1.0f, 0.002f, 0.11f},
          {Noise, Filter::LowPass, 0.0f, 0.3f, 3000.0f, 400.0f, 0.9f, 0.001f, 0.045f},
          {Noise, Filter::LowPass, 0.02f, 0.5f, 350.0f, 150.0f, 0.7f, 0.01f, 0.18f}}},
        {"LaserHit.wav",
         0.3f,
         0.7f,
         15u,
         {{Noise, Filter::BandPass, 0.0f, 0.3f, 3500.0f, 1200.0f, 0.8f, 0.002f, 0.09f, 0.0f, 0.0f, 0.3f},
          {Square, Filter::None, 0.0f, 0.25f, 1600.0f, 700.0f, 0.25f, 0.002f, 0.07f, 45.0f, 0.08f}}},
        {"LaserShot.wav",
         0.35f,
         0.75f,
         16u,
         {{Saw, Filter::None, 0.0f, 0.35f, 2800.0f, 320.0f, 0.5f, 0.002f, 0.11f},
          {Sine, Filter::None, 0.0f, 0.35f, 1400.0f, 160.0f, 0.6f, 0.002f, 0.13f},
          {Noise, Filter::BandPass, 0.0f, 0.1f, 6000.0f, 3000.0f, 0.2f, 0.001f, 0.02f}}},
        {"Missile.wav",
         0.9f,
         0.8f,
         17u,
         {{Noise, Filter::BandPass, 0.0f, 0.9f, 500.0f, 2600.0f, 1.0f, 0.09f, 0.35f, 0.0f, 0.0f, 0.35f},
          {Noise, Filter::LowPass, 0.0f, 0.9f, 500.0f, 250.0f, 0.6f, 0.02f, 0.3f},
          {Noise, Filter::LowPass, 0.0f, 0.05f, 4000.0f, 2000.0f, 0.5f, 0.001f, 0.015f}}},
        {"MissileS.wav",
         0.6f,
         0.7f,
         18u,
         {{Noise, Filter::BandPass, 0.0f, 0.6f, 900.0f, 3800.0f, 1.0f, 0.05f, 0.2f, 0.0f, 0.0f, 0.35f},
          {Noise, Filter::LowPass, 0.0f, 0.04f, 5000.0f, 2500.0f, 0.4f, 0.001f, 0.01f}}},
        {"PlasmaHit.wav",
         0.3f,
         0.75f,
         19u,
         {{Noise, Filter::LowPass, 0.0f, 0.3f, 2200.0f, 300.0f, 0.9f, 0.001f, 0.06f},
          {Sine, Filter::None, 0.0f, 0.3f, 200.0f, 60.0f, 0.8f, 0.002f, 0.07f},
          {Noise, Filter::BandPass, 0.0f, 0.2f, 1500.0f, 600.0f, 0.3f, 0.003f, 0.05f, 0.0f, 0.0f, 0.4f}}},
        {"PlasmaShot.wav",
         0.22f,
         0.6f,
         20u,
         {{Square, Filter::None, 0.0f, 0.22f, 1150.0f, 230.0f, 0.35f, 0.002f, 0.05f, 30.0f, 0.05f},
          {Sine, Filter::None, 0.0f, 0.22f, 750.0f, 150.0f, 0.6f, 0.002f, 0.06f}}},
    };
    return recipes;
}

// A small fixed-seed generator of our own, so the noise is the same on every
// machine and every run.
class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 1u) {}
    float Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return float(state) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t state;
};

std::vector<float> Render(const Recipe& recipe) {
    size_t count = size_t(recipe.duration * SampleRate);
    std::vector<float> mix(count, 0.0f);
    Noise noise(recipe.seed);
    for (const Layer& layer : recipe.layers) {
        float phase = 0.0f, low = 0.0f, band = 0.0f;
        size_t first = size_t(layer.start * SampleRate);
        size_t last = std::min(count, first + size_t(layer.length * SampleRate));
        for (size_t i = first; i < last; ++i) {
            float t = float(i - first) / SampleRate;
            float progress = t / layer.length;
            float frequency = layer.from * std::pow(layer.to / layer.from, progress);
            if (layer.vibratoDepth > 0.0f)
                frequency *= 1.0f + layer.vibratoDepth * std::sin(2.0f * Pi * layer.vibratoRate * t);
            float envelope =
                t < layer.attack ? t / layer.attack : std::exp(-(t - layer.attack) / layer.decay);
            float value = 0.0f;
            if (layer.wave == Wave::Noise) {
                float input = noise.Next();
                // A state-variable filter tuned to the gliding frequency.
                float f = 2.0f * std::sin(Pi * std::min(frequency, SampleRate * 0.2f) / SampleRate);
                low += f * band;
                float high = input - low - layer.damping * band;
                band += f * high;
                value = layer.filter == Filter::LowPass    ? low
                        : layer.filter == Filter::BandPass ? band
                                                           : input;
            } else {
                phase += frequency / SampleRate;
                phase -= std::floor(phase);
                switch (layer.wave) {
                case Wave::Sine:
                    value = std::sin(2.0f * Pi * phase);
                    break;
                case Wave::Square:
                    value = phase < 0.5f ? 0.6f : -0.6f;
                    break;
                case Wave::Saw:
                    value = 2.0f * phase - 1.0f;
                    break;
                case Wave::Noise:
                    break;
                }
            }
            mix[i] += value * envelope * layer.level;
        }
    }
    // Bring the loudest sample to the sound's peak and fade the last 10 ms,
    // so nothing clicks when a voice stops.
    float loudest = 0.0f;
    for (float v : mix) loudest = std::max(loudest, std::fabs(v));
    float gain = loudest > 0.0f ? recipe.peak / loudest : 0.0f;
    size_t fade = size_t(0.01f * SampleRate);
    for (size_t i = 0; i < count; ++i) {
        mix[i] *= gain;
        if (i + fade > count) mix[i] *= float(count - i) / float(fade);
    }
    return mix;
}

void Put16(std::string& out, uint32_t value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::vector<Sound> BuildSounds() {
    std::vector<Sound> sounds;
    for (const Recipe& recipe : Recipes()) {
        Sound sound{recipe.fileName, {}};
        for (float v : Render(recipe))
            sound.samples.push_back(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
        sounds.push_back(std::move(sound));
    }
    return sounds;
}

std::string EncodeWav(const std::vector<int16_t>& samples, int sampleRate) {
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string out = "RIFF";
    // The format chunk is a full WAVEFORMATEX (18 bytes, no extra data), so a
    // reader that takes 18 bytes of it reads nothing of the next chunk.
    Put32(out, 4 + (8 + 18) + (8 + dataBytes));
    out += "WAVE";
    out += "fmt ";
    Put32(out, 18);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, uint32_t(sampleRate));
    Put32(out, uint32_t(sampleRate * 2));
    Put16(out, 2);
    Put16(out, 16);
    Put16(out, 0);
    out += "data";
    Put32(out, dataBytes);
    for (int16_t s : samples) Put16(out, uint16_t(s));
    return out;
}

} // namespace assetgen
