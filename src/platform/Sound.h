#pragma once

#include "platform/Subsystem.h"

#include <memory>
#include <string>
#include <vector>

class CommandLine;
class SoundEffect;

// Positional sound: the output device, its listener and the master volume.
// Sound effects and pools are made against one SoundSystem and must not
// outlive it. Positions are in the game's left-handed space (x right, y up,
// z forward).
//
// A machine without a usable sound device still runs the game: the start-up
// logs that the device could not be opened and every sound stays silent.
// Main thread only.
class SoundSystem : public Subsystem {
public:
    // The command line gives "/3ds" and "/fx"; sound files are looked up in
    // the sound folder, the one that holds Data/ (ending in a slash). The
    // command line must outlive the system.
    SoundSystem(const CommandLine& commandLine, std::string soundFolder);
    ~SoundSystem() override;
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    bool Init() override;
    // Puts the master volume back, silences and frees every loaded sound's
    // voice, and closes the device.
    void Free() override;

    // Whether sounds can be heard now: started on a device that is still
    // there. The first call that finds the device gone logs it once; from then
    // on every sound stays silent.
    bool Available();
    // Sounds are placed around the listener unless "/3ds" was given.
    bool Use3D() const { return use3D; }
    // Only logged: the mixer has no per-sound effect control to switch off.
    bool UseEffects() const { return useEffects; }

    // The listener calls do nothing with "/3ds" or without a device. The
    // distance factor is metres per game unit (the game uses 10).
    void SetListenerDistanceFactor(float factor);
    void SetListenerPosition(float x, float y, float z);
    void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ);

    // The volume of everything, in hundredths of a decibel (0 full, -10000
    // silent); a value outside that range is refused and changes nothing.
    void SetMasterVolume(int volume);
    int MasterVolume() const;

    // "Data\X.wav" -> "<sound folder>Data/X.wav"; absolute paths stay.
    std::string ResolvePath(const std::string& fileName) const;

private:
    friend class SoundBuffer;
    friend class SoundEffect;
    struct Output;

    // What Free does after its stop lines; the destructor's part.
    void Release();
    // Makes this system's context the one the sound calls go to. False
    // without a device.
    bool MakeCurrent();
    // Voices that hold sound-library objects, so Free can drop them first.
    void Register(SoundEffect* voice);
    void Unregister(SoundEffect* voice);

    const CommandLine& commandLine;
    std::string soundFolder;
    // Null until Init opens a device, and again after Free.
    std::unique_ptr<Output> output;
    // Every voice that holds a source; each removes itself when it lets go.
    std::vector<SoundEffect*> voices;
    bool started = false;
    // Set by Free once its lines are written; cleared by Init.
    bool stopped = false;
    bool use3D = true;
    bool useEffects = true;
    // Set once the device is found gone; never cleared until Free.
    bool lost = false;
    // The master volume found at start, put back by Free.
    int savedVolume = 0;
    int masterVolume = 0;
};

// The music loader of the original start-up: nothing to create here, but the
// log keeps its lines so the start-up trace reads the same.
class MusicLoader : public Subsystem {
public:
    bool Init() override;
    void Free() override;

private:
    bool stopped = false;
};
