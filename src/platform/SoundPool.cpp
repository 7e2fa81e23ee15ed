#include "platform/SoundPool.h"

#include "platform/Log.h"
#include "platform/Sound.h"
#include "platform/SoundBuffer.h"
#include "platform/SoundEffect.h"
#include "platform/SoundVolume.h"

#include <algorithm>

SoundPool::SoundPool(SoundSystem& system, int voiceCount) : system(system) {
    voices.reserve(size_t(std::max(voiceCount, 0)));
    for (int i = 0; i < voiceCount; ++i) voices.push_back(std::make_unique<SoundEffect>(system));
}

SoundPool::~SoundPool() {
    Release();
}

bool SoundPool::Load(const std::string& fileName) {
    Release();
    Log("load(%s) ... ", fileName.c_str());
    name = fileName;
    std::shared_ptr<SoundBuffer> sound;
    WavStatus status = SoundBuffer::Read(system, fileName, sound);
    if (sound) {
        for (auto& voice : voices) {
            if (voice->Use(sound)) continue;
            // Out of mixer sources: the whole pool stays silent.
            status = WavStatus::OutOfMemory;
            for (auto& loaded : voices) loaded->Drop();
            break;
        }
    }
    Log("%s\n", WavStatusText(status));
    return IsLoaded(status);
}

void SoundPool::Release() {
    if (!name.empty()) {
        Log("release(%s)\n", name.c_str());
        name.clear();
    }
    for (auto& voice : voices) voice->Drop();
}

int SoundPool::Play(float x, float y, float z, float volumeFactor) {
    int index = IdleVoice();
    if (index < 0) return -1;
    if (std::optional<int> volume = VolumeFromFactor(volumeFactor)) voices[size_t(index)]->SetVolume(*volume);
    return PlayVoice(index, x, y, z);
}

int SoundPool::PlayAtVolume(float x, float y, float z, int volume) {
    int index = IdleVoice();
    if (index < 0) return -1;
    voices[size_t(index)]->SetVolume(volume);
    return PlayVoice(index, x, y, z);
}

int SoundPool::IdleVoice() {
    if (voices.empty() || !voices.front()->HasBuffer() || !system.Available()) return -1;
    for (size_t i = 0; i < voices.size(); ++i)
        if (!voices[i]->IsPlaying()) return int(i);
    return -1;
}

int SoundPool::PlayVoice(int index, float x, float y, float z) {
    SoundEffect& voice = *voices[size_t(index)];
    voice.SetPosition(x, y, z);
    voice.Play(false);
    return index;
}
