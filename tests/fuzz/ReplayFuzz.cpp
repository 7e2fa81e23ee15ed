#include "game/replay/ReplayFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The replay reader on any bytes: a reason or a replay whose every step can
// be read back, and whose counts the file really held.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Replay replay;
    std::string error;
    if (!ParseReplay(data, size, replay, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (replay.width < 1 || replay.width > replay::MaxSize || replay.height < 1 ||
        replay.height > replay::MaxSize ||
        replay.checkpoints.size() != replay.steps / replay::CheckpointSteps || replay.records.size() > size)
        std::abort();
    ReplaySteps steps(replay);
    ReplayStep step;
    uint32_t n = 0;
    while (steps.Next(step)) {
        if (step.input.dx < -replay::MaxMotion || step.input.dx > replay::MaxMotion) std::abort();
        ++n;
    }
    if (n != replay.steps) std::abort();
    return 0;
}
