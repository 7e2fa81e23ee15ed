#include "platform/SoundBuffer.h"

#include "platform/Sound.h"

#include <AL/al.h>
#include <new>

SoundBuffer::~SoundBuffer() {
    if (system.MakeCurrent()) alDeleteBuffers(1, &id);
}

WavStatus SoundBuffer::Read(SoundSystem& system, const std::string& fileName,
                            std::shared_ptr<SoundBuffer>& buffer) {
    buffer.reset();
    WavData wav;
    WavStatus status = ReadWav(system.ResolvePath(fileName), wav);
    if (status != WavStatus::Ok || !system.Available() || !system.MakeCurrent()) return status;

    // A placed sound has one channel: the mixer would play stereo as it is,
    // wherever the sound is. An unplaced one goes straight to both speakers,
    // as a sound without 3D always has.
    if (system.Use3D())
        MixToMono(wav);
    else
        SpreadToStereo(wav);
    bool mono = wav.format.channels == 1;
    ALenum format = wav.format.bitsPerSample == 8 ? (mono ? AL_FORMAT_MONO8 : AL_FORMAT_STEREO8)
                                                  : (mono ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16);

    // Earlier calls may have left an error behind; only this load's count.
    alGetError();
    ALuint id = 0;
    alGenBuffers(1, &id);
    if (alGetError() != AL_NO_ERROR) return WavStatus::OutOfMemory;
    alBufferData(id, format, wav.samples.data(), ALsizei(wav.samples.size()),
                 ALsizei(wav.format.samplesPerSecond));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &id);
        return WavStatus::OutOfMemory;
    }
    try {
        buffer = std::make_shared<SoundBuffer>(system, id);
    } catch (const std::bad_alloc&) {
        alDeleteBuffers(1, &id);
        return WavStatus::OutOfMemory;
    }
    return WavStatus::Ok;
}
