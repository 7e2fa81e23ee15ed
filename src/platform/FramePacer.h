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

    // Pictures between steps. EndStep decides as EndFrame does (catch-up and
    // drop alike) but leaves the rest of the period to pictures instead of
    // sleeping it off; the next step is due once StepDue says so. The FPS
    // window then counts pictures (CountPicture), not steps.
    Step EndStep();
    bool StepDue();
    // Milliseconds until the next step is due; 0 when it is.
    uint32_t UntilNextStep();
    // How far the time since the newest step's start has gone into its
    // period, 0..1: where a picture now stands between the last two steps.
    float StepFraction();
    void CountPicture();

    float Fps() const { return fps; }
    uint32_t FrameBase() const { return frameBase; }

    // Base period and the millisecond added to every third frame.
    uint32_t frameMs = 33;
    uint32_t extraMs = 1;

private:
    // The period, the step's decision and the new frame base; no sleep.
    Step Decide(uint32_t now);
    void CountForFps(uint32_t now);

    Clock& clock;
    // Frames counted in the current FPS window, 0..14.
    uint32_t fpsFrameCount = 0;
    // Frames counted towards the next long frame, 0..2.
    uint32_t thirdFrameCount = 0;
    // The clock value the current frame's deadline is measured from.
    uint32_t frameBase = 0;
    uint32_t fpsWindowStart = 0;
    // The start and period of the newest step's slot (pictures between steps).
    uint32_t stepStart = 0, stepPeriod = 33;
    // Frames per second over the last fifteen frames; 30 until measured.
    float fps = 30.0f;
};
