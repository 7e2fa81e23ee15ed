#pragma once

#include <cstdint>

// The game's random generator: the classic C run-time recurrence, so a seed
// gives the same battle on every platform. One per world; no global state.
class RandomGenerator {
public:
    static constexpr int RandMax = 32767;

    explicit RandomGenerator(uint32_t seed = 1) : state(seed) {}

    void Seed(uint32_t seed) { state = seed; }

    // The next value in 0..32767.
    int Rand() {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    }

    // Rand() mod n; n must be positive.
    int Random(int n) { return Rand() % n; }

    // Rand() * (hi - lo) / 32767 + lo, with the division as the factor 3.051851e-5.
    float RandomRange(float lo, float hi) { return float(Rand()) * (hi - lo) * 3.051851e-5f + lo; }

    // A vector whose z, y and x, drawn in that order, each lie in -r..r.
    template <typename Vec> Vec RandomVector(float r) {
        float z = RandomRange(-r, r);
        float y = RandomRange(-r, r);
        float x = RandomRange(-r, r);
        return Vec{x, y, z};
    }

private:
    uint32_t state;
};
