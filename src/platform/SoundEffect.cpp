#include "platform/SoundEffect.h"

#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundBuffer.h"
#include "platform/SoundVolume.h"

#include <AL/al.h>
#include <AL/alext.h>
#include <algorithm>

namespace {

// Up to this distance a placed sound plays at its full volume: the menu clicks
// come from 10 units above the camera.
constexpr float FullVolumeDistance = 10.0f;
// Beyond it the level falls gently (about -9.5 dB at 50 units, -20 dB at
// 180), so the battle around the orbit camera stays clearly audible.
constexpr float Rolloff = 0.5f;

} // namespace

SoundEffect::~SoundEffect() {
    Release();
}

bool SoundEffect::Load(const std::string& fileName) {
    Release();
    Log("load(%s) ... ", fileName.c_str());
    name = fileName;
    std::shared_ptr<SoundBuffer> sound;
    WavStatus status = SoundBuffer::Read(system, fileName, sound);
    if (sound && !Use(std::move(sound))) status = WavStatus::OutOfMemory;
    Log("%s\n", WavStatusText(status));
    return IsLoaded(status);
}

void SoundEffect::Release() {
    if (!name.empty()) {
        Log("release(%s)\n", name.c_str());
        name.clear();
    }
    Drop();
}

void SoundEffect::Play(bool loop) {
    if (source == 0 || !system.Available() || !system.MakeCurrent()) return;
    alSourceStop(source);
    alSourceRewind(source);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
}

bool SoundEffect::IsPlaying() const {
    if (source == 0 || !system.MakeCurrent()) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void SoundEffect::SetPosition(float x, float y, float z) {
    if (source == 0 || !system.Use3D() || !system.MakeCurrent()) return;
    // The mixer's space is right-handed: the game's forward z points the other way.
    alSource3f(source, AL_POSITION, x, y, -z);
}

void SoundEffect::SetVolume(int newVolume) {
    volume = std::clamp(newVolume, MinVolume, MaxVolume);
    if (source != 0 && system.MakeCurrent()) alSourcef(source, AL_GAIN, GainFromVolume(volume));
}

float SoundEffect::MixerGain() const {
    float gain = 1.0f;
    if (source != 0 && system.MakeCurrent()) alGetSourcef(source, AL_GAIN, &gain);
    return gain;
}

bool SoundEffect::Use(std::shared_ptr<SoundBuffer> sound) {
    if (!sound || !system.MakeCurrent()) return false;
    if (source == 0) {
        alGetError();
        ALuint id = 0;
        alGenSources(1, &id);
        if (alGetError() != AL_NO_ERROR || id == 0) return false;
        source = id;
        system.Register(this);
        if (system.Use3D()) {
            alSourcei(source, AL_SOURCE_RELATIVE, AL_FALSE);
            alSourcef(source, AL_REFERENCE_DISTANCE, FullVolumeDistance);
            alSourcef(source, AL_ROLLOFF_FACTOR, Rolloff);
        } else {
            // Unplaced: always at the listener, its two channels straight to
            // the two speakers at full level.
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
            alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
            if (alIsExtensionPresent("AL_SOFT_direct_channels"))
                alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
        }
        alSourcef(source, AL_GAIN, GainFromVolume(volume));
    }
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(sound->Id()));
    buffer = std::move(sound);
    return true;
}

void SoundEffect::Drop() {
    if (source != 0) system.Unregister(this);
    Forget();
}

void SoundEffect::Forget() {
    if (source != 0 && system.MakeCurrent()) {
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        ALuint id = source;
        alDeleteSources(1, &id);
    }
    source = 0;
    // Last: the buffer may go with it, and no source may hold it then.
    buffer.reset();
}
