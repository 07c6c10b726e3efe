// End to end through SDL's real device path: the disk audio driver writes what
// the device plays to a file, which must hold the queued values, each twice (the
// device is stereo). SDL widens mono to stereo through floating point, scaling
// by 32767/32768 and rounding, so values within +-16000 arrive exactly and
// full-scale values within one step. Runs as its own executable because it sets
// the audio driver for the whole process.
#include <gtest/gtest.h>

#include "audio/sdlsnd.h"

#include <unistd.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// A magnitude that SDL's mono-to-stereo conversion passes unchanged (its
// rescaling error stays clear of one half step up to here).
constexpr int32_t exactLimit = 16000;

SAMPLE *Tone(int32_t length, int32_t step, int32_t peak)
{
    SAMPLE *sample = SAMPLENew();
    SAMPLESetLength(sample, length);
    for (int32_t i = 0; i < length; ++i) {
        int32_t value = (i * step) % (2 * peak + 1) - peak;
        sample->values[i] = value == 0 ? 1 : value;  // never 0, so silence marks the edges
    }
    return sample;
}

std::vector<int16_t> ReadFile(const std::string &path)
{
    std::vector<int16_t> words;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return words;
    }
    unsigned char pair[2];
    while (std::fread(pair, 1, 2, file) == 2) {
        words.push_back(static_cast<int16_t>(static_cast<uint16_t>(pair[0] | (pair[1] << 8))));
    }
    std::fclose(file);
    return words;
}

}  // namespace

TEST(SDLSNDDevice, DiskDriverFileHoldsExactlyTheQueuedValues)
{
    const std::string path = "/tmp/zolt-audio-disk-" + std::to_string(getpid()) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);

    SAMPLE *first = Tone(5000, 7919, exactLimit);
    SAMPLE *second = Tone(3000, 104729, 32767);
    SAMPLESet(second, 32768, 10);  // wraps on its way to the device
    SAMPLESet(second, -32768, 11);
    SAMPLESet(second, 32767, 12);

    SDLSND *sound = SDLSNDNew();
    ASSERT_NE(sound, nullptr);
    // Muted while queueing, so the three samples reach the device back to back.
    SDLSNDLock(sound);
    sound->mute = 1;
    SDLSNDUnlock(sound);
    SDLSNDPlaySAMPLE(sound, first);
    SDLSNDPlaySAMPLE(sound, second);
    SDLSNDPlaySAMPLE(sound, first);
    SDLSNDLock(sound);
    sound->mute = 0;
    SDLSNDUnlock(sound);
    for (int wait = 0; wait < 500 && SDLSNDWaiting(sound) > 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(SDLSNDWaiting(sound), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // let the last buffer reach the file
    SDLSNDFree(&sound);

    std::vector<int32_t> expected;
    for (const SAMPLE *sample : {first, second, first}) {
        for (int32_t i = 0; i < sample->length; ++i) {
            expected.push_back(static_cast<int16_t>(static_cast<uint16_t>(sample->values[i] & 0xFFFF)));
        }
    }
    const std::vector<int16_t> words = ReadFile(path);
    if (std::getenv("ZOLT_KEEP") == nullptr) std::remove(path.c_str());
    ASSERT_EQ(words.size() % 2, 0u);
    std::vector<int32_t> played;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        ASSERT_EQ(words[i], words[i + 1]) << "left and right differ at frame " << i / 2;
        played.push_back(words[i]);
    }
    std::size_t begin = 0;
    while (begin < played.size() && played[begin] == 0) {
        ++begin;
    }
    std::size_t end = played.size();
    while (end > begin && played[end - 1] == 0) {
        --end;
    }
    const std::vector<int32_t> heard(played.begin() + static_cast<std::ptrdiff_t>(begin),
                                     played.begin() + static_cast<std::ptrdiff_t>(end));
    ASSERT_EQ(heard.size(), expected.size());
    int32_t mismatches = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int32_t want = expected[i];
        const int32_t slack = want >= -exactLimit && want <= exactLimit ? 0 : 1;
        if (heard[i] < want - slack || heard[i] > want + slack) {
            if (++mismatches <= 5) {
                ADD_FAILURE() << "value " << i << ": queued " << want << ", device played " << heard[i];
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(expected[5010], -32768);  // 32768 wrapped before it reached SDL
    EXPECT_LE(heard[5010], -32767);
    SAMPLEFree(&first);
    SAMPLEFree(&second);
}
