#include "gfx/random.h"

namespace {

// Unsigned arithmetic: the multiplication wraps modulo 2^32 by definition.
uint32_t state = randomSeed;

}  // namespace

void RANDOMSeed(uint32_t seed) { state = seed; }

int32_t RANDOMNext()
{
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
}

uint32_t RANDOMState() { return state; }

void RANDOMSkip(int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        RANDOMNext();
    }
}
