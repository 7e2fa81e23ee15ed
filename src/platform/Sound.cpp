#include "platform/Sound.h"

#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/SoundEffect.h"
#include "platform/SoundVolume.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr const char* ErrorCaption = "エラー";
// The mix rate the game has always asked for.
constexpr ALCint MixRate = 44100;
// Metres per second; divided by the distance factor it is in game units.
constexpr float SpeedOfSoundInMetres = 343.3f;

} // namespace

struct SoundSystem::Output {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    // Whether the device can tell that it has gone away.
    bool reportsLoss = false;
};

SoundSystem::SoundSystem(const CommandLine& commandLine, std::string soundFolder)
    : commandLine(commandLine), soundFolder(std::move(soundFolder)) {}

SoundSystem::~SoundSystem() {
    Release();
}

bool SoundSystem::Init() {
    if (started) Free();
    LogSeparator();
    Log("InitDirectSound\n");
    started = true;
    stopped = false;
    lost = false;
    use3D = !commandLine.HasSwitch("/3ds");
    useEffects = !commandLine.HasSwitch("/fx");

    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        // No sound card (or no sound server): the game goes on in silence.
        Log("DirectSoundの初期化に失敗しました.\n");
        Log("サウンドなしで続けます.\n");
        return true;
    }
    output = std::make_unique<Output>();
    output->device = device;

    Log("3Dサウンド = ");
    Log(use3D ? "ON\n" : "OFF\n");
    Log("エフェクト = ");
    Log(useEffects ? "ON\n" : "OFF\n");

    const ALCint attributes[] = {ALC_FREQUENCY, MixRate, 0};
    output->context = alcCreateContext(device, attributes);
    if (!output->context) {
        ShowErrorBox(ErrorCaption, "プライマリ・サウンドバッファが作成できません.");
        return false;
    }
    if (!alcMakeContextCurrent(output->context)) {
        ShowErrorBox(ErrorCaption, "サウンドの協調レベルが設定できません.");
        return false;
    }
    output->reportsLoss = alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_TRUE;
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);

    float gain = 1.0f;
    alGetListenerf(AL_GAIN, &gain);
    savedVolume = VolumeFromGain(gain);
    masterVolume = savedVolume;

    if (use3D) {
        alGetError();
        SetListenerDistanceFactor(1.0f);
        SetListenerPosition(0.0f, 0.0f, 0.0f);
        SetListenerOrientation(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
        if (alGetError() != AL_NO_ERROR) {
            ShowErrorBox(ErrorCaption, "3Dリスナーが作成できません.");
            return false;
        }
    }
    return true;
}

void SoundSystem::Free() {
    if (stopped) return;
    stopped = true;
    LogSeparator();
    Log("FreeDirectSound\n");
    Release();
}

void SoundSystem::Release() {
    if (!started) return;
    started = false;
    if (output) {
        if (output->context && MakeCurrent()) {
            SetMasterVolume(savedVolume);
            // No source or buffer may outlive the context it was made in.
            for (SoundEffect* voice : std::exchange(voices, {})) voice->Forget();
            alcMakeContextCurrent(nullptr);
        }
        if (output->context) alcDestroyContext(output->context);
        alcCloseDevice(output->device);
        output.reset();
    }
    voices.clear();
    lost = false;
}

bool SoundSystem::Available() {
    if (!output || !output->context || lost) return false;
    if (output->reportsLoss) {
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(output->device, ALC_CONNECTED, 1, &connected);
        if (!connected) {
            // The mixer has stopped every voice already; nothing plays from now on.
            lost = true;
            Log("サウンドデバイスが失われました.\n");
            return false;
        }
    }
    return true;
}

void SoundSystem::SetListenerDistanceFactor(float factor) {
    if (!use3D || !std::isfinite(factor) || !(factor > 0.0f) || !MakeCurrent()) return;
    // Only the Doppler shift depends on real distances; attenuation works in game units.
    float speed = SpeedOfSoundInMetres / factor;
    if (std::isfinite(speed)) alSpeedOfSound(speed);
}

void SoundSystem::SetListenerPosition(float x, float y, float z) {
    if (!use3D || !MakeCurrent()) return;
    // The mixer's space is right-handed: the game's forward z points the other way.
    alListener3f(AL_POSITION, x, y, -z);
}

void SoundSystem::SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY,
                                         float topZ) {
    if (!use3D || !MakeCurrent()) return;
    const ALfloat orientation[] = {frontX, frontY, -frontZ, topX, topY, -topZ};
    alListenerfv(AL_ORIENTATION, orientation);
}

void SoundSystem::SetMasterVolume(int volume) {
    if (volume < MinVolume || volume > MaxVolume) return;
    masterVolume = volume;
    if (MakeCurrent()) alListenerf(AL_GAIN, GainFromVolume(volume));
}

int SoundSystem::MasterVolume() const {
    return masterVolume;
}

std::string SoundSystem::ResolvePath(const std::string& fileName) const {
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!path.empty() && path.front() == '/') return path;
    return soundFolder + path;
}

bool SoundSystem::MakeCurrent() {
    if (!output || !output->context) return false;
    if (alcGetCurrentContext() != output->context) alcMakeContextCurrent(output->context);
    return true;
}

void SoundSystem::Register(SoundEffect* voice) {
    voices.push_back(voice);
}

void SoundSystem::Unregister(SoundEffect* voice) {
    std::erase(voices, voice);
}

bool MusicLoader::Init() {
    LogSeparator();
    Log("InitDirectMusic\n");
    stopped = false;
    return true;
}

void MusicLoader::Free() {
    if (stopped) return;
    stopped = true;
    LogSeparator();
    Log("FreeDirectMusic\n");
}
