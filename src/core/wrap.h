// Integer sums and products that wrap modulo 2^32 instead of overflowing:
// phases, pens and coordinates that run on for ever. Computed in unsigned
// arithmetic, where wrapping is defined.
#pragma once

#include <cstdint>

constexpr int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t WrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
