#include "audio/sample.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <new>

#include "core/module.h"

namespace {

constexpr Reporting sampleReporting = Reporting::Off;

// Slots of a new sample and of a sample being read from a raw stream.
constexpr int32_t newCapacity = 32;
constexpr int32_t rawCapacity = 1024;
constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();

bool Present(const SAMPLE *sample) { return sample != nullptr && sample->values != nullptr; }

// Two's-complement wrap without signed overflow.
int32_t Wrap(uint32_t bits) { return static_cast<int32_t>(bits); }
uint32_t Bits(int32_t value) { return static_cast<uint32_t>(value); }

// Decimal digits of the magnitude of value (0 has one digit).
std::size_t DecimalDigits(int32_t value)
{
    uint32_t magnitude = value < 0 ? 0u - Bits(value) : Bits(value);
    std::size_t digits = 1;
    while (magnitude >= 10u) {
        magnitude /= 10u;
        ++digits;
    }
    return digits;
}

// Writes value in decimal at out and returns the position after it.
char *WriteDecimal(char *out, int32_t value)
{
    uint32_t magnitude = value < 0 ? 0u - Bits(value) : Bits(value);
    if (value < 0) {
        *out++ = '-';
    }
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0u);
    while (count > 0) {
        *out++ = digits[--count];
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips to the next '-' or digit and reads one value from there; false when the
// text ends first. A '-' without digits reads as 0; digits beyond 32 bits wrap.
bool ReadValue(const char *&cursor, int32_t &value)
{
    while (*cursor != '\0' && *cursor != '-' && !IsDigit(*cursor)) {
        ++cursor;
    }
    if (*cursor == '\0') {
        return false;
    }
    bool negative = false;
    if (*cursor == '-') {
        negative = true;
        ++cursor;
    }
    uint32_t magnitude = 0;
    while (IsDigit(*cursor)) {
        magnitude = magnitude * 10u + static_cast<uint32_t>(*cursor - '0');
        ++cursor;
    }
    value = Wrap(negative ? 0u - magnitude : magnitude);
    return true;
}

// Hands the array of donor to sample and releases the donor record alone.
void Adopt(SAMPLE *sample, SAMPLE *donor)
{
    delete[] sample->values;
    sample->values = donor->values;
    sample->capacity = donor->capacity;
    sample->length = donor->length;
    donor->values = nullptr;
    delete donor;
}

// A temporary sample of length values, or null.
SAMPLE *NewOfLength(int32_t length)
{
    SAMPLE *sample = SAMPLENew();
    if (sample != nullptr && SAMPLESetLength(sample, length) == nullptr) {
        SAMPLEFree(&sample);
    }
    return sample;
}

// Rotates left by k, already reduced to 0 <= k < length.
void RotateLeftBy(SAMPLE *sample, int32_t k)
{
    SAMPLE *rotated = NewOfLength(sample->length);
    if (rotated == nullptr) {
        SAMPLEError();
        return;
    }
    SAMPLEMove(sample, rotated, sample->length - k, k, 0);
    SAMPLEMove(sample, rotated, k, 0, sample->length - k);
    Adopt(sample, rotated);
}

// k modulo length in 0 .. length - 1, negative k included.
int32_t Modulo(int32_t k, int32_t length)
{
    int32_t r = k % length;
    return r < 0 ? r + length : r;
}

int32_t Clip(int32_t value, int32_t low, int32_t high) { return value < low ? low : (value > high ? high : value); }

bool WriteBytes(std::FILE *stream, uint32_t bits, int bytes, bool bigEndian)
{
    unsigned char out[4];
    for (int i = 0; i < bytes; ++i) {
        int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
        out[i] = static_cast<unsigned char>((bits >> shift) & 0xFFu);
    }
    return std::fwrite(out, 1, static_cast<std::size_t>(bytes), stream) == static_cast<std::size_t>(bytes);
}

}  // namespace

SAMPLE *SAMPLENew()
{
    SAMPLE *sample = new (std::nothrow) SAMPLE{};
    if (sample == nullptr) {
        SAMPLEError();
        return nullptr;
    }
    sample->length = 0;
    sample->capacity = 0;
    if (SAMPLEReserve(sample, newCapacity) == nullptr) {
        delete sample;
        return nullptr;
    }
    return sample;
}

void SAMPLEFree(SAMPLE **handle) { ModuleFreeOwning(handle, &SAMPLE::values, SAMPLEError); }

char *SAMPLEToASCII(const SAMPLE *sample)
{
    if (!Present(sample) || sample->length < 0) {
        SAMPLEError();
        return nullptr;
    }
    // Counted up front in size_t: "SAMPLE{", the length line, one line per value
    // (digits, sign, newline), "}\n" and the terminator.
    std::size_t size = 7 + 2 + 1;
    if (sample->length > 0) {
        size += DecimalDigits(sample->length) + 1;
    }
    for (int32_t i = 0; i < sample->length; ++i) {
        int32_t value = sample->values[i];
        size += DecimalDigits(value) + (value < 0 ? 1 : 0) + 1;
    }
    char *text = new (std::nothrow) char[size]();
    if (text == nullptr) {
        SAMPLEError();
        return nullptr;
    }
    char *out = text;
    std::memcpy(out, "SAMPLE{", 7);
    out += 7;
    if (sample->length > 0) {
        out = WriteDecimal(out, sample->length);
        *out++ = '\n';
    }
    for (int32_t i = 0; i < sample->length; ++i) {
        out = WriteDecimal(out, sample->values[i]);
        *out++ = '\n';
    }
    *out++ = '}';
    *out++ = '\n';
    *out = '\0';
    return text;
}

SAMPLE *SAMPLEFromASCII(const char *text)
{
    if (text == nullptr) {
        SAMPLEError();
        return nullptr;
    }
    const char *cursor = std::strstr(text, "SAMPLE");
    if (cursor != nullptr) {
        cursor = std::strchr(cursor + 6, '{');
    }
    if (cursor == nullptr) {
        SAMPLEError();
        return nullptr;
    }
    ++cursor;
    while (*cursor != '\0' && *cursor != '}' && !IsDigit(*cursor)) {
        ++cursor;
    }
    if (*cursor == '}') {
        return SAMPLENew();
    }
    if (*cursor == '\0') {
        SAMPLEError();
        return nullptr;
    }
    // The promised length: every value takes at least one character of the rest
    // of the text, so a length the text cannot hold is refused before allocating.
    uint64_t length = 0;
    while (IsDigit(*cursor) && length <= static_cast<uint64_t>(int32Max)) {
        length = length * 10u + static_cast<uint64_t>(*cursor - '0');
        ++cursor;
    }
    if (length > static_cast<uint64_t>(int32Max) || length > std::strlen(cursor)) {
        SAMPLEError();
        return nullptr;
    }
    SAMPLE *sample = SAMPLENew();
    if (sample == nullptr) {
        return nullptr;
    }
    int32_t count = static_cast<int32_t>(length);
    if (count > 0 && SAMPLEReserve(sample, count) == nullptr) {
        SAMPLEFree(&sample);
        return nullptr;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!ReadValue(cursor, sample->values[i])) {
            SAMPLEError();
            SAMPLEFree(&sample);
            return nullptr;
        }
    }
    sample->length = count;
    return sample;
}

bool SAMPLEEqual(const SAMPLE *a, const SAMPLE *b)
{
    if (!Present(a) || !Present(b) || a->length != b->length) {
        SAMPLEError();
        return false;
    }
    for (int32_t i = a->length - 1; i >= 0; --i) {
        if (a->values[i] != b->values[i]) {
            SAMPLEError();
            return false;
        }
    }
    return true;
}

SAMPLE *SAMPLECopy(const SAMPLE *sample)
{
    if (!Present(sample) || sample->length < 0) {
        SAMPLEError();
        return nullptr;
    }
    SAMPLE *copy = SAMPLENew();
    if (copy == nullptr) {
        return nullptr;
    }
    // An empty source reserves 0, which is refused: the copy keeps its 32 slots.
    if (SAMPLEReserve(copy, sample->length) == nullptr && sample->length > 0) {
        SAMPLEFree(&copy);
        return nullptr;
    }
    if (sample->length > 0) {
        std::memcpy(copy->values, sample->values, static_cast<std::size_t>(sample->length) * sizeof(int32_t));
    }
    copy->length = sample->length;
    return copy;
}

SAMPLE *SAMPLEReserve(SAMPLE *sample, int32_t n)
{
    if (sample == nullptr || n < 1) {
        SAMPLEError();
        return nullptr;
    }
    int32_t *values = new (std::nothrow) int32_t[static_cast<std::size_t>(n)]();
    if (values == nullptr) {
        SAMPLEError();
        return nullptr;
    }
    if (sample->length > n) {
        sample->length = n;
    }
    if (sample->values != nullptr && sample->length > 0) {
        std::memcpy(values, sample->values, static_cast<std::size_t>(sample->length) * sizeof(int32_t));
    }
    delete[] sample->values;
    sample->values = values;
    sample->capacity = n;
    return sample;
}

SAMPLE *SAMPLESetLength(SAMPLE *sample, int32_t n)
{
    if (sample == nullptr || n < 0) {
        SAMPLEError();
        return nullptr;
    }
    if (sample->capacity < n && SAMPLEReserve(sample, n) == nullptr) {
        return nullptr;
    }
    sample->length = n;
    return sample;
}

int32_t SAMPLEGet(const SAMPLE *sample, int32_t index)
{
    if (!Present(sample) || index < 0 || index >= sample->length) {
        SAMPLEError();
        return 0;
    }
    return sample->values[index];
}

int32_t SAMPLESet(SAMPLE *sample, int32_t value, int32_t index)
{
    if (!Present(sample) || index < 0 || index >= sample->length) {
        SAMPLEError();
        return 0;
    }
    sample->values[index] = value;
    return value;
}

int32_t SAMPLEInsert(SAMPLE *sample, int32_t value, int32_t index)
{
    if (!Present(sample) || index < 0 || index > sample->length) {
        SAMPLEError();
        return 0;
    }
    if (sample->length >= sample->capacity) {
        if (sample->capacity >= int32Max) {
            SAMPLEError();
            return 0;
        }
        int64_t doubled = 2 * static_cast<int64_t>(sample->capacity);
        int32_t grown = doubled > int32Max ? int32Max : (doubled < 1 ? 1 : static_cast<int32_t>(doubled));
        if (SAMPLEReserve(sample, grown) == nullptr) {
            return 0;
        }
    }
    std::memmove(sample->values + index + 1, sample->values + index,
                 static_cast<std::size_t>(sample->length - index) * sizeof(int32_t));
    sample->values[index] = value;
    sample->length += 1;
    return value;
}

int32_t SAMPLERemove(SAMPLE *sample, int32_t index)
{
    if (!Present(sample) || index < 0 || index >= sample->length) {
        SAMPLEError();
        return 0;
    }
    std::memmove(sample->values + index, sample->values + index + 1,
                 static_cast<std::size_t>(sample->length - index - 1) * sizeof(int32_t));
    sample->length -= 1;
    return sample->length;
}

int32_t SAMPLEFind(const SAMPLE *sample, int32_t value, int32_t start)
{
    if (!Present(sample) || start < 0 || start >= sample->length) {
        SAMPLEError();
        return -1;
    }
    for (int32_t i = start; i < sample->length; ++i) {
        if (sample->values[i] == value) {
            return i;
        }
    }
    return -1;
}

void SAMPLEMove(const SAMPLE *source, SAMPLE *destination, int32_t count, int32_t from, int32_t to)
{
    if (!Present(source) || !Present(destination) || count < 0 || from < 0 || to < 0 ||
        static_cast<int64_t>(source->length) < static_cast<int64_t>(count) + from ||
        static_cast<int64_t>(destination->length) < static_cast<int64_t>(count) + to) {
        SAMPLEError();
        return;
    }
    // memmove copies backwards exactly when an overlapping run moves up, so a run
    // moved within one sample arrives intact in either direction.
    if (count > 0) {
        std::memmove(destination->values + to, source->values + from,
                     static_cast<std::size_t>(count) * sizeof(int32_t));
    }
}

void SAMPLEClear(SAMPLE *sample)
{
    if (!Present(sample)) {
        SAMPLEError();
        return;
    }
    for (int32_t i = 0; i < sample->length; ++i) {
        sample->values[i] = 0;
    }
}

void SAMPLEAdd(SAMPLE *a, const SAMPLE *b)
{
    if (!Present(a) || !Present(b)) {
        SAMPLEError();
        return;
    }
    int32_t count = a->length < b->length ? a->length : b->length;
    for (int32_t i = 0; i < count; ++i) {
        a->values[i] = Wrap(Bits(a->values[i]) + Bits(b->values[i]));
    }
}

void SAMPLEMultiply(SAMPLE *a, const SAMPLE *b)
{
    if (!Present(a) || !Present(b)) {
        SAMPLEError();
        return;
    }
    int32_t count = a->length < b->length ? a->length : b->length;
    for (int32_t i = 0; i < count; ++i) {
        a->values[i] = Wrap(Bits(a->values[i]) * Bits(b->values[i]));
    }
}

void SAMPLEScale(SAMPLE *sample, int32_t factor)
{
    if (!Present(sample)) {
        SAMPLEError();
        return;
    }
    for (int32_t i = 0; i < sample->length; ++i) {
        sample->values[i] = Wrap(Bits(sample->values[i]) * Bits(factor));
    }
}

void SAMPLEShiftLeft(SAMPLE *sample, int32_t n)
{
    if (!Present(sample) || n < 0 || n > 32) {
        SAMPLEError();
        return;
    }
    int shift = n % 32;
    for (int32_t i = 0; i < sample->length; ++i) {
        sample->values[i] = Wrap(Bits(sample->values[i]) << shift);
    }
}

void SAMPLEShiftRight(SAMPLE *sample, int32_t n)
{
    if (!Present(sample) || n < 0 || n > 32) {
        SAMPLEError();
        return;
    }
    int shift = n % 32;
    for (int32_t i = 0; i < sample->length; ++i) {
        sample->values[i] >>= shift;  // arithmetic in C++20: rounds towards minus infinity
    }
}

int32_t SAMPLEMin(const SAMPLE *sample)
{
    if (!Present(sample) || sample->length < 1) {
        SAMPLEError();
        return 0;
    }
    int32_t low = sample->values[0];
    for (int32_t i = 1; i < sample->length; ++i) {
        low = sample->values[i] < low ? sample->values[i] : low;
    }
    return low;
}

int32_t SAMPLEMax(const SAMPLE *sample)
{
    if (!Present(sample) || sample->length < 1) {
        SAMPLEError();
        return 0;
    }
    int32_t high = sample->values[0];
    for (int32_t i = 1; i < sample->length; ++i) {
        high = sample->values[i] > high ? sample->values[i] : high;
    }
    return high;
}

void SAMPLEReverse(SAMPLE *sample)
{
    if (!Present(sample)) {
        SAMPLEError();
        return;
    }
    for (int32_t i = 0, j = sample->length - 1; i < j; ++i, --j) {
        int32_t value = sample->values[i];
        sample->values[i] = sample->values[j];
        sample->values[j] = value;
    }
}

void SAMPLERotateLeft(SAMPLE *sample, int32_t k)
{
    if (!Present(sample) || sample->length < 1) {
        SAMPLEError();
        return;
    }
    RotateLeftBy(sample, Modulo(k, sample->length));
}

void SAMPLERotateRight(SAMPLE *sample, int32_t k)
{
    if (!Present(sample) || sample->length < 1) {
        SAMPLEError();
        return;
    }
    int32_t right = Modulo(k, sample->length);
    RotateLeftBy(sample, right == 0 ? 0 : sample->length - right);
}

void SAMPLEInsertSample(SAMPLE *target, const SAMPLE *source, int32_t at)
{
    if (!Present(target) || !Present(source) || at < 0 || at > target->length ||
        static_cast<int64_t>(target->length) + source->length > int32Max) {
        SAMPLEError();
        return;
    }
    // Inserting a sample into itself reads from a copy taken before the growth.
    SAMPLE *own = nullptr;
    if (source == target) {
        own = SAMPLECopy(source);
        if (own == nullptr) {
            return;
        }
        source = own;
    }
    int32_t oldLength = target->length;
    int32_t total = oldLength + source->length;
    if (total > 0 && (SAMPLEReserve(target, total) == nullptr)) {
        if (own != nullptr) {
            SAMPLEFree(&own);
        }
        return;
    }
    target->length = total;
    SAMPLEMove(target, target, oldLength - at, at, at + source->length);
    SAMPLEMove(source, target, source->length, 0, at);
    if (own != nullptr) {
        SAMPLEFree(&own);
    }
}

SAMPLE *SAMPLESub(const SAMPLE *sample, int32_t from, int32_t to)
{
    if (!Present(sample) || from > to) {
        SAMPLEError();
        return nullptr;
    }
    if (to > sample->length) {
        to = sample->length;
    }
    if (from < 0) {
        from = 0;
    }
    int32_t count = to > from ? to - from : 0;
    SAMPLE *sub = SAMPLENew();
    if (sub == nullptr) {
        return nullptr;
    }
    if (count > 0) {
        if (SAMPLESetLength(sub, count) == nullptr) {
            SAMPLEFree(&sub);
            return nullptr;
        }
        SAMPLEMove(sample, sub, count, from, 0);
    }
    return sub;
}

int32_t SAMPLEResample(SAMPLE *sample, int32_t n)
{
    if (!Present(sample) || n < 1 || n == sample->length || sample->length < 1) {
        SAMPLEError();
        return 0;
    }
    int32_t *values = new (std::nothrow) int32_t[static_cast<std::size_t>(n)]();
    if (values == nullptr) {
        SAMPLEError();
        return 0;
    }
    // Integer error stepping, no interpolation; the error term runs in 64 bits so
    // that lengths near the 32-bit limit cannot overflow it.
    const int64_t m = sample->length;
    if (n < m) {
        int64_t e = n - m;
        int32_t out = 0;
        for (int64_t i = 0; i < m; ++i) {
            if (e >= 0) {
                e -= m;
                if (out < n) {
                    values[out++] = sample->values[i];
                }
            }
            e += n;
        }
    } else {
        int64_t e = m - n;
        int64_t j = 0;
        for (int64_t i = 0; i < n; ++i) {
            if (e > 0) {
                e -= n;
                if (j < m - 1) {
                    ++j;
                }
            }
            values[i] = sample->values[j];
            e += m;
        }
    }
    delete[] sample->values;
    sample->values = values;
    sample->length = n;
    sample->capacity = n;
    return n;
}

void SAMPLENormalize(SAMPLE *sample, int32_t low, int32_t high)
{
    if (!Present(sample) || sample->length < 1) {
        SAMPLEError();
        return;
    }
    const int64_t lo = SAMPLEMin(sample);
    const int64_t hi = SAMPLEMax(sample);
    if (hi == lo) {
        for (int32_t i = 0; i < sample->length; ++i) {
            sample->values[i] = low;
        }
        return;
    }
    // value' = low + floor((value - lo) x (high - low) / (hi - lo)). Both factors
    // reach 2^32 - 1, so the product needs more than 64 bits; it is split as
    // (value - lo) x (q x span + r) with q, r the quotient and remainder of
    // (high - low) by span, which keeps every term inside 64 bits.
    const int64_t span = hi - lo;
    const int64_t range = static_cast<int64_t>(high) - low;
    const bool negative = range < 0;
    const uint64_t magnitude = static_cast<uint64_t>(negative ? -range : range);
    const uint64_t q = magnitude / static_cast<uint64_t>(span);
    const uint64_t r = magnitude % static_cast<uint64_t>(span);
    for (int32_t i = 0; i < sample->length; ++i) {
        const uint64_t offset = static_cast<uint64_t>(sample->values[i] - lo);
        const uint64_t whole = offset * q;                            // <= magnitude < 2^33
        const uint64_t product = offset * r;                          // < span^2 < 2^64
        const uint64_t part = product / static_cast<uint64_t>(span);  // < span
        const bool exact = product % static_cast<uint64_t>(span) == 0;
        int64_t step = static_cast<int64_t>(whole + part);
        if (negative) {
            step = exact ? -step : -step - 1;  // floor of a negative quotient
        }
        sample->values[i] = static_cast<int32_t>(low + step);
    }
}

int32_t SAMPLEMatch(const SAMPLE *a, const SAMPLE *b, int32_t offset)
{
    if (!Present(a) || !Present(b) || static_cast<int64_t>(offset) < 1 - static_cast<int64_t>(b->length) ||
        offset >= a->length) {
        SAMPLEError();
        return 0;
    }
    int32_t startA = offset < 0 ? 0 : offset;
    int32_t startB = offset < 0 ? -offset : 0;
    int32_t count = 0;
    for (int32_t i = startA, k = startB; i < a->length && k < b->length; ++i, ++k) {
        count += a->values[i] == b->values[k] ? 1 : 0;
    }
    return count;
}

int32_t SAMPLEBestMatch(const SAMPLE *a, const SAMPLE *b)
{
    if (!Present(a) || !Present(b)) {
        SAMPLEError();
        return 0;
    }
    int32_t best = -b->length;
    int32_t bestCount = 0;
    for (int64_t offset = 1 - static_cast<int64_t>(b->length); offset < a->length; ++offset) {
        int32_t count = SAMPLEMatch(a, b, static_cast<int32_t>(offset));
        if (count > bestCount) {
            bestCount = count;
            best = static_cast<int32_t>(offset);
        }
    }
    return best;
}

SAMPLE *SAMPLEReadRaw(std::FILE *stream, int32_t width, char order, char signedness)
{
    if (stream == nullptr || (width != 8 && width != 16) || (order != 'b' && order != 'l') ||
        (signedness != 's' && signedness != 'u')) {
        SAMPLEError();
        return nullptr;
    }
    SAMPLE *sample = SAMPLENew();
    if (sample == nullptr || SAMPLEReserve(sample, rawCapacity) == nullptr) {
        if (sample != nullptr) {
            SAMPLEFree(&sample);
        }
        return nullptr;
    }
    const bool isSigned = signedness == 's';
    const int bytes = width / 8;
    for (;;) {
        int first = std::fgetc(stream);
        if (first == EOF) {
            break;
        }
        int32_t value = 0;
        if (bytes == 1) {
            value = isSigned ? static_cast<int8_t>(first) * 256 : first * 256 - 0x8000;
        } else {
            int second = std::fgetc(stream);
            if (second == EOF) {
                break;  // a last odd byte is dropped
            }
            int word = order == 'b' ? (first << 8) | second : (second << 8) | first;
            value = isSigned ? static_cast<int16_t>(word) : word - 0x8000;
        }
        if (sample->length >= sample->capacity) {
            if (sample->capacity >= int32Max) {
                SAMPLEError();
                SAMPLEFree(&sample);
                return nullptr;
            }
            int64_t doubled = 2 * static_cast<int64_t>(sample->capacity);
            if (SAMPLEReserve(sample, doubled > int32Max ? int32Max : static_cast<int32_t>(doubled)) == nullptr) {
                SAMPLEFree(&sample);
                return nullptr;
            }
        }
        sample->values[sample->length++] = value;
    }
    return sample;
}

int32_t SAMPLEWriteRaw(const SAMPLE *sample, std::FILE *stream, int32_t width, char order)
{
    if (!Present(sample) || stream == nullptr) {
        SAMPLEError();
        return 0;
    }
    const bool bigEndian = order == 'b';
    int bytes = 2;
    int32_t low = -32768;
    int32_t high = 32767;
    if (width == 8) {
        bytes = 1;
        low = -128;
        high = 127;
    } else if (width == 24) {
        bytes = 3;
        low = -8388608;
        high = 8388607;
    } else if (width == 32) {
        bytes = 4;
        low = int32Min + 1;
        high = int32Max;
    }
    int32_t written = 0;
    for (int32_t i = 0; i < sample->length; ++i) {
        if (!WriteBytes(stream, Bits(Clip(sample->values[i], low, high)), bytes, bigEndian)) {
            SAMPLEError();
            break;
        }
        ++written;
    }
    return written;
}

SAMPLE *SAMPLEFromNumbers(const char *text)
{
    if (text == nullptr) {
        SAMPLEError();
        return nullptr;
    }
    SAMPLE *sample = SAMPLENew();
    if (sample == nullptr) {
        return nullptr;
    }
    const char *cursor = text;
    int32_t value = 0;
    while (ReadValue(cursor, value)) {
        int32_t before = sample->length;
        SAMPLEInsert(sample, value, before);
        if (sample->length == before) {  // out of memory: no partly read result
            SAMPLEFree(&sample);
            return nullptr;
        }
    }
    return sample;
}

void SAMPLEError() { ModuleReport(sampleReporting, "SAMPLE error\n"); }
