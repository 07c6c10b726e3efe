#include <gtest/gtest.h>

#include "vector/cursorx.h"

#include <climits>

TEST(CURSORXNew, DefaultsAndOffsetSteps)
{
    CURSORX *cursor = CURSORXNew();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->size, 1024);
    EXPECT_EQ(cursor->step, 1);
    EXPECT_EQ(cursor->offsetStep, 2);
    EXPECT_EQ(cursor->pos, 0);
    EXPECT_EQ(cursor->offset, 0);
    EXPECT_EQ(cursor->value, 0);
    EXPECT_EQ(CURSORXStepOffset(cursor), 2);
    EXPECT_EQ(CURSORXStepOffset(cursor), 4);
    EXPECT_EQ(CURSORXStepOffset(cursor), 6);
    CURSORXFree(&cursor);
    EXPECT_EQ(cursor, nullptr);
    CURSORXFree(&cursor);
    CURSORXFree(nullptr);
}

TEST(CURSORXSetPos, NegativeMultipleOfSizeIsKeptAsSize)
{
    CURSORX *cursor = CURSORXNew();
    EXPECT_EQ(CURSORXSetPos(cursor, -1024), 0);
    EXPECT_EQ(cursor->pos, 1024);
    EXPECT_EQ(cursor->value, 0);
    EXPECT_EQ(CURSORXSetPos(cursor, -1), 1023);
    EXPECT_EQ(CURSORXSetPos(cursor, 2049), 1);
    EXPECT_EQ(CURSORXSetPos(cursor, 0), 0);
    EXPECT_EQ(cursor->pos, 0);  // 0 is not negative: not kept as size
    EXPECT_EQ(CURSORXSetPos(cursor, INT32_MIN), 0);
    EXPECT_EQ(cursor->pos, 1024);
    // A later step wraps the kept size back into range.
    EXPECT_EQ(CURSORXStep(cursor), 1);
    EXPECT_EQ(cursor->pos, 1);
    CURSORXFree(&cursor);
}

TEST(CURSORXStep, WrapsBothWays)
{
    CURSORX *cursor = CURSORXNew();
    cursor->step = -1;
    EXPECT_EQ(CURSORXStep(cursor), 1023);
    EXPECT_EQ(cursor->pos, 1023);
    cursor->step = 5000;
    EXPECT_EQ(CURSORXStep(cursor), (1023 + 5000) % 1024);
    cursor->step = INT32_MAX;  // no long loop, no overflow
    CURSORXStep(cursor);
    EXPECT_GE(cursor->pos, 0);
    EXPECT_LT(cursor->pos, 1024);
    CURSORXFree(&cursor);
}

TEST(CURSORXStepOffset, RasterPatternMovesByStepBarsStayOffsetStepApart)
{
    CURSORX *cursor = CURSORXNew();
    CURSORXSet(cursor, 1024, 1020, 7, 0, 40);
    for (int frame = 0; frame < 3; ++frame) {
        CURSORXSetOffset(cursor, 0);
        for (int bar = 1; bar <= 12; ++bar) {
            EXPECT_EQ(CURSORXStepOffset(cursor), (1020 + 7 * frame + 40 * bar) % 1024);
        }
        CURSORXStep(cursor);
    }
    // The offset is not wrapped, even where it passes the 32-bit range.
    CURSORXSetOffset(cursor, INT32_MAX);
    cursor->offsetStep = 1;
    CURSORXStepOffset(cursor);
    EXPECT_EQ(cursor->offset, INT32_MIN);
    EXPECT_GE(cursor->value, 0);
    CURSORXFree(&cursor);
}

TEST(CURSORXSetSize, ZeroSizeIsStoredThenEveryMoveFails)
{
    CURSORX *cursor = CURSORXNew();
    CURSORXSetPos(cursor, 100);
    EXPECT_EQ(CURSORXSetSize(cursor, 0), 0);
    EXPECT_EQ(cursor->size, 0);
    EXPECT_EQ(cursor->pos, 100);
    EXPECT_EQ(CURSORXStep(cursor), 0);
    EXPECT_EQ(CURSORXStepOffset(cursor), 0);
    EXPECT_EQ(CURSORXSetOffset(cursor, 5), 0);
    EXPECT_EQ(CURSORXSetPos(cursor, 5), 0);
    EXPECT_EQ(CURSORXReset(cursor, 5), 0);
    EXPECT_EQ(CURSORXUpdate(cursor), 0);
    EXPECT_EQ(cursor->pos, 100);
    EXPECT_EQ(cursor->offset, 0);
    // A new size re-applies the position.
    EXPECT_EQ(CURSORXSetSize(cursor, 64), 100 % 64);
    EXPECT_EQ(CURSORXSetSize(cursor, -1), 0);
    EXPECT_EQ(cursor->size, 64);
    CURSORXFree(&cursor);
}

TEST(CURSORXSet, StoresEveryFieldAndResetClearsOffset)
{
    CURSORX *cursor = CURSORXNew();
    EXPECT_EQ(CURSORXSet(cursor, 100, 250, 3, 7, 9), 57);
    EXPECT_EQ(cursor->size, 100);
    EXPECT_EQ(cursor->pos, 50);
    EXPECT_EQ(cursor->step, 3);
    EXPECT_EQ(cursor->offset, 7);
    EXPECT_EQ(cursor->offsetStep, 9);
    EXPECT_EQ(CURSORXSet(cursor, -5, 1, 1, 1, 1), 0);
    EXPECT_EQ(cursor->size, 100);
    EXPECT_EQ(cursor->pos, 50);
    EXPECT_EQ(CURSORXReset(cursor, 10), 10);
    EXPECT_EQ(cursor->offset, 0);
    EXPECT_EQ(CURSORXSet(cursor, 0, 1, 1, 1, 1), 0);  // size 0 fails with 0, whatever value held
    EXPECT_EQ(CURSORXSet(cursor, 1, 5, 1, 1, 1), 0);  // size 1: every position is 0
    EXPECT_EQ(cursor->pos, 0);
    EXPECT_EQ(CURSORXSet(nullptr, 1, 1, 1, 1, 1), 0);
    EXPECT_EQ(CURSORXStep(nullptr), 0);
    CURSORXFree(&cursor);
}

TEST(CURSORXCopy, CopiesAllSixFieldsPlaceholdersYieldNull)
{
    CURSORX *cursor = CURSORXNew();
    CURSORXSet(cursor, 512, 3, 4, 5, 6);
    CURSORX *copy = CURSORXCopy(cursor);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->size, 512);
    EXPECT_EQ(copy->value, 8);
    EXPECT_EQ(copy->pos, 3);
    EXPECT_EQ(copy->step, 4);
    EXPECT_EQ(copy->offset, 5);
    EXPECT_EQ(copy->offsetStep, 6);
    CURSORX *other = CURSORXNew();
    CURSORXCopyTo(cursor, other);
    EXPECT_EQ(other->offsetStep, 6);
    CURSORXCopyTo(nullptr, other);
    CURSORXCopyTo(cursor, nullptr);
    EXPECT_EQ(CURSORXCopy(nullptr), nullptr);
    EXPECT_EQ(CURSORXToASCII(cursor), nullptr);
    EXPECT_EQ(CURSORXFromASCII("CURSORX{}"), nullptr);
    CURSORXFree(&other);
    CURSORXFree(&copy);
    CURSORXFree(&cursor);
}
