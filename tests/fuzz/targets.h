// The reader harnesses: one entry per reader that takes outside data. Each takes
// arbitrary bytes, runs the reader on them, checks what it can about the result
// (sizes against the data, round trips through the text forms) and releases
// everything. A broken expectation aborts, so both libFuzzer and the corpus
// replay test see it as a crash.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

using Target = int (*)(const uint8_t *data, std::size_t size);

int IMGParsePNM(const uint8_t *data, std::size_t size);
int IMGLoadPNM(const uint8_t *data, std::size_t size);
int IMGFromASCII(const uint8_t *data, std::size_t size);
int IMGFXFromASCII(const uint8_t *data, std::size_t size);
int OBJ2DParse(const uint8_t *data, std::size_t size);
int SAMPLEFromASCII(const uint8_t *data, std::size_t size);
int SAMPLEReadRaw(const uint8_t *data, std::size_t size);

struct Entry {
    const char *name;  // also the corpus folder under tests/fuzz/corpus/
    Target run;
};

inline constexpr Entry targets[] = {
    {"IMGParsePNM", IMGParsePNM},       {"IMGLoadPNM", IMGLoadPNM}, {"IMGFromASCII", IMGFromASCII},
    {"IMGFXFromASCII", IMGFXFromASCII}, {"OBJ2DParse", OBJ2DParse}, {"SAMPLEFromASCII", SAMPLEFromASCII},
    {"SAMPLEReadRaw", SAMPLEReadRaw},
};

}  // namespace fuzz
