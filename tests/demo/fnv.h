// FNV-1a over 32-bit words, low byte first: the hash the demo tests record.
#pragma once

#include <cstdint>

inline constexpr uint64_t fnvOffsetBasis = 14695981039346656037ull;

inline uint64_t HashWords(const void *words, int32_t count, uint64_t h = fnvOffsetBasis)
{
    for (int32_t i = 0; i < count; ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            h = (h ^ ((static_cast<const uint32_t *>(words)[i] >> shift) & 0xFFu)) * 1099511628211ull;
        }
    }
    return h;
}
