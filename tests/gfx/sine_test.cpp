// The sine table of Q15 entries and its readers.
#include <gtest/gtest.h>

#include "gfx/sine.h"

#include <cmath>
#include <cstdint>

TEST(SineTable, MatchesItsDefinitionEntryByEntry)
{
    EXPECT_EQ(sineTable.mask, 1023);
    EXPECT_EQ(sineTable.size, 1024);
    int first[256];
    for (int k = 0; k < 256; ++k) {
        first[k] = static_cast<int>(std::lround(std::sin(2.0 * M_PI * k / 1024.0) * 32767.0));
    }
    first[129] += 1;
    first[183] += 1;
    EXPECT_EQ(first[129], 23312);
    EXPECT_EQ(first[183], 29535);
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(sineTable.entries[k], first[k]) << k;
        EXPECT_EQ(sineTable.entries[256 + k], first[255 - k]) << 256 + k;
        EXPECT_EQ(sineTable.entries[512 + k], -first[k]) << 512 + k;
        EXPECT_EQ(sineTable.entries[768 + k], -first[255 - k]) << 768 + k;
    }
    EXPECT_EQ(sineTable.entries[255], 32766);
    EXPECT_EQ(sineTable.entries[256], 32766);
}

TEST(SineTable, AnglesWrapAndCosineLeadsByAQuarter)
{
    EXPECT_EQ(SINESin(0), 0);
    EXPECT_EQ(SINESin(1024 + 256), 32766);
    EXPECT_EQ(SINESin(-256), sineTable.entries[768]);
    EXPECT_EQ(SINECos(0), sineTable.entries[256]);
    EXPECT_EQ(SINECos(768), sineTable.entries[0]);
    EXPECT_EQ(SINECos(INT32_MAX), sineTable.entries[(1023 + 256) & 1023]);
    EXPECT_EQ(SINESin(INT32_MIN), 0);
}
