#pragma once

#include "platform/WavReader.h"

#include <memory>
#include <string>

class SoundSystem;

// One decoded sound file in one sound-library buffer, shared read-only by the
// voices that play it. Lives while a voice holds it; every voice lets go
// before its system closes the device.
class SoundBuffer {
public:
    SoundBuffer(SoundSystem& system, unsigned id) : system(system), id(id) {}
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    // Reads fileName (resolved in the program directory) and, when the system
    // can play, puts it into a buffer: mono with 3D sound on, so it can be
    // placed, stereo with it off. Logs nothing. The buffer stays null when the
    // file fails, when it holds too little to play, and without a device.
    static WavStatus Read(SoundSystem& system, const std::string& fileName,
                          std::shared_ptr<SoundBuffer>& buffer);

    unsigned Id() const { return id; }

private:
    SoundSystem& system;
    unsigned id;
};

// Whether a load that ended so counts as loaded (a sound too short to play
// loads silent).
inline bool IsLoaded(WavStatus status) {
    return status == WavStatus::Ok || status == WavStatus::DataTooSmall;
}
