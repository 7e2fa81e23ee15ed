#include "platform/SoundVolume.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float FullExplosionSize = 8.0f;
constexpr float ExplosionStepPerHalving = 400.0f;
constexpr int QuietestExplosion = -3000;

} // namespace

std::optional<int> VolumeFromFactor(float volumeFactor) {
    if (volumeFactor == 0.0f || std::isnan(volumeFactor)) return std::nullopt;
    // Single precision, as the volume has always been worked out: 0.1 gives
    // exactly -1000, not -999.
    float volume = -100.0f / volumeFactor;
    // Compared before the conversion, so no out-of-range float becomes an int.
    if (!(volume > float(MinVolume - 1) && volume < float(MaxVolume + 1))) return std::nullopt;
    return int(volume);
}

float GainFromVolume(int volume) {
    volume = std::clamp(volume, MinVolume, MaxVolume);
    return std::pow(10.0f, float(volume) / 2000.0f);
}

int VolumeFromGain(float gain) {
    if (!(gain > 0.0f)) return MinVolume;
    float volume = std::round(2000.0f * std::log10(gain));
    if (!(volume > float(MinVolume))) return MinVolume;
    if (!(volume < float(MaxVolume))) return MaxVolume;
    return int(volume);
}

int ExplosionVolume(float size) {
    if (!(size > 0.0f)) return QuietestExplosion;
    float volume = ExplosionStepPerHalving * std::log2(size / FullExplosionSize);
    if (!(volume > float(QuietestExplosion))) return QuietestExplosion;
    if (!(volume < float(MaxVolume))) return MaxVolume;
    return int(volume);
}
