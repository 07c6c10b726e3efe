// FNV-1a (64 bits): the hash the demo tests record and the capture tool's
// --hashes writes, over bytes or over 32-bit words taken low byte first.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint64_t fnvOffsetBasis = 14695981039346656037ull;
inline constexpr uint64_t fnvPrime = 1099511628211ull;

inline uint64_t HashBytes(const uint8_t *bytes, size_t count, uint64_t h = fnvOffsetBasis)
{
    for (size_t i = 0; i < count; ++i) {
        h = (h ^ bytes[i]) * fnvPrime;
    }
    return h;
}

inline uint64_t HashWords(const void *words, int32_t count, uint64_t h = fnvOffsetBasis)
{
    for (int32_t i = 0; i < count; ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            h = (h ^ ((static_cast<const uint32_t *>(words)[i] >> shift) & 0xFFu)) * fnvPrime;
        }
    }
    return h;
}
