// SAMPLE: a growable array of signed 32-bit values. For sound each value is
// one mono PCM value on the signed 16-bit scale, kept in a 32-bit word so that
// samples can be added, shifted and scaled without overflow before they reach
// the device; the driver also keeps its colour table in one.
//
// Values are plain integers: no operation clips, and overflow in the
// arithmetic operations wraps as two's complement.
//
// A record whose values point into static storage (the embedded clips) may be
// read and copied with SAMPLECopy, but never freed, reserved or resampled.
//
// A refused call reports through SAMPLEError and changes nothing; it yields
// null for pointer results, -1 for SAMPLEFind and 0 for everything else.
#pragma once

#include <cstdint>
#include <cstdio>

inline constexpr const char *SAMPLEIdentity[] = {"SAMPLE  ", "20110904", "VORNHALD", "C       ", "CODE    "};
// Bytes per value; every allocation of values is capacity x this, zero-filled.
inline constexpr int32_t SAMPLEElementSize = 4;
static_assert(sizeof(int32_t) == SAMPLEElementSize);

struct SAMPLE {
    int32_t length;    // values in use, 0 <= length <= capacity
    int32_t capacity;  // value slots allocated
    int32_t *values;   // capacity slots, zero-filled when allocated (new[]); owned
};

// A new empty sample with 32 zeroed slots, or null.
SAMPLE *SAMPLENew();
// Releases the values and the record and nulls the handle; null address or handle: report.
void SAMPLEFree(SAMPLE **handle);
// "SAMPLE{" length "\n", one value a line, "}\n"; an empty sample gives "SAMPLE{}\n".
// The text is new[]; the caller delete[]s it. Missing sample or no memory: null.
char *SAMPLEToASCII(const SAMPLE *sample);
// Reads the text form leniently (any separators, no closing "}" needed). Null when
// the text lacks "SAMPLE", the "{", a length or any of the promised values, or the
// promised length cannot be held; never a partly read sample. Digits beyond 32 bits wrap.
SAMPLE *SAMPLEFromASCII(const char *text);
// Both present, same length, same values; every false result is reported.
bool SAMPLEEqual(const SAMPLE *a, const SAMPLE *b);
// A new heap sample with the same values (static records may be copied); null on failure.
SAMPLE *SAMPLECopy(const SAMPLE *sample);

// Reallocates to n >= 1 zeroed slots keeping the first values (length cut to n).
// Returns the sample; null when refused or out of memory (the sample unchanged).
SAMPLE *SAMPLEReserve(SAMPLE *sample, int32_t n);
// Sets length n >= 0, growing the capacity when needed; slots never written read 0.
// Returns the sample; null when refused or out of memory (the sample unchanged).
SAMPLE *SAMPLESetLength(SAMPLE *sample, int32_t n);
// The value at 0 <= index < length; 0 otherwise.
int32_t SAMPLEGet(const SAMPLE *sample, int32_t index);
// Stores value at 0 <= index < length and returns it; 0 otherwise.
int32_t SAMPLESet(SAMPLE *sample, int32_t value, int32_t index);
// Inserts value at 0 <= index <= length (doubling a full capacity) and returns it; 0 otherwise.
int32_t SAMPLEInsert(SAMPLE *sample, int32_t value, int32_t index);
// Removes the value at 0 <= index < length; the new length, or 0 when refused.
int32_t SAMPLERemove(SAMPLE *sample, int32_t index);
// The first index >= start (0 <= start < length) holding value; -1 when absent or refused.
int32_t SAMPLEFind(const SAMPLE *sample, int32_t value, int32_t start);
// Copies count values from source[from ..] to destination[to ..]; overlapping runs in
// one sample move intact. Refused unless both runs lie within the lengths.
void SAMPLEMove(const SAMPLE *source, SAMPLE *destination, int32_t count, int32_t from, int32_t to);
// Sets every value of the length to 0.
void SAMPLEClear(SAMPLE *sample);

// a[i] += b[i] below the smaller length.
void SAMPLEAdd(SAMPLE *a, const SAMPLE *b);
// a[i] *= b[i] below the smaller length.
void SAMPLEMultiply(SAMPLE *a, const SAMPLE *b);
void SAMPLEScale(SAMPLE *sample, int32_t factor);
// Shifts every value left by n modulo 32 (32 leaves them unchanged); n outside 0 .. 32 is refused.
void SAMPLEShiftLeft(SAMPLE *sample, int32_t n);
// Arithmetic shift right (towards minus infinity) by n modulo 32; n outside 0 .. 32 is refused.
void SAMPLEShiftRight(SAMPLE *sample, int32_t n);
// The smallest value; 0 for a missing or empty sample.
int32_t SAMPLEMin(const SAMPLE *sample);
// The largest value; 0 for a missing or empty sample.
int32_t SAMPLEMax(const SAMPLE *sample);
void SAMPLEReverse(SAMPLE *sample);
// values[k ..] then values[.. k - 1], k modulo length; replaces the array (capacity
// becomes the larger of 32 and length). An empty sample is refused.
void SAMPLERotateLeft(SAMPLE *sample, int32_t k);
// Each value moves from i to (i + k) mod length; replaces the array like SAMPLERotateLeft.
void SAMPLERotateRight(SAMPLE *sample, int32_t k);

// Inserts all of source into target at 0 <= at <= target length (source may be target).
void SAMPLEInsertSample(SAMPLE *target, const SAMPLE *source, int32_t at);
// A new sample of the values from .. to - 1, the range first cut to 0 .. length
// (empty when nothing is left); null when from > to or the sample is missing.
SAMPLE *SAMPLESub(const SAMPLE *sample, int32_t from, int32_t to);
// Resamples to n values by nearest-value stepping; returns n, or 0 when refused
// (n < 1, n equal to the length, an empty sample, no memory).
int32_t SAMPLEResample(SAMPLE *sample, int32_t n);
// Maps [min, max] linearly onto [low, high] (low > high reverses), rounding towards
// minus infinity; min maps to low and max to high exactly. All values equal: all low.
void SAMPLENormalize(SAMPLE *sample, int32_t low, int32_t high);
// Positions k with a[offset + k] == b[k] where b overlaps a laid from offset;
// 0 unless 1 - (length of b) <= offset < (length of a).
int32_t SAMPLEMatch(const SAMPLE *a, const SAMPLE *b, int32_t offset);
// The offset with the highest SAMPLEMatch count (the first on a tie), or -(length of b)
// when no offset matches anything; 0 for a missing sample.
int32_t SAMPLEBestMatch(const SAMPLE *a, const SAMPLE *b);

// Reads raw PCM to the end of stream: width 8 or 16, order 'b' or 'l', signedness
// 's' or 'u'; values on the signed 16-bit scale. A last odd byte of 16-bit data is
// dropped. Null for any other argument or when memory runs out.
SAMPLE *SAMPLEReadRaw(std::FILE *stream, int32_t width, char order, char signedness);
// Writes every value clipped to width 8, 24 or 32 (anything else is 16) in two's
// complement, order 'b' most significant byte first, any other letter least
// significant first; width 32 writes -2147483648 as -2147483647. Returns the
// values written (fewer when the stream fails), 0 when refused.
int32_t SAMPLEWriteRaw(const SAMPLE *sample, std::FILE *stream, int32_t width, char order);
// Reads a bare run of signed decimal numbers (no "SAMPLE{" frame): each is found like a
// value of the text form, and they are read until the text ends. A new sample of them
// (empty when the text holds none); null for null text.
SAMPLE *SAMPLEFromNumbers(const char *text);

void SAMPLEError();
