#pragma once

#include "platform/Clock.h"

#include <cstdint>

// Paces the main loop at 30 frames per second: frames of 33, 33 and 34 ms, so
// three take exactly 100 ms. A late frame is caught up by the next ones; a
// frame four or more periods late drops the lost time instead of replaying it.
class FramePacer {
public:
    // What EndFrame decided, for the log and for tests.
    struct Step {
        uint32_t period = 0;
        uint32_t elapsed = 0;
        uint32_t slept = 0;
        bool dropped = false;
    };

    explicit FramePacer(Clock& clock) : clock(clock) {}

    // Starts the clock: the first deadline is one period from now.
    void Start();

    // Called after the scene: measures the frame, updates the FPS window and
    // sleeps off what is left of the period.
    Step EndFrame();

    float Fps() const { return fps; }
    uint32_t FrameBase() const { return frameBase; }

    // Base period and the millisecond added to every third frame.
    uint32_t frameMs = 33;
    uint32_t extraMs = 1;

private:
    Clock& clock;
    // Frames counted in the current FPS window, 0..14.
    uint32_t fpsFrameCount = 0;
    // Frames counted towards the next long frame, 0..2.
    uint32_t thirdFrameCount = 0;
    // The clock value the current frame's deadline is measured from.
    uint32_t frameBase = 0;
    uint32_t fpsWindowStart = 0;
    // Frames per second over the last fifteen frames; 30 until measured.
    float fps = 30.0f;
};
