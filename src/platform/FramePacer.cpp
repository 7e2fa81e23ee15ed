#include "platform/FramePacer.h"

void FramePacer::Start() {
    frameMs = 33;
    extraMs = 1;
    fpsFrameCount = 0;
    thirdFrameCount = 0;
    frameBase = fpsWindowStart = clock.Now();
    fps = 30.0f;
}

void FramePacer::CountForFps(uint32_t now) {
    if (++fpsFrameCount == 15) {
        uint64_t window = uint32_t(now - fpsWindowStart);
        // A window of 0 ms only happens on a stopped clock; keep the last value.
        if (window) fps = float(15000.0 / double(window));
        fpsWindowStart = now;
        fpsFrameCount = 0;
    }
}

FramePacer::Step FramePacer::EndFrame() {
    // All clock arithmetic is unsigned 32-bit, so the wrap after 49 days is harmless.
    uint32_t now = clock.Now();
    CountForFps(now);
    Step step = Decide(now);
    if (step.slept) clock.Sleep(step.slept);
    return step;
}

FramePacer::Step FramePacer::EndStep() {
    uint32_t now = clock.Now();
    stepStart = frameBase;
    Step step = Decide(now);
    stepPeriod = step.period;
    return step;
}

bool FramePacer::StepDue() { return UntilNextStep() == 0; }

uint32_t FramePacer::UntilNextStep() {
    int32_t left = int32_t(frameBase - clock.Now());
    return left > 0 ? uint32_t(left) : 0;
}

float FramePacer::StepFraction() {
    float t = float(int32_t(clock.Now() - stepStart)) / float(stepPeriod ? stepPeriod : 1);
    return t < 0 ? 0.0f : t > 1 ? 1.0f : t;
}

void FramePacer::CountPicture() { CountForFps(clock.Now()); }

FramePacer::Step FramePacer::Decide(uint32_t now) {
    Step step;
    step.elapsed = now - frameBase;
    if (++thirdFrameCount == 3) {
        step.period = frameMs + extraMs;
        thirdFrameCount = 0;
    } else {
        step.period = frameMs;
    }

    if (step.elapsed < step.period) {
        step.slept = step.period - step.elapsed;
        frameBase += step.period;
    } else if (step.elapsed < 4 * step.period) {
        frameBase += step.period;
    } else {
        frameBase = now - step.period;
        step.dropped = true;
    }
    return step;
}
