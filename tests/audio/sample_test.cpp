#include <gtest/gtest.h>

#include "../alloc_limit.h"
#include "audio/sample.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();

SAMPLE *Make(const std::vector<int32_t> &values)
{
    SAMPLE *sample = SAMPLENew();
    SAMPLESetLength(sample, static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        sample->values[i] = values[i];
    }
    return sample;
}

std::vector<int32_t> Values(const SAMPLE *sample)
{
    return std::vector<int32_t>(sample->values, sample->values + sample->length);
}

// Owns a sample for the length of a test.
struct Held {
    SAMPLE *sample;
    explicit Held(SAMPLE *s) : sample(s) {}
    explicit Held(const std::vector<int32_t> &values) : sample(Make(values)) {}
    ~Held()
    {
        if (sample != nullptr) {
            SAMPLEFree(&sample);
        }
    }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;
    SAMPLE *operator->() const { return sample; }
    operator SAMPLE *() const { return sample; }
};

std::string Text(const SAMPLE *sample)
{
    char *text = SAMPLEToASCII(sample);
    std::string result = text != nullptr ? text : "<null>";
    delete[] text;
    return result;
}

// The bytes a raw writer puts into a stream.
std::vector<unsigned char> Written(const SAMPLE *sample, int32_t width, char order, int32_t *count = nullptr)
{
    std::FILE *stream = std::tmpfile();
    int32_t written = SAMPLEWriteRaw(sample, stream, width, order);
    if (count != nullptr) {
        *count = written;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::ftell(stream)));
    std::rewind(stream);
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), stream);
    bytes.resize(got);
    std::fclose(stream);
    return bytes;
}

SAMPLE *ReadBytes(const std::vector<unsigned char> &bytes, int32_t width, char order, char signedness)
{
    std::FILE *stream = std::tmpfile();
    if (!bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
    }
    std::rewind(stream);
    SAMPLE *sample = SAMPLEReadRaw(stream, width, order, signedness);
    std::fclose(stream);
    return sample;
}

}  // namespace

TEST(SAMPLENew, StartsEmptyWith32ZeroSlotsAndGrowsZeroFilled)
{
    Held s(SAMPLENew());
    ASSERT_NE(s.sample, nullptr);
    EXPECT_EQ(s->length, 0);
    EXPECT_EQ(s->capacity, 32);
    ASSERT_EQ(SAMPLESetLength(s, 37000), s.sample);
    EXPECT_EQ(s->length, 37000);
    EXPECT_EQ(SAMPLEMin(s), 0);
    EXPECT_EQ(SAMPLEMax(s), 0);
}

TEST(SAMPLEFree, NullsTheHandleAndRefusesANullOne)
{
    SAMPLE *s = SAMPLENew();
    SAMPLEFree(&s);
    EXPECT_EQ(s, nullptr);
    SAMPLEFree(&s);  // already null: reported, nothing else
    SAMPLEFree(nullptr);
}

TEST(SAMPLEToASCII, WritesTheFramedForm)
{
    Held empty(SAMPLENew());
    EXPECT_EQ(Text(empty), "SAMPLE{}\n");
    Held three({5, -12, 0});
    EXPECT_EQ(Text(three), "SAMPLE{3\n5\n-12\n0\n}\n");
    EXPECT_EQ(Text(nullptr), "<null>");
}

TEST(SAMPLEToASCII, CountedBufferHoldsTheExtremesExactly)
{
    Held s({int32Min, int32Max, -1, 1000000000});
    char *text = SAMPLEToASCII(s);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "SAMPLE{4\n-2147483648\n2147483647\n-1\n1000000000\n}\n");
    delete[] text;
}

TEST(SAMPLEFromASCII, ReadsLenientlyAndRoundTrips)
{
    Held lenient(SAMPLEFromASCII("junk SAMP SAMPLE  {   2 :-7 , 9"));
    ASSERT_NE(lenient.sample, nullptr);
    EXPECT_EQ(Values(lenient), (std::vector<int32_t>{-7, 9}));

    Held empty(SAMPLEFromASCII("SAMPLE{}\n"));
    ASSERT_NE(empty.sample, nullptr);
    EXPECT_EQ(empty->length, 0);

    Held original({int32Min, int32Max, 0, -1, 32768});
    char *text = SAMPLEToASCII(original);
    Held back(SAMPLEFromASCII(text));
    delete[] text;
    ASSERT_NE(back.sample, nullptr);
    EXPECT_TRUE(SAMPLEEqual(original, back));

    Held bare(SAMPLEFromASCII("SAMPLE{3 - 4 -"));  // a lone "-" reads as 0
    ASSERT_NE(bare.sample, nullptr);
    EXPECT_EQ(Values(bare), (std::vector<int32_t>{0, 4, 0}));
}

TEST(SAMPLEFromASCII, RefusesIncompleteOrImpossibleText)
{
    const char *bad[] = {
        "",
        "SAMPL{1\n2\n}",
        "SAMPLE 1 2",                       // no "{"
        "{ SAMPLE 1 2",                     // the "{" must follow "SAMPLE"
        "SAMPLE{",                          // no length
        "SAMPLE{3\n1\n2\n}\n",              // a promised value is missing
        "SAMPLE{5 1 2}",                    // the length outruns the text
        "SAMPLE{2147483647\n1\n}",          // too long for the text
        "SAMPLE{99999999999999999999\n1}",  // too long for 32 bits
    };
    for (const char *text : bad) {
        EXPECT_EQ(SAMPLEFromASCII(text), nullptr) << text;
    }
    EXPECT_EQ(SAMPLEFromASCII(nullptr), nullptr);
}

TEST(SAMPLEFromNumbers, ReadsEveryNumberOfABareText)
{
    Held s(SAMPLEFromNumbers("a 12, -3;x 0 -2147483648"));
    ASSERT_NE(s.sample, nullptr);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{12, -3, 0, int32Min}));
    Held none(SAMPLEFromNumbers("no numbers"));
    ASSERT_NE(none.sample, nullptr);
    EXPECT_EQ(none->length, 0);
    EXPECT_EQ(SAMPLEFromNumbers(nullptr), nullptr);
}

TEST(SAMPLEEqual, ComparesLengthAndValues)
{
    Held a({1, 2, 3});
    Held b({1, 2, 3});
    Held c({1, 2, 4});
    Held d({1, 2});
    EXPECT_TRUE(SAMPLEEqual(a, b));
    EXPECT_FALSE(SAMPLEEqual(a, c));
    EXPECT_FALSE(SAMPLEEqual(a, d));
    EXPECT_FALSE(SAMPLEEqual(a, nullptr));
    EXPECT_FALSE(SAMPLEEqual(nullptr, nullptr));
}

TEST(SAMPLECopy, CopiesStaticRecordsAndEmptySamples)
{
    static int32_t data[5] = {7, -7, 70, -70, 99};
    const SAMPLE clip{4, 4, data};  // static storage: the last word lies outside the length
    Held copy(SAMPLECopy(&clip));
    ASSERT_NE(copy.sample, nullptr);
    EXPECT_NE(copy->values, data);
    EXPECT_EQ(Values(copy), (std::vector<int32_t>{7, -7, 70, -70}));

    Held empty(SAMPLENew());
    Held emptyCopy(SAMPLECopy(empty));
    ASSERT_NE(emptyCopy.sample, nullptr);
    EXPECT_EQ(emptyCopy->length, 0);
    EXPECT_EQ(emptyCopy->capacity, 32);
    EXPECT_EQ(SAMPLECopy(nullptr), nullptr);
}

TEST(SAMPLEReserve, KeepsTheFirstValuesAndRefusesBadCounts)
{
    Held s({1, 2, 3, 4});
    EXPECT_EQ(SAMPLEReserve(s, 2), s.sample);
    EXPECT_EQ(s->capacity, 2);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(SAMPLEReserve(s, 1), s.sample);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{1}));
    EXPECT_EQ(SAMPLEReserve(s, 0), nullptr);
    EXPECT_EQ(SAMPLEReserve(nullptr, 4), nullptr);
    EXPECT_EQ(s->capacity, 1);
}

TEST(SAMPLESetLength, ShrinkingAndRegrowingExposesOldValues)
{
    Held s({1, 2, 3});
    SAMPLESetLength(s, 1);
    SAMPLESetLength(s, 3);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(SAMPLESetLength(s, -1), nullptr);
    EXPECT_EQ(s->length, 3);
}

TEST(SAMPLEGetSet, StayInsideTheLength)
{
    Held s({10, 20});
    EXPECT_EQ(SAMPLEGet(s, 1), 20);
    EXPECT_EQ(SAMPLEGet(s, 2), 0);
    EXPECT_EQ(SAMPLEGet(s, -1), 0);
    EXPECT_EQ(SAMPLESet(s, 5, 0), 5);
    EXPECT_EQ(SAMPLESet(s, 5, 2), 0);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{5, 20}));
}

TEST(SAMPLEInsertRemove, ShiftValuesAndDoubleAFullCapacity)
{
    Held s(SAMPLENew());
    for (int32_t i = 0; i < 32; ++i) {
        SAMPLEInsert(s, i, i);
    }
    EXPECT_EQ(s->capacity, 32);
    EXPECT_EQ(SAMPLEInsert(s, -1, 0), -1);
    EXPECT_EQ(s->capacity, 64);
    EXPECT_EQ(s->length, 33);
    EXPECT_EQ(SAMPLEGet(s, 0), -1);
    EXPECT_EQ(SAMPLEGet(s, 32), 31);
    EXPECT_EQ(SAMPLEInsert(s, 9, 34), 0);  // past the end: refused
    EXPECT_EQ(SAMPLERemove(s, 0), 32);
    EXPECT_EQ(SAMPLEGet(s, 0), 0);
    EXPECT_EQ(SAMPLEGet(s, 31), 31);
    EXPECT_EQ(SAMPLERemove(s, 32), 0);
    EXPECT_EQ(s->length, 32);
}

TEST(SAMPLEFind, SearchesFromStart)
{
    Held s({4, 5, 4});
    EXPECT_EQ(SAMPLEFind(s, 4, 0), 0);
    EXPECT_EQ(SAMPLEFind(s, 4, 1), 2);
    EXPECT_EQ(SAMPLEFind(s, 6, 0), -1);
    EXPECT_EQ(SAMPLEFind(s, 4, 3), -1);
    EXPECT_EQ(SAMPLEFind(s, 4, -1), -1);
}

TEST(SAMPLEMove, OverlappingRunsMoveIntactBothWays)
{
    Held up({1, 2, 3, 4, 5, 6});
    SAMPLEMove(up, up, 4, 0, 2);
    EXPECT_EQ(Values(up), (std::vector<int32_t>{1, 2, 1, 2, 3, 4}));
    Held down({1, 2, 3, 4, 5, 6});
    SAMPLEMove(down, down, 4, 2, 0);
    EXPECT_EQ(Values(down), (std::vector<int32_t>{3, 4, 5, 6, 5, 6}));

    Held other({0, 0, 0});
    SAMPLEMove(up, other, 3, 3, 0);
    EXPECT_EQ(Values(other), (std::vector<int32_t>{2, 3, 4}));
    SAMPLEMove(up, other, 2, 5, 0);         // source run too long
    SAMPLEMove(up, other, 2, 0, 2);         // destination run too long
    SAMPLEMove(up, other, -1, 0, 0);        // negative count
    SAMPLEMove(up, other, 1, int32Max, 0);  // no overflow in the range check
    EXPECT_EQ(Values(other), (std::vector<int32_t>{2, 3, 4}));
}

TEST(SAMPLEArithmetic, AddMultiplyScaleWrapAndStopAtTheShorter)
{
    Held a(SAMPLENew());
    SAMPLESetLength(a, 37000);
    for (int32_t i = 0; i < 37000; ++i) {
        a->values[i] = 1;
    }
    Held b(SAMPLENew());
    SAMPLESetLength(b, 11024);
    for (int32_t i = 0; i < 11024; ++i) {
        b->values[i] = 2;
    }
    SAMPLEAdd(a, b);
    EXPECT_EQ(SAMPLEGet(a, 11023), 3);
    EXPECT_EQ(SAMPLEGet(a, 11024), 1);
    EXPECT_EQ(SAMPLEFind(a, 1, 0), 11024);

    Held w({int32Max, int32Min, 3});
    Held two({2, 2});
    SAMPLEAdd(w, two);
    EXPECT_EQ(Values(w), (std::vector<int32_t>{int32Min + 1, int32Min + 2, 3}));
    SAMPLEMultiply(w, two);
    EXPECT_EQ(Values(w), (std::vector<int32_t>{2, 4, 3}));
    SAMPLEScale(w, -3);
    EXPECT_EQ(Values(w), (std::vector<int32_t>{-6, -12, -9}));
}

TEST(SAMPLEShift, CountsAreTakenModulo32)
{
    Held s({-5, 5, 1});
    SAMPLEShiftRight(s, 2);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{-2, 1, 0}));
    SAMPLEShiftRight(s, 32);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{-2, 1, 0}));
    SAMPLEShiftLeft(s, 32);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{-2, 1, 0}));
    SAMPLEShiftLeft(s, 31);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{0, int32Min, 0}));
    SAMPLEShiftLeft(s, 33);
    SAMPLEShiftRight(s, -1);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{0, int32Min, 0}));
    SAMPLEShiftRight(s, 31);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{0, -1, 0}));
}

TEST(SAMPLEMinMaxReverse, WorkOverTheLength)
{
    Held s({3, -9, 12, 0});
    EXPECT_EQ(SAMPLEMin(s), -9);
    EXPECT_EQ(SAMPLEMax(s), 12);
    SAMPLEReverse(s);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{0, 12, -9, 3}));
    Held empty({7});
    SAMPLESetLength(empty, 0);  // a value left beyond the length is not a value
    EXPECT_EQ(SAMPLEMin(empty), 0);
    EXPECT_EQ(SAMPLEMax(empty), 0);
    EXPECT_EQ(SAMPLEMax(nullptr), 0);
}

TEST(SAMPLERotate, BothDirectionsTakeKModuloLength)
{
    Held right({1, 2, 3});
    SAMPLERotateRight(right, 1);
    EXPECT_EQ(Values(right), (std::vector<int32_t>{3, 1, 2}));
    Held left({1, 2, 3});
    SAMPLERotateLeft(left, 4);
    EXPECT_EQ(Values(left), (std::vector<int32_t>{2, 3, 1}));
    SAMPLERotateLeft(left, -1);
    EXPECT_EQ(Values(left), (std::vector<int32_t>{1, 2, 3}));
    SAMPLERotateRight(left, 3);
    EXPECT_EQ(Values(left), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(left->capacity, 32);

    Held big(SAMPLENew());
    SAMPLESetLength(big, 100);
    big->values[99] = 7;
    SAMPLERotateRight(big, 101);
    EXPECT_EQ(big->capacity, 100);
    EXPECT_EQ(SAMPLEGet(big, 0), 7);
    {
        AllocationLimit two(2);  // the temporary sample, but not its 100 values
        SAMPLERotateLeft(big, 1);
    }
    EXPECT_EQ(SAMPLEGet(big, 0), 7);

    Held empty(SAMPLENew());
    SAMPLERotateLeft(empty, 1);
    EXPECT_EQ(empty->length, 0);
}

TEST(SAMPLEInsertSample, OpensAGapAndCopiesTheSource)
{
    Held target({1, 2, 3});
    Held source({8, 9});
    SAMPLEInsertSample(target, source, 1);
    EXPECT_EQ(Values(target), (std::vector<int32_t>{1, 8, 9, 2, 3}));
    SAMPLEInsertSample(target, source, 5);
    EXPECT_EQ(Values(target), (std::vector<int32_t>{1, 8, 9, 2, 3, 8, 9}));
    SAMPLEInsertSample(target, source, 8);
    EXPECT_EQ(target->length, 7);

    Held self({1, 2});
    SAMPLEInsertSample(self, self, 1);
    EXPECT_EQ(Values(self), (std::vector<int32_t>{1, 1, 2, 2}));
}

TEST(SAMPLESub, CutsTheRangeToTheSample)
{
    Held s({0, 1, 2, 3, 4});
    Held mid(SAMPLESub(s, 1, 3));
    EXPECT_EQ(Values(mid), (std::vector<int32_t>{1, 2}));
    Held cut(SAMPLESub(s, -2, 9));
    EXPECT_EQ(Values(cut), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    Held beyond(SAMPLESub(s, 7, 9));
    ASSERT_NE(beyond.sample, nullptr);
    EXPECT_EQ(beyond->length, 0);
    EXPECT_EQ(SAMPLESub(s, 3, 1), nullptr);
}

TEST(SAMPLEResample, StepsToTheNearestValueBothWays)
{
    struct Case {
        int32_t from;
        int32_t to;
        std::vector<int32_t> picked;
    };
    const Case cases[] = {
        {4, 2, {1, 3}},          {10, 3, {3, 6, 9}}, {2, 4, {0, 0, 1, 1}},
        {4, 5, {0, 1, 2, 3, 3}}, {3, 1, {2}},        {1, 3, {0, 0, 0}},
    };
    for (const Case &c : cases) {
        Held s(SAMPLENew());
        SAMPLESetLength(s, c.from);
        for (int32_t i = 0; i < c.from; ++i) {
            s->values[i] = 100 + i;  // no value is 0, so a slot the stepping missed shows
        }
        ASSERT_EQ(SAMPLEResample(s, c.to), c.to);
        EXPECT_EQ(s->length, c.to);
        EXPECT_EQ(s->capacity, c.to);
        std::vector<int32_t> expected;
        for (int32_t index : c.picked) {
            expected.push_back(100 + index);
        }
        EXPECT_EQ(Values(s), expected) << c.from << " -> " << c.to;
    }
    Held s({1, 2});
    EXPECT_EQ(SAMPLEResample(s, 2), 0);
    EXPECT_EQ(SAMPLEResample(s, 0), 0);
    Held empty(SAMPLENew());
    EXPECT_EQ(SAMPLEResample(empty, 4), 0);
}

TEST(SAMPLENormalize, MapsMinAndMaxExactlyOverTheWholeRange)
{
    Held s({int32Min, 0, int32Max});
    SAMPLENormalize(s, -32768, 32767);
    EXPECT_EQ(Values(s), (std::vector<int32_t>{-32768, -1, 32767}));  // 0 lies just above the middle

    Held wide({-1, 0, 1});
    SAMPLENormalize(wide, int32Min, int32Max);
    EXPECT_EQ(Values(wide), (std::vector<int32_t>{int32Min, -1, int32Max}));

    Held reversed({10, 15, 20});
    SAMPLENormalize(reversed, 100, 0);
    EXPECT_EQ(Values(reversed), (std::vector<int32_t>{100, 50, 0}));

    Held third({0, 1, 3});
    SAMPLENormalize(third, 0, -1);  // floor of -1/3 is -1
    EXPECT_EQ(Values(third), (std::vector<int32_t>{0, -1, -1}));

    Held flat({4, 4});
    SAMPLENormalize(flat, 7, 9);
    EXPECT_EQ(Values(flat), (std::vector<int32_t>{7, 7}));
}

TEST(SAMPLEMatch, CountsEqualPositionsOverTheOverlap)
{
    Held a({1, 2, 3, 4});
    Held b({3, 4, 9});
    EXPECT_EQ(SAMPLEMatch(a, b, 2), 2);
    EXPECT_EQ(SAMPLEMatch(a, b, 0), 0);
    Held c({9, 1, 2});
    EXPECT_EQ(SAMPLEMatch(a, c, -1), 2);
    EXPECT_EQ(SAMPLEMatch(a, c, -2), 0);  // 1 - 3 is the lowest offset
    EXPECT_EQ(SAMPLEMatch(a, c, -3), 0);
    EXPECT_EQ(SAMPLEMatch(a, c, 4), 0);
}

TEST(SAMPLEBestMatch, FirstHighestOffsetOrMinusLengthOfB)
{
    Held a({1, 2, 3, 1, 2, 3});
    Held b({2, 3});
    EXPECT_EQ(SAMPLEBestMatch(a, b), 1);  // ties with 4: the first wins
    Held c({7, 1});
    EXPECT_EQ(SAMPLEBestMatch(a, c), -1);
    Held none({8, 9, 10});
    EXPECT_EQ(SAMPLEBestMatch(a, none), -3);
}

TEST(SAMPLEWriteRaw, ClipsEveryWidthInBothOrders)
{
    Held s({40000, -40000, -2});
    EXPECT_EQ(Written(s, 16, 'b'), (std::vector<unsigned char>{0x7F, 0xFF, 0x80, 0x00, 0xFF, 0xFE}));
    EXPECT_EQ(Written(s, 16, 'l'), (std::vector<unsigned char>{0xFF, 0x7F, 0x00, 0x80, 0xFE, 0xFF}));
    EXPECT_EQ(Written(s, 99, 'x'), Written(s, 16, 'l'));
    EXPECT_EQ(Written(s, 8, 'b'), (std::vector<unsigned char>{0x7F, 0x80, 0xFE}));

    Held deep({9000000, -9000000, 0x123456});
    EXPECT_EQ(Written(deep, 24, 'b'),
              (std::vector<unsigned char>{0x7F, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x12, 0x34, 0x56}));
    EXPECT_EQ(Written(deep, 24, 'l'),
              (std::vector<unsigned char>{0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80, 0x56, 0x34, 0x12}));

    Held full({int32Min, int32Max});
    int32_t count = 0;
    EXPECT_EQ(Written(full, 32, 'b', &count),
              (std::vector<unsigned char>{0x80, 0x00, 0x00, 0x01, 0x7F, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Written(full, 32, 'l'), (std::vector<unsigned char>{0x01, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(SAMPLEWriteRaw(full, nullptr, 16, 'l'), 0);
}

TEST(SAMPLEReadRaw, EveryWidthOrderAndSignedness)
{
    const std::vector<unsigned char> bytes{0x80, 0x01, 0xFF};
    Held s8(ReadBytes(bytes, 8, 'l', 's'));
    EXPECT_EQ(Values(s8), (std::vector<int32_t>{-32768, 256, -256}));
    Held u8(ReadBytes(bytes, 8, 'b', 'u'));
    EXPECT_EQ(Values(u8), (std::vector<int32_t>{0, 256 - 0x8000, 0xFF00 - 0x8000}));
    Held s16l(ReadBytes(bytes, 16, 'l', 's'));  // the odd last byte is dropped
    EXPECT_EQ(Values(s16l), (std::vector<int32_t>{0x0180}));
    Held s16b(ReadBytes(bytes, 16, 'b', 's'));
    EXPECT_EQ(Values(s16b), (std::vector<int32_t>{-32767}));
    Held u16l(ReadBytes({0x00, 0x00, 0xFF, 0xFF}, 16, 'l', 'u'));
    EXPECT_EQ(Values(u16l), (std::vector<int32_t>{-32768, 32767}));
    Held u16b(ReadBytes({0x80, 0x00}, 16, 'b', 'u'));
    EXPECT_EQ(Values(u16b), (std::vector<int32_t>{0}));

    Held empty(ReadBytes({}, 16, 'l', 's'));
    ASSERT_NE(empty.sample, nullptr);
    EXPECT_EQ(empty->length, 0);
    EXPECT_EQ(empty->capacity, 1024);

    struct Bad {
        int32_t width;
        char order;
        char sign;
    };
    for (const Bad &bad : {Bad{24, 'l', 's'}, Bad{16, 'x', 's'}, Bad{8, 'b', 'x'}}) {
        EXPECT_EQ(ReadBytes(bytes, bad.width, bad.order, bad.sign), nullptr);
    }
    EXPECT_EQ(SAMPLEReadRaw(nullptr, 16, 'l', 's'), nullptr);
}

TEST(SAMPLEReadRaw, RoundTripsThroughTheWriterAndDoublesCapacity)
{
    Held s(SAMPLENew());
    SAMPLESetLength(s, 3000);
    for (int32_t i = 0; i < 3000; ++i) {
        s->values[i] = (i * 37) % 65536 - 32768;
    }
    for (char order : {'b', 'l'}) {
        std::FILE *stream = std::tmpfile();
        ASSERT_EQ(SAMPLEWriteRaw(s, stream, 16, order), 3000);
        std::rewind(stream);
        Held back(SAMPLEReadRaw(stream, 16, order, 's'));
        std::fclose(stream);
        ASSERT_NE(back.sample, nullptr);
        EXPECT_EQ(back->capacity, 4096);
        EXPECT_TRUE(SAMPLEEqual(s, back));
    }
}
