#pragma once

#include "platform/SoundEffect.h"

#include <memory>
#include <string>
#include <vector>

class SoundSystem;

// Several voices of one sound, so that it can overlap itself: the first idle
// voice plays, and when all are busy the sound is dropped. The file is read
// once and its buffer shared by the voices. Must not outlive its SoundSystem.
class SoundPool {
public:
    SoundPool(SoundSystem& system, int voiceCount);
    ~SoundPool();
    SoundPool(const SoundPool&) = delete;
    SoundPool& operator=(const SoundPool&) = delete;

    // Loads every voice from the same file, with one "load(name) ... " line.
    bool Load(const std::string& fileName);
    // Logs "release(name)" once when something was loaded.
    void Release();

    // Plays the first idle voice at a point of the game's space with volume
    // -100 / volumeFactor hundredths of a decibel. A factor whose volume would
    // fall outside -10000..0 (0, negative, tiny) leaves that voice's volume as
    // it was. Returns the voice that plays, or -1 when the sound was dropped
    // or there is nothing to hear.
    int Play(float x, float y, float z, float volumeFactor);
    // The same with a volume given directly, clamped to -10000..0.
    int PlayAtVolume(float x, float y, float z, int volume);

    int VoiceCount() const { return int(voices.size()); }
    const SoundEffect& Voice(int index) const { return *voices[size_t(index)]; }
    const std::string& Name() const { return name; }

private:
    // The voice Play should use, or -1 when all are busy or silent.
    int IdleVoice();
    int PlayVoice(int index, float x, float y, float z);

    SoundSystem& system;
    // Fixed at construction.
    std::vector<std::unique_ptr<SoundEffect>> voices;
    std::string name;
};
