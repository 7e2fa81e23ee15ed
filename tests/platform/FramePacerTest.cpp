#include "platform/FramePacer.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A clock that only moves when the test says so; sleeping advances it.
class FakeClock : public Clock {
public:
    explicit FakeClock(uint32_t start = 1000) : now(start) {}
    uint32_t now;
    uint32_t Now() override { return now; }
    void Sleep(uint32_t ms) override { now += ms; }
};

// A started pacer on its own clock.
struct Paced {
    explicit Paced(uint32_t start = 1000) : clock(start), pacer(clock) { pacer.Start(); }
    // Runs one frame whose scene takes workMs.
    FramePacer::Step Frame(uint32_t workMs) {
        clock.now += workMs;
        return pacer.EndFrame();
    }
    // What each frame of the sequence slept.
    std::vector<uint32_t> Sleeps(const std::vector<uint32_t>& work) {
        std::vector<uint32_t> slept;
        for (uint32_t ms : work) slept.push_back(Frame(ms).slept);
        return slept;
    }
    FakeClock clock;
    FramePacer pacer;
};

} // namespace

TEST(FramePacer, FramesOf33_33_34SleepToADeadlineMeasuredFromTheLastDeadline) {
    struct Case {
        std::vector<uint32_t> work;
        std::vector<uint32_t> slept;
    };
    // Three frames without lateness take exactly 100 ms, whatever the work.
    // A 50 ms frame does not sleep and moves the base on by only 33 ms: the
    // next 5 ms frame sleeps 11 ms, or 12 ms when it is the long third one.
    const Case cases[] = {
        {{10, 10, 10}, {23, 23, 24}}, {{0, 0, 0}, {33, 33, 34}}, {{32, 32, 32}, {1, 1, 2}},
        {{50, 5, 5}, {0, 11, 29}},    {{0, 50, 5}, {33, 0, 12}},
    };
    for (const Case& c : cases) {
        Paced p;
        EXPECT_EQ(p.Sleeps(c.work), c.slept) << "work " << c.work[0] << ", " << c.work[1];
        EXPECT_EQ(p.clock.now, 1100u);
        EXPECT_EQ(p.pacer.FrameBase(), 1100u);
    }
    // The clock's wrap after 49 days is harmless.
    Paced wrap(0xFFFFFFF0u);
    FramePacer::Step step = wrap.Frame(10);
    EXPECT_EQ(step.elapsed, 10u);
    EXPECT_EQ(step.slept, 23u);
    EXPECT_FALSE(step.dropped);
}

TEST(FramePacer, FourPeriodsLateDropsTheLostTime) {
    Paced p;
    // Just under four periods is still caught up.
    EXPECT_FALSE(p.Frame(131).dropped);
    p.clock.now = p.pacer.FrameBase();
    // Exactly four periods (a 33 ms frame) drops: the base is one period before now.
    EXPECT_TRUE(p.Frame(132).dropped);
    EXPECT_EQ(p.pacer.FrameBase(), p.clock.now - 33);
    // No burst of catch-up frames: the next short frame sleeps again.
    EXPECT_GT(p.Frame(0).slept, 0u);

    // On a long frame the limit is 4 x 34 = 136 ms.
    Paced q;
    q.Sleeps({0, 0});
    EXPECT_FALSE(q.Frame(135).dropped);
    q.clock.now = q.pacer.FrameBase();
    q.Sleeps({0, 0});
    EXPECT_TRUE(q.Frame(136).dropped);
}

TEST(FramePacer, FpsIsMeasuredOverFifteenFrames) {
    Paced p;
    for (int i = 0; i < 14; ++i) {
        p.Frame(60);
        EXPECT_FLOAT_EQ(p.pacer.Fps(), 30.0f) << "frame " << i;
    }
    // Fifteen frames of 60 ms each (none sleeps): 15000 / 900 = 16.67.
    p.Frame(60);
    EXPECT_NEAR(p.pacer.Fps(), 15000.0f / 900.0f, 1e-3f);

    // Once the pacer has dropped the lost time, paced frames measure 30 per
    // second again (15 frames = 500 ms).
    for (int i = 0; i < 30; ++i) p.Frame(0);
    EXPECT_NEAR(p.pacer.Fps(), 30.0f, 0.1f);
}
