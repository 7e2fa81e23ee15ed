#include "platform/Random.h"

#include <gtest/gtest.h>

namespace {
struct Vec {
    float x, y, z;
};
} // namespace

TEST(Random, RunTimeRecurrenceAndHelpers) {
    RandomGenerator random(1), mod(1);
    std::vector<int> first, tenths;
    for (int i = 0; i < 5; ++i) {
        first.push_back(random.Rand());
        tenths.push_back(mod.Random(10));
    }
    EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    EXPECT_EQ(tenths, (std::vector<int>{1, 7, 4, 0, 9})) << "Random(n) is rand() mod n";

    // RandomRange covers lo..hi and never leaves it.
    RandomGenerator c(99);
    float lowest = 1e9f, highest = -1e9f;
    for (int i = 0; i < 20000; ++i) {
        float value = c.RandomRange(-2.0f, 6.0f);
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
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.x, f.RandomRange(-10.0f, 10.0f));
}
