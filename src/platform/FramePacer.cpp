#include "platform/FramePacer.h"

void FramePacer::Start() {
    frameMs = 33;
    extraMs = 1;
    fpsFrameCount = 0;
    thirdFrameCount = 0;
    frameBase = fpsWindowStart = clock.Now();
    fps = 30.0f;
}

FramePacer::Step FramePacer::EndFrame() {
    Step step;
    // All clock arithmetic is unsigned 32-bit, so the wrap after 49 days is harmless.
    uint32_t now = clock.Now();
    step.elapsed = now - frameBase;

    if (++fpsFrameCount == 15) {
        uint64_t window = uint32_t(now - fpsWindowStart);
        // A window of 0 ms only happens on a stopped clock; keep the last value.
        if (window) fps = float(15000.0 / double(window));
        fpsWindowStart = now;
        fpsFrameCount = 0;
    }

    if (++thirdFrameCount == 3) {
        step.period = frameMs + extraMs;
        thirdFrameCount = 0;
    } else {
        step.period = frameMs;
    }

    if (step.elapsed < step.period) {
        step.slept = step.period - step.elapsed;
        clock.Sleep(step.slept);
        frameBase += step.period;
    } else if (step.elapsed < 4 * step.period) {
        frameBase += step.period;
    } else {
        frameBase = now - step.period;
        step.dropped = true;
    }
    return step;
}
