#include "platform/Random.h"

#include <gtest/gtest.h>

namespace {
struct Vec {
    float x, y, z;
};
} // namespace

TEST(Random, RunTimeRecurrenceAndHelpers) {
    RandomGenerator random(1);
    std::vector<int> first;
    for (int i = 0; i < 5; ++i) first.push_back(random.Rand());
    EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169}));

    // Random(n) is rand() mod n, RandomRange scales rand() onto lo..hi.
    RandomGenerator a(7), b(7);
    for (int i = 0; i < 1000; ++i) {
        int raw = b.Rand();
        ASSERT_EQ(a.Random(10), raw % 10);
    }
    RandomGenerator c(99), d(99);
    float lowest = 1e9f, highest = -1e9f;
    for (int i = 0; i < 20000; ++i) {
        int raw = d.Rand();
        float value = c.RandomRange(-2.0f, 6.0f);
        ASSERT_FLOAT_EQ(value, float(raw) * 8.0f * 3.051851e-5f - 2.0f);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_GE(lowest, -2.0f);
    EXPECT_LE(highest, 6.0f);
    EXPECT_LT(lowest, -1.99f);
    EXPECT_GT(highest, 5.99f);

    // A vector draws z first, then y, then x.
    RandomGenerator e(5), f(5);
    Vec v = e.RandomVector<Vec>(10.0f);
    float z = f.RandomRange(-10.0f, 10.0f);
    float y = f.RandomRange(-10.0f, 10.0f);
    float x = f.RandomRange(-10.0f, 10.0f);
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}
