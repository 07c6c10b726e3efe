#include <gtest/gtest.h>

#include "vector/cursor.h"

#include <climits>
#include <cstring>

TEST(CURSORNew, StartsOnTheIdentityText)
{
    CURSOR *cursor = CURSORNew();
    ASSERT_NE(cursor, nullptr);
    EXPECT_STREQ(static_cast<const char *>(cursor->data), "ZOLT");
    EXPECT_EQ(cursor->length, 4);
    EXPECT_EQ(cursor->step, 1);
    EXPECT_EQ(cursor->pos, 0);
    CURSORFree(&cursor);
    EXPECT_EQ(cursor, nullptr);
    CURSORFree(&cursor);  // a null handle is accepted
    CURSORFree(nullptr);
}

TEST(CURSORStep, WrapsBothWays)
{
    CURSOR *cursor = CURSORNew();
    CURSORSet(cursor, "abcde", 5, 1);
    CURSORSetPos(cursor, 4);
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, 0);
    cursor->step = -2;
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, 3);
    CURSORSetPos(cursor, 0);
    cursor->step = 12;
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, 2);
    // Steps near the 32-bit limits wrap by the length without overflowing.
    CURSORSetPos(cursor, 4);
    cursor->step = INT32_MAX;
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, static_cast<int32_t>((4 + int64_t{INT32_MAX}) % 5));
    cursor->step = INT32_MIN;
    CURSORStep(cursor);
    EXPECT_GE(cursor->pos, 0);
    EXPECT_LT(cursor->pos, 5);
    CURSORFree(&cursor);
}

TEST(CURSORSetPos, WrapsIntoTheText)
{
    CURSOR *cursor = CURSORNew();
    CURSORSet(cursor, "abcde", 5, 1);
    CURSORSetPos(cursor, -1);
    EXPECT_EQ(cursor->pos, 4);
    CURSORSetPos(cursor, -10);
    EXPECT_EQ(cursor->pos, 0);
    CURSORSetPos(cursor, 7);
    EXPECT_EQ(cursor->pos, 2);
    CURSORSet(cursor, "a", 1, 1);  // one item: every position is 0
    cursor->pos = 3;
    CURSORSetPos(cursor, 7);
    EXPECT_EQ(cursor->pos, 0);
    cursor->pos = 3;
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, 0);
    CURSORFree(&cursor);
}

TEST(CURSORStep, EmptySequenceCannotMove)
{
    CURSOR *cursor = CURSORNew();
    CURSORSet(cursor, "", 0, 3);
    cursor->pos = 0;
    CURSORStep(cursor);
    CURSORSetPos(cursor, 2);
    EXPECT_EQ(cursor->pos, 0);
    CURSORSet(cursor, "ab", -2, 1);  // a negative length cannot move either
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, 0);
    CURSORStep(nullptr);
    CURSORSetPos(nullptr, 1);
    CURSORFree(&cursor);
}

TEST(CURSORSave, RestoreReturnsToSavedIndexAndSetKeepsIt)
{
    CURSOR *cursor = CURSORNew();
    CURSORSet(cursor, "abcde", 5, 1);
    CURSORSetPos(cursor, 3);
    CURSORSave(cursor);
    CURSORStep(cursor);
    CURSORStep(cursor);
    CURSORStep(cursor);
    EXPECT_EQ(cursor->pos, 1);
    CURSORRestore(cursor);
    EXPECT_EQ(cursor->pos, 3);
    CURSORSet(cursor, "xy", 2, -1);
    EXPECT_EQ(cursor->pos, 0);
    EXPECT_EQ(cursor->saved, 3);
    EXPECT_EQ(cursor->step, -1);
    CURSORSave(nullptr);
    CURSORRestore(nullptr);
    CURSORSet(nullptr, "a", 1, 1);
    CURSORFree(&cursor);
}

TEST(CURSORRow, AddressesGroupsOfLengthWords)
{
    const int32_t table[3][2] = {{1, 2}, {3, 4}, {5, 6}};
    CURSOR *cursor = CURSORNew();
    CURSORSet(cursor, table, 2, 1);
    EXPECT_EQ(CURSORRow(cursor), &table[0][0]);
    cursor->pos = 1;
    EXPECT_EQ(CURSORRow(cursor), &table[1][0]);
    cursor->pos = 2;
    EXPECT_EQ(CURSORRow(cursor)[1], 6);
    EXPECT_EQ(CURSORRow(nullptr), nullptr);
    CURSORSet(cursor, nullptr, 2, 1);
    EXPECT_EQ(CURSORRow(cursor), nullptr);
    CURSORFree(&cursor);
}
