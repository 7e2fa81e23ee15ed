#pragma once

#include <cstdint>

// The frame clock: a wrapping 32-bit millisecond counter and a sleep. The
// pacer takes it as an interface so its arithmetic can be tested on a fake.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Now() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// Monotonic milliseconds since an arbitrary start, truncated to 32 bits.
class SystemClock : public Clock {
public:
    uint32_t Now() override;
    void Sleep(uint32_t milliseconds) override;
};
