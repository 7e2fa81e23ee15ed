#include "platform/WavReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The reader takes a path: each input becomes an in-memory file, read as the
// game reads a sound, then turned into what the mixer takes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("starmarch-wav-fuzz", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size)) std::abort();

    WavData wav;
    WavStatus status = ReadWav(path, wav);
    if (status != WavStatus::Ok) {
        // A failed read leaves nothing to play.
        if (!wav.samples.empty()) std::abort();
        return 0;
    }
    // Whole frames of a playable format, never more than the file held.
    int frameBytes = wav.format.FrameBytes();
    if (frameBytes <= 0 || wav.samples.empty() || wav.samples.size() % size_t(frameBytes) != 0 ||
        wav.samples.size() > size)
        std::abort();
    WavData stereo = wav;
    SpreadToStereo(stereo);
    MixToMono(wav);
    if (wav.format.channels != 1 || stereo.format.channels != 2 || wav.FrameCount() != stereo.FrameCount())
        std::abort();
    return 0;
}
