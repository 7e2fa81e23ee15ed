#include "platform/Sound.h"

#include "platform/Log.h"

bool SoundSystem::Init() {
    LogSeparator();
    Log("InitDirectSound\n");
    started = true;
    return true;
}

void SoundSystem::Free() {
    if (!started) return;
    LogSeparator();
    Log("FreeDirectSound\n");
    started = false;
}

bool MusicLoader::Init() {
    LogSeparator();
    Log("InitDirectMusic\n");
    started = true;
    return true;
}

void MusicLoader::Free() {
    if (!started) return;
    LogSeparator();
    Log("FreeDirectMusic\n");
    started = false;
}
