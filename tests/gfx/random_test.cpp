// The random generator: its sequence after seeding.
#include <gtest/gtest.h>

#include "gfx/random.h"

#include <cstdint>

TEST(Random, FirstOutputsAfterSeeding)
{
    RANDOMSeed(randomSeed);
    uint32_t state = 563130741u;
    for (int i = 0; i < 1000; ++i) {
        state = state * 214013u + 2531011u;
        const int32_t value = RANDOMNext();
        ASSERT_EQ(value, static_cast<int32_t>((state >> 16) & 0x7FFF)) << i;
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
    EXPECT_EQ(RANDOMState(), state);
    // The first draw after the program's seed, in 64-bit arithmetic.
    RANDOMSeed(randomSeed);
    const uint64_t next = (563130741ull * 214013ull + 2531011ull) % 4294967296ull;
    EXPECT_EQ(RANDOMNext(), static_cast<int32_t>((next >> 16) & 0x7FFF));
}

TEST(Random, ReseedingRepeatsTheSequence)
{
    RANDOMSeed(12345);
    int32_t a[8];
    for (auto &v : a) v = RANDOMNext();
    RANDOMSeed(12345);
    for (auto v : a) EXPECT_EQ(RANDOMNext(), v);
    RANDOMSeed(12345);
    RANDOMSkip(3);  // exactly the draws of three RANDOMNext
    EXPECT_EQ(RANDOMNext(), a[3]);
}
