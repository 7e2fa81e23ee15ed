#include "platform/Screenshots.h"

#include "image/Png.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

std::string ScreenshotResult::Notice() const {
    return saved ? "Screenshot saved: " + name : "Screenshot failed: " + reason;
}

std::string ScreenshotStem(const std::tm& when) {
    char text[64];
    std::snprintf(text, sizeof text, "starmarch-%04d-%02d-%02d_%02d-%02d-%02d", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    return text;
}

namespace {

// Writes everything, or answers errno.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(size_t(written));
    }
    return 0;
}

ScreenshotResult Failed(std::string reason) {
    return {false, "", std::move(reason)};
}

} // namespace

ScreenshotResult WriteScreenshot(const std::string& folder, const std::string& stem, std::string_view png) {
    if (png.empty()) return Failed("the picture could not be encoded");
    if (folder.empty()) return Failed("no folder for screenshots");
    errno = 0;
    if (!MakePrivateFolder(folder)) {
        // A file where a folder should be leaves "exists" behind.
        const int error = errno && errno != EEXIST ? errno : ENOTDIR;
        return Failed("cannot make the folder " + folder + ": " + std::strerror(error));
    }
    for (int n = 1; n <= 1000; ++n) {
        const std::string name = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".png";
        const std::string path = folder + name;
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return Failed("cannot write " + path + ": " + std::strerror(errno));
        int error = WriteAll(fd, png);
        if (close(fd) != 0 && !error) error = errno;
        if (error) {
            unlink(path.c_str());
            return Failed("cannot write " + path + ": " + std::strerror(error));
        }
        return {true, name, ""};
    }
    return Failed("every name for " + stem + " is taken in " + folder);
}

std::string EncodeScreenshot(int width, int height, const std::vector<uint32_t>& argbBottomUp) {
    if (width <= 0 || height <= 0 || argbBottomUp.size() != size_t(width) * size_t(height)) return "";
    std::vector<uint8_t> rgb(argbBottomUp.size() * 3);
    uint8_t* out = rgb.data();
    for (int row = height - 1; row >= 0; --row) {
        const uint32_t* in = argbBottomUp.data() + size_t(row) * size_t(width);
        for (int x = 0; x < width; ++x) {
            *out++ = uint8_t(in[x] >> 16);
            *out++ = uint8_t(in[x] >> 8);
            *out++ = uint8_t(in[x]);
        }
    }
    return EncodePng(width, height, 3, rgb);
}

ScreenshotWriter::ScreenshotWriter(std::string folder, std::function<std::tm()> now)
    : folder(std::move(folder)), now(std::move(now)) {}

ScreenshotWriter::~ScreenshotWriter() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    if (worker.joinable()) worker.join();
}

std::tm ScreenshotWriter::LocalNow() {
    std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

bool ScreenshotWriter::Save(int width, int height, std::vector<uint32_t> argbBottomUp) {
    Job job{ScreenshotStem(now()), width, height, std::move(argbBottomUp)};
    {
        std::lock_guard lock(mutex);
        if (jobs.size() >= MaxWaiting) return false;
        jobs.push_back(std::move(job));
        if (!worker.joinable()) worker = std::thread([this] { Work(); });
    }
    changed.notify_all();
    return true;
}

std::vector<ScreenshotResult> ScreenshotWriter::TakeResults() {
    std::lock_guard lock(mutex);
    return std::exchange(results, {});
}

void ScreenshotWriter::Wait() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return jobs.empty() && !busy; });
}

void ScreenshotWriter::Work() {
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !jobs.empty(); });
        // What is queued is written before the worker stops.
        if (jobs.empty()) return;
        Job job = std::move(jobs.front());
        jobs.pop_front();
        busy = true;
        lock.unlock();
        ScreenshotResult result =
            WriteScreenshot(folder, job.stem, EncodeScreenshot(job.width, job.height, job.pixels));
        lock.lock();
        busy = false;
        results.push_back(std::move(result));
        changed.notify_all();
    }
}
