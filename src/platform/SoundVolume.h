#pragma once

#include <optional>

// Volumes are in hundredths of a decibel: 0 is the sound as recorded, -10000
// is silence. Nothing outside that range is ever given to a voice.
constexpr int MinVolume = -10000;
constexpr int MaxVolume = 0;

// The volume that a volume factor asks for, -100 / factor truncated (factor 1
// is -1 dB, 0.5 is -2 dB, 0.01 is the quietest at -100 dB). Empty when the
// result falls outside MinVolume..MaxVolume or is no number at all (factor 0,
// a negative factor, NaN): the voice then keeps the volume it had.
std::optional<int> VolumeFromFactor(float volumeFactor);

// The linear gain of a volume: 10^(volume / 2000).
float GainFromVolume(int volume);

// The volume nearest to a linear gain, within MinVolume..MaxVolume.
int VolumeFromGain(float gain);

// How loud an explosion of the given size sounds. The factor the explosions
// pass (-1 / size) always asks for more than full volume, so their loudness
// has its own scale: full at size 8 and above, 4 dB less for every halving of
// the size, never below -30 dB.
int ExplosionVolume(float size);
