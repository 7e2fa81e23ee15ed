#pragma once

#include "platform/Subsystem.h"

// Positional sound. Until the sound device lands this keeps its place in the
// start-up chain and logs its start and stop.
class SoundSystem : public Subsystem {
public:
    bool Init() override;
    void Free() override;

private:
    bool started = false;
};

// The music loader of the original start-up: nothing to create here, but the
// log keeps its lines so the start-up trace reads the same.
class MusicLoader : public Subsystem {
public:
    bool Init() override;
    void Free() override;

private:
    bool started = false;
};
