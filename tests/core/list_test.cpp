// The same cases run against LIST and ARRAY: the two containers must behave alike.
#include <gtest/gtest.h>

#include "../alloc_limit.h"
#include "core/array.h"
#include "core/list.h"

#include <vector>

namespace {

template <typename T>
struct Ops;

template <>
struct Ops<LIST> {
    static constexpr auto New = LISTNew;
    static constexpr auto Free = LISTFree;
    static constexpr auto Equal = LISTEqual;
    static constexpr auto Copy = LISTCopy;
    static constexpr auto ToASCII = LISTToASCII;
    static constexpr auto FromASCII = LISTFromASCII;
    static constexpr auto Append = LISTAppend;
    static constexpr auto Pop = LISTPop;
    static constexpr auto Insert = LISTInsert;
    static constexpr auto Remove = LISTRemove;
    static constexpr auto Get = LISTGet;
    static constexpr auto Set = LISTSet;
    static constexpr auto Find = LISTFind;
    static constexpr auto CopyRange = LISTCopyRange;
    static constexpr auto DeleteRange = LISTDeleteRange;
    static constexpr auto InsertRange = LISTInsertRange;
    static constexpr auto Grow = LISTGrow;
};

template <>
struct Ops<ARRAY> {
    static constexpr auto New = ARRAYNew;
    static constexpr auto Free = ARRAYFree;
    static constexpr auto Equal = ARRAYEqual;
    static constexpr auto Copy = ARRAYCopy;
    static constexpr auto ToASCII = ARRAYToASCII;
    static constexpr auto FromASCII = ARRAYFromASCII;
    static constexpr auto Append = ARRAYAppend;
    static constexpr auto Pop = ARRAYPop;
    static constexpr auto Insert = ARRAYInsert;
    static constexpr auto Remove = ARRAYRemove;
    static constexpr auto Get = ARRAYGet;
    static constexpr auto Set = ARRAYSet;
    static constexpr auto Find = ARRAYFind;
    static constexpr auto CopyRange = ARRAYCopyRange;
    static constexpr auto DeleteRange = ARRAYDeleteRange;
    static constexpr auto InsertRange = ARRAYInsertRange;
    static constexpr auto Grow = ARRAYGrow;
};

// Distinct addresses to store; their contents never matter.
int cells[16];
void *E(int i) { return &cells[i]; }

template <typename T>
class Sequence : public ::testing::Test {
protected:
    using O = Ops<T>;
    T *seq = nullptr;
    void SetUp() override
    {
        seq = O::New();
        ASSERT_NE(seq, nullptr);
    }
    void TearDown() override
    {
        if (seq != nullptr) O::Free(&seq);
    }
    void Fill(T *s, int n, int first = 0)
    {
        for (int i = 0; i < n; ++i) O::Append(s, E(first + i));
    }
    std::vector<void *> Items(const T *s) { return std::vector<void *>(s->items, s->items + s->count); }
};

using Types = ::testing::Types<LIST, ARRAY>;
TYPED_TEST_SUITE(Sequence, Types);

TYPED_TEST(Sequence, NewIsEmptyWithTwoNullSlots)
{
    EXPECT_EQ(this->seq->capacity, 2);
    EXPECT_EQ(this->seq->count, 0);
    EXPECT_EQ(this->seq->items[0], nullptr);
    EXPECT_EQ(this->seq->items[1], nullptr);
}

TYPED_TEST(Sequence, AppendDoublesCapacityWhenFull)
{
    using O = Ops<TypeParam>;
    const int expected[] = {2, 2, 4, 4, 8, 8, 8, 8, 16};
    for (int i = 0; i < 9; ++i) {
        O::Append(this->seq, E(i));
        EXPECT_EQ(this->seq->count, i + 1);
        EXPECT_EQ(this->seq->capacity, expected[i]) << "after element " << i + 1;
    }
    for (int i = 0; i < 9; ++i) EXPECT_EQ(O::Get(this->seq, i), E(i));
    // Slots beyond count stay null after a grow.
    for (int i = 9; i < 16; ++i) EXPECT_EQ(this->seq->items[i], nullptr);
}

TYPED_TEST(Sequence, FreeClearsHandleAndRejectsNull)
{
    using O = Ops<TypeParam>;
    O::Free(&this->seq);
    EXPECT_EQ(this->seq, nullptr);
    O::Free(&this->seq);  // already null: reported, nothing happens
    O::Free(nullptr);
    EXPECT_EQ(this->seq, nullptr);
}

TYPED_TEST(Sequence, InsertAtEndAppendsAndBeyondIsRefused)
{
    using O = Ops<TypeParam>;
    this->Fill(this->seq, 3);
    O::Insert(this->seq, E(9), 3);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(1), E(2), E(9)}));
    O::Insert(this->seq, E(8), 5);
    O::Insert(this->seq, E(8), -1);
    EXPECT_EQ(this->seq->count, 4);
    O::Insert(this->seq, E(7), 0);
    O::Insert(this->seq, E(6), 2);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(7), E(0), E(6), E(1), E(2), E(9)}));
}

TYPED_TEST(Sequence, RemoveShiftsDownAndClearsTheLastSlot)
{
    using O = Ops<TypeParam>;
    O::Append(this->seq, E(0));
    O::Remove(this->seq, 0);
    EXPECT_EQ(this->seq->count, 0);
    EXPECT_EQ(this->seq->items[0], nullptr);
    this->Fill(this->seq, 4);
    O::Remove(this->seq, 1);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(2), E(3)}));
    EXPECT_EQ(this->seq->items[3], nullptr);
    O::Remove(this->seq, 3);
    O::Remove(this->seq, -1);
    EXPECT_EQ(this->seq->count, 3);
    EXPECT_EQ(this->seq->capacity, 4);  // never shrinks
}

TYPED_TEST(Sequence, PopGetSetAndTheirBounds)
{
    using O = Ops<TypeParam>;
    EXPECT_EQ(O::Pop(this->seq), nullptr);
    this->Fill(this->seq, 3);
    EXPECT_EQ(O::Get(this->seq, 3), nullptr);
    EXPECT_EQ(O::Get(this->seq, -1), nullptr);
    O::Set(this->seq, E(9), 1);
    O::Set(this->seq, E(9), 3);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(9), E(2)}));
    EXPECT_EQ(this->seq->items[3], nullptr);  // the refused Set left the free slot alone
    EXPECT_EQ(O::Pop(this->seq), E(2));
    EXPECT_EQ(this->seq->count, 2);
    EXPECT_EQ(O::Pop(nullptr), nullptr);
    EXPECT_EQ(O::Get(nullptr, 0), nullptr);
}

TYPED_TEST(Sequence, FindReturnsLowestIndexAndNeverFindsNull)
{
    using O = Ops<TypeParam>;
    O::Append(this->seq, E(1));
    O::Append(this->seq, nullptr);
    O::Append(this->seq, E(2));
    O::Append(this->seq, E(1));
    EXPECT_EQ(O::Find(this->seq, E(1)), 0);
    EXPECT_EQ(O::Find(this->seq, E(2)), 2);
    EXPECT_EQ(O::Find(this->seq, E(3)), -1);
    EXPECT_EQ(O::Find(this->seq, nullptr), -1);
    EXPECT_EQ(O::Find(nullptr, E(1)), -1);
}

TYPED_TEST(Sequence, EqualComparesPointerIdentity)
{
    using O = Ops<TypeParam>;
    TypeParam *other = O::New();
    EXPECT_TRUE(O::Equal(this->seq, other));  // two empty lists
    EXPECT_TRUE(O::Equal(nullptr, nullptr));
    EXPECT_FALSE(O::Equal(this->seq, nullptr));
    EXPECT_FALSE(O::Equal(nullptr, other));
    int a = 5, b = 5;
    O::Append(this->seq, &a);
    O::Append(other, &b);
    EXPECT_FALSE(O::Equal(this->seq, other));  // equal contents, distinct objects
    O::Set(other, &a, 0);
    EXPECT_TRUE(O::Equal(this->seq, other));
    O::Append(other, &a);
    EXPECT_FALSE(O::Equal(this->seq, other));
    O::Pop(other);  // the popped slot, now beyond count, is not compared
    EXPECT_TRUE(O::Equal(this->seq, other));
    O::Free(&other);
}

TYPED_TEST(Sequence, CopySharesElements)
{
    using O = Ops<TypeParam>;
    this->Fill(this->seq, 5);
    TypeParam *copy = O::Copy(this->seq);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->items, this->seq->items);
    EXPECT_TRUE(O::Equal(copy, this->seq));
    O::Free(&copy);
    EXPECT_EQ(O::Copy(nullptr), nullptr);
}

TYPED_TEST(Sequence, RangesCopyDeleteAndInsert)
{
    using O = Ops<TypeParam>;
    this->Fill(this->seq, 4);
    TypeParam *part = O::CopyRange(this->seq, 1, 3);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(this->Items(part), (std::vector<void *>{E(1), E(2)}));
    O::Free(&part);
    EXPECT_EQ(O::CopyRange(this->seq, 2, 2), nullptr);  // from = to is an error
    EXPECT_EQ(O::CopyRange(this->seq, 0, 5), nullptr);
    EXPECT_EQ(O::CopyRange(this->seq, -1, 2), nullptr);

    O::DeleteRange(this->seq, 1, 3);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(3)}));
    O::DeleteRange(this->seq, 1, 1);
    O::DeleteRange(this->seq, 0, 3);
    EXPECT_EQ(this->seq->count, 2);
    O::DeleteRange(this->seq, 0, 2);
    EXPECT_EQ(this->seq->count, 0);
    EXPECT_EQ(this->seq->capacity, 4);
}

TYPED_TEST(Sequence, InsertRangeMovesTheTailUp)
{
    using O = Ops<TypeParam>;
    TypeParam *source = O::New();
    this->Fill(source, 4, 10);    // s0 .. s3
    this->Fill(this->seq, 3, 0);  // d0 .. d2
    O::InsertRange(source, this->seq, 1, 3, 1);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(11), E(12), E(1), E(2)}));
    EXPECT_EQ(this->seq->capacity, 8);
    EXPECT_EQ(source->count, 4);

    O::InsertRange(source, this->seq, 0, 1, 5);  // at = count appends
    EXPECT_EQ(O::Get(this->seq, 5), E(10));
    O::InsertRange(source, this->seq, 0, 1, 7);
    O::InsertRange(source, this->seq, 2, 2, 0);
    O::InsertRange(source, this->seq, 0, 5, 0);
    O::InsertRange(nullptr, this->seq, 0, 1, 0);
    EXPECT_EQ(this->seq->count, 6);
    O::InsertRange(source, this->seq, 3, 4, 0);  // at = 0 puts it first
    EXPECT_EQ(O::Get(this->seq, 0), E(13));

    // Into itself: the range is taken as it was before the insertion.
    O::InsertRange(source, source, 0, 2, 1);
    EXPECT_EQ(this->Items(source), (std::vector<void *>{E(10), E(10), E(11), E(11), E(12), E(13)}));
    O::Free(&source);
}

TYPED_TEST(Sequence, GrowAndPlaceholders)
{
    using O = Ops<TypeParam>;
    this->Fill(this->seq, 2);
    EXPECT_TRUE(O::Grow(this->seq));
    EXPECT_EQ(this->seq->capacity, 4);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(1)}));
    EXPECT_FALSE(O::Grow(nullptr));
    EXPECT_EQ(O::ToASCII(this->seq), nullptr);
    EXPECT_EQ(O::FromASCII("LIST{}"), nullptr);
    EXPECT_EQ(O::FromASCII(nullptr), nullptr);
}

TYPED_TEST(Sequence, FailedAllocationsLeaveTheListAsItWas)
{
    using O = Ops<TypeParam>;
    this->Fill(this->seq, 4);  // full: the next insertion must grow
    void **items = this->seq->items;
    {
        AllocationLimit none(0);
        O::Append(this->seq, E(9));
        O::Insert(this->seq, E(9), 0);
        EXPECT_FALSE(O::Grow(this->seq));
        EXPECT_EQ(O::New(), nullptr);
        EXPECT_EQ(O::Copy(this->seq), nullptr);
    }
    {
        AllocationLimit two(2);  // the copy's record and first slots, not its growth
        EXPECT_EQ(O::CopyRange(this->seq, 0, 3), nullptr);
    }
    EXPECT_EQ(this->seq->items, items);
    EXPECT_EQ(this->seq->capacity, 4);
    EXPECT_EQ(this->Items(this->seq), (std::vector<void *>{E(0), E(1), E(2), E(3)}));
}

TYPED_TEST(Sequence, FailedChecksPrintNothing)
{
    using O = Ops<TypeParam>;
    ::testing::internal::CaptureStdout();
    O::Append(nullptr, E(0));
    O::Remove(this->seq, 0);
    O::Free(nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
