#include "platform/WavReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint16_t PcmFormatTag = 1;
// A rate outside these is a broken header rather than a sound.
constexpr uint32_t MinSampleRate = 100;
constexpr uint32_t MaxSampleRate = 200000;

// A read-only file whose every read is bounded by its size.
class BoundedFile {
public:
    explicit BoundedFile(const std::string& path) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat info {};
        // A folder or a device opens but is no sound file.
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            fd = -1;
            return;
        }
        size = uint64_t(info.st_size);
    }
    ~BoundedFile() {
        if (fd >= 0) ::close(fd);
    }
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    bool IsOpen() const { return fd >= 0; }
    uint64_t Size() const { return size; }

    // Reads up to count bytes at offset, never past the end; returns how many came.
    size_t ReadAt(uint64_t offset, void* destination, size_t count) const {
        if (offset >= size) return 0;
        count = size_t(std::min<uint64_t>(count, size - offset));
        size_t done = 0;
        auto* bytes = static_cast<uint8_t*>(destination);
        while (done < count) {
            ssize_t got = ::pread(fd, bytes + done, count - done, off_t(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += size_t(got);
        }
        return done;
    }

private:
    int fd = -1;
    uint64_t size = 0;
};

uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
bool IsTag(const uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

// Chunks are padded to an even length.
uint64_t ChunkEnd(uint64_t dataStart, uint32_t length) {
    return dataStart + length + (length & 1u);
}

// The start of the chunk with the given tag among those in [position, end), or
// 0 when there is none: a chunk header always lies past the file's first bytes.
uint64_t FindChunk(const BoundedFile& file, uint64_t position, uint64_t end, const char* tag,
                   uint32_t& length) {
    uint8_t header[8];
    while (position + sizeof header <= end) {
        if (file.ReadAt(position, header, sizeof header) != sizeof header) return 0;
        length = Le32(header + 4);
        if (IsTag(header, tag)) return position;
        position = ChunkEnd(position + sizeof header, length);
    }
    return 0;
}

bool IsPlayable(const WavFormat& format) {
    return (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
           uint32_t(format.samplesPerSecond) >= MinSampleRate &&
           uint32_t(format.samplesPerSecond) <= MaxSampleRate;
}

} // namespace

const char* WavStatusText(WavStatus status) {
    switch (status) {
    case WavStatus::Ok:
        return "ok.";
    case WavStatus::OpenError:
        return "open error.";
    case WavStatus::RiffNotFound:
        return "RIFF is not found.";
    case WavStatus::FmtNotFound:
        return "fmt is not found.";
    case WavStatus::NotPcm:
        return "is not PCM format.";
    case WavStatus::AscendError:
        return "ascend error.";
    case WavStatus::ChunkNotFound:
        return "chunk is not found.";
    case WavStatus::DataTooSmall:
        return "data is too small.";
    case WavStatus::OutOfMemory:
        return "out of memory.";
    }
    return "";
}

int WavData::FrameCount() const {
    int frameBytes = format.FrameBytes();
    return frameBytes > 0 ? int(samples.size() / size_t(frameBytes)) : 0;
}

WavStatus ReadWav(const std::string& path, WavData& wav) {
    wav = WavData{};
    BoundedFile file(path);
    if (!file.IsOpen()) return WavStatus::OpenError;

    // The RIFF form of type WAVE, skipping any other top-level chunk.
    uint64_t formStart = 0;
    uint64_t formEnd = 0;
    for (uint64_t position = 0;;) {
        uint8_t header[12];
        if (file.ReadAt(position, header, sizeof header) != sizeof header) return WavStatus::RiffNotFound;
        uint32_t length = Le32(header + 4);
        if (IsTag(header, "RIFF") && IsTag(header + 8, "WAVE")) {
            formStart = position + sizeof header;
            // A form that claims more than the file holds ends with the file.
            formEnd = std::min(position + 8 + length, file.Size());
            formEnd = std::max(formEnd, formStart);
            break;
        }
        position = ChunkEnd(position + 8, length);
    }

    // The first chunk inside the form is the format, whatever its tag says.
    uint8_t header[8];
    if (formStart + sizeof header > formEnd || file.ReadAt(formStart, header, sizeof header) != sizeof header)
        return WavStatus::FmtNotFound;
    uint32_t formatLength = Le32(header + 4);
    uint64_t formatStart = formStart + sizeof header;

    uint8_t format[16] = {};
    size_t formatBytes = file.ReadAt(formatStart, format, std::min<size_t>(sizeof format, formatLength));
    if (formatBytes < sizeof format || Le16(format) != PcmFormatTag) return WavStatus::NotPcm;
    wav.format.channels = Le16(format + 2);
    wav.format.samplesPerSecond = int(std::min<uint32_t>(Le32(format + 4), MaxSampleRate + 1));
    wav.format.bitsPerSample = Le16(format + 14);
    if (!IsPlayable(wav.format)) return WavStatus::NotPcm;

    // Leaving the format chunk needs all of it to be in the file.
    if (formatStart + formatLength > file.Size()) return WavStatus::AscendError;

    uint32_t dataLength = 0;
    uint64_t dataChunk = FindChunk(file, ChunkEnd(formatStart, formatLength), formEnd, "data", dataLength);
    if (dataChunk == 0) return WavStatus::ChunkNotFound;
    if (dataLength > MaxWavDataBytes) return WavStatus::OutOfMemory;

    uint64_t dataStart = dataChunk + 8;
    uint64_t present = std::min<uint64_t>(dataLength, file.Size() - std::min(file.Size(), dataStart));
    size_t frameBytes = size_t(wav.format.FrameBytes());
    size_t wanted = size_t(present) / frameBytes * frameBytes;
    if (wanted == 0) return WavStatus::DataTooSmall;
    try {
        wav.samples.resize(wanted);
    } catch (const std::bad_alloc&) {
        return WavStatus::OutOfMemory;
    }
    // A file that shrinks under us keeps the whole frames that were read.
    size_t got = file.ReadAt(dataStart, wav.samples.data(), wanted);
    wav.samples.resize(got / frameBytes * frameBytes);
    if (wav.samples.empty()) return WavStatus::DataTooSmall;
    return WavStatus::Ok;
}

void MixToMono(WavData& wav) {
    if (wav.format.channels != 2) return;
    size_t frames = size_t(wav.FrameCount());
    std::vector<uint8_t>& s = wav.samples;
    if (wav.format.bitsPerSample == 8) {
        for (size_t i = 0; i < frames; ++i) s[i] = uint8_t((s[2 * i] + s[2 * i + 1]) / 2);
    } else {
        for (size_t i = 0; i < frames; ++i) {
            int left = int16_t(Le16(&s[4 * i]));
            int right = int16_t(Le16(&s[4 * i + 2]));
            auto mixed = uint16_t(int16_t((left + right) / 2));
            s[2 * i] = uint8_t(mixed & 0xFF);
            s[2 * i + 1] = uint8_t(mixed >> 8);
        }
    }
    s.resize(frames * size_t(wav.format.bitsPerSample / 8));
    wav.format.channels = 1;
}

void SpreadToStereo(WavData& wav) {
    if (wav.format.channels != 1) return;
    size_t sampleBytes = size_t(wav.format.bitsPerSample / 8);
    size_t frames = wav.samples.size() / sampleBytes;
    std::vector<uint8_t> wide(frames * 2 * sampleBytes);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* sample = &wav.samples[i * sampleBytes];
        std::copy(sample, sample + sampleBytes, &wide[2 * i * sampleBytes]);
        std::copy(sample, sample + sampleBytes, &wide[(2 * i + 1) * sampleBytes]);
    }
    wav.samples = std::move(wide);
    wav.format.channels = 2;
}
