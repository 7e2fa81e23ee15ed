#pragma once

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// What became of one screenshot: the file's name, or why there is none.
struct ScreenshotResult {
    bool saved = false;
    std::string name;
    std::string reason;
    // "Screenshot saved: NAME" or "Screenshot failed: REASON".
    std::string Notice() const;
};

// "starmarch-2026-12-07_14-03-22" for a picture taken at that local time.
std::string ScreenshotStem(const std::tm& when);

// Writes the file into `folder` (ending in a slash; made private, with its
// missing parents, when it isn't there) as <stem>.png, or <stem>-2.png,
// <stem>-3.png ... when that name is taken: an existing file is never
// overwritten, and a file that could not be written whole is removed.
ScreenshotResult WriteScreenshot(const std::string& folder, const std::string& stem, std::string_view png);

// ARGB rows from the bottom up, as the device reads them back, as a PNG file
// (RGB, rows from the top). Empty when the sizes don't match.
std::string EncodeScreenshot(int width, int height, const std::vector<uint32_t>& argbBottomUp);

// Saves screenshots on a worker of its own, so the frame that took one never
// waits for the encoder or the disk: the frame hands over its one copy of the
// pixels and later collects what became of them.
class ScreenshotWriter {
public:
    // `now` gives the local time a picture is named after (tests set it).
    explicit ScreenshotWriter(std::string folder, std::function<std::tm()> now = LocalNow);
    // Finishes the pictures in hand: one taken just before quitting is kept.
    ~ScreenshotWriter();
    ScreenshotWriter(const ScreenshotWriter&) = delete;
    ScreenshotWriter& operator=(const ScreenshotWriter&) = delete;

    // Queues a picture, named after this moment. False (and nothing queued)
    // when MaxWaiting pictures are still waiting for the disk.
    bool Save(int width, int height, std::vector<uint32_t> argbBottomUp);
    // What became of the pictures finished since the last call, in order.
    std::vector<ScreenshotResult> TakeResults();
    // Returns once every queued picture is finished.
    void Wait();

    static constexpr size_t MaxWaiting = 4;
    static std::tm LocalNow();

private:
    struct Job {
        std::string stem;
        int width, height;
        std::vector<uint32_t> pixels;
    };
    void Work();

    const std::string folder;
    const std::function<std::tm()> now;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    std::vector<ScreenshotResult> results;
    bool busy = false, stopping = false;
    // Started with the first picture.
    std::thread worker;
};
