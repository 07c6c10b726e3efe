// The libFuzzer entry of one reader harness; ZOLT_FUZZ_TARGET names it.
#include <cstddef>
#include <cstdint>

#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    return fuzz::ZOLT_FUZZ_TARGET(data, size);
}
