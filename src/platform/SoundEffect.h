#pragma once

#include <memory>
#include <string>

class SoundBuffer;
class SoundSystem;

// One voice: a loaded sound that plays from one place at one volume at a time.
// Silent while nothing is loaded, when the load failed, and without a device.
// Must not outlive its SoundSystem.
class SoundEffect {
public:
    explicit SoundEffect(SoundSystem& system) : system(system) {}
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // Reads a WAV file ("Data\X.wav" style or an absolute path), logging
    // "load(name) ... " and the result. False when the file failed; a file
    // with too little data to play loads silent and counts as loaded.
    bool Load(const std::string& fileName);
    // Logs "release(name)" when something was loaded and lets go of it.
    void Release();

    // Plays from the start; a sound that is playing starts again.
    void Play(bool loop);
    bool IsPlaying() const;
    // Whether there is something to play.
    bool HasBuffer() const { return source != 0; }

    // A position in the game's left-handed space; ignored with "/3ds".
    void SetPosition(float x, float y, float z);
    // Hundredths of a decibel, clamped to MinVolume..MaxVolume.
    void SetVolume(int volume);
    int Volume() const { return volume; }
    // The gain the mixer holds for this voice (1 without a voice).
    float MixerGain() const;

    const std::string& Name() const { return name; }

private:
    friend class SoundPool;
    friend class SoundSystem;

    // Plays the shared buffer from now on: makes the voice's source when it
    // has none. False when the mixer has no source left.
    bool Use(std::shared_ptr<SoundBuffer> sound);
    // Stops and frees the source and lets go of the buffer.
    void Drop();
    // The device is closing: free everything without telling the system.
    void Forget();

    SoundSystem& system;
    // Held while the voice has a source; null otherwise.
    std::shared_ptr<SoundBuffer> buffer;
    // The mixer's source, 0 while there is none.
    unsigned source = 0;
    // The file last asked for, kept after a failed load; empty inside a pool.
    std::string name;
    // The volume last accepted; a new source starts at it.
    int volume = 0;
};
