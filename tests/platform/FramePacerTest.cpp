#include "platform/FramePacer.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A clock that only moves when the test says so; sleeping advances it.
class FakeClock : public Clock {
public:
    uint32_t now = 1000;
    std::vector<uint32_t> sleeps;
    uint32_t Now() override { return now; }
    void Sleep(uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
};

// Runs one frame whose scene takes workMs.
FramePacer::Step RunFrame(FramePacer& pacer, FakeClock& clock, uint32_t workMs) {
    clock.now += workMs;
    return pacer.EndFrame();
}

} // namespace

TEST(FramePacer, EarlyFramesSleepToADeadlineMeasuredFromTheLastDeadline) {
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    uint32_t start = clock.now;

    // Frames 1 and 2 are 33 ms, frame 3 is the long one of 34 ms.
    EXPECT_EQ(RunFrame(pacer, clock, 10).slept, 23u);
    EXPECT_EQ(pacer.FrameBase(), start + 33);
    EXPECT_EQ(RunFrame(pacer, clock, 10).slept, 23u);
    FramePacer::Step third = RunFrame(pacer, clock, 10);
    EXPECT_EQ(third.period, 34u);
    EXPECT_EQ(third.slept, 24u);
    // Three frames without lateness take exactly 100 ms, whatever the work.
    EXPECT_EQ(clock.now - start, 100u);
    EXPECT_EQ(pacer.FrameBase(), start + 100);

    for (uint32_t work : {0u, 5u, 32u}) {
        uint32_t before = clock.now;
        for (int i = 0; i < 3; ++i) RunFrame(pacer, clock, work);
        EXPECT_EQ(clock.now - before, 100u) << "work " << work;
    }
}

TEST(FramePacer, LateFrameIsCaughtUpByTheNextOnes) {
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    uint32_t start = clock.now;

    FramePacer::Step late = RunFrame(pacer, clock, 50);
    EXPECT_EQ(late.slept, 0u);
    EXPECT_FALSE(late.dropped);
    EXPECT_EQ(pacer.FrameBase(), start + 33);
    // 17 ms already spent on the next period: a 5 ms frame sleeps only 11.
    EXPECT_EQ(RunFrame(pacer, clock, 5).slept, 11u);
    // The long frame of the triple: 12 ms instead of 11 from the same position.
    EXPECT_EQ(RunFrame(pacer, clock, 5).slept, 29u);
    EXPECT_EQ(clock.now - start, 100u);
}

TEST(FramePacer, FarBehindDropsTheLostTime) {
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();

    // Just under four periods is still caught up.
    FramePacer::Step caughtUp = RunFrame(pacer, clock, 131);
    EXPECT_FALSE(caughtUp.dropped);
    clock.now = pacer.FrameBase();

    // Exactly four periods (a 33 ms frame) drops: the base is one period before now.
    FramePacer::Step dropped = RunFrame(pacer, clock, 132);
    EXPECT_TRUE(dropped.dropped);
    EXPECT_EQ(pacer.FrameBase(), clock.now - 33);
    // No burst of catch-up frames: the next short frame sleeps again.
    EXPECT_GT(RunFrame(pacer, clock, 0).slept, 0u);

    // On a long frame the limit is 4 x 34 = 136 ms.
    FakeClock clock2;
    FramePacer pacer2(clock2);
    pacer2.Start();
    RunFrame(pacer2, clock2, 0);
    RunFrame(pacer2, clock2, 0);
    EXPECT_FALSE(RunFrame(pacer2, clock2, 135).dropped);
    clock2.now = pacer2.FrameBase();
    RunFrame(pacer2, clock2, 0);
    RunFrame(pacer2, clock2, 0);
    EXPECT_TRUE(RunFrame(pacer2, clock2, 136).dropped);
}

TEST(FramePacer, ClockWrapIsHarmless) {
    FakeClock clock;
    clock.now = 0xFFFFFFF0u;
    FramePacer pacer(clock);
    pacer.Start();
    FramePacer::Step step = RunFrame(pacer, clock, 10);
    EXPECT_EQ(step.elapsed, 10u);
    EXPECT_EQ(step.slept, 23u);
    EXPECT_FALSE(step.dropped);
}

TEST(FramePacer, FpsIsMeasuredOverFifteenFrames) {
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    for (int i = 0; i < 14; ++i) {
        RunFrame(pacer, clock, 60);
        EXPECT_FLOAT_EQ(pacer.Fps(), 30.0f) << "frame " << i;
    }
    // Fifteen frames of 60 ms each (none sleeps): 15000 / 900 = 16.67.
    RunFrame(pacer, clock, 60);
    EXPECT_NEAR(pacer.Fps(), 15000.0f / 900.0f, 1e-3f);

    // Once the pacer has dropped the lost time, paced frames measure 30 per
    // second again (15 frames = 500 ms).
    for (int i = 0; i < 30; ++i) RunFrame(pacer, clock, 0);
    EXPECT_NEAR(pacer.Fps(), 30.0f, 0.1f);
}
