#include <gtest/gtest.h>

#include "audio/sdlsnd.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr uint8_t untouched = 0xAA;
constexpr int bufferBytes = 2 * sdlsndBufferValues;

// A sound output record with a queue but no device: the callback is driven by hand.
struct Bench {
    SDLSND sound{};
    Bench() { sound.queue = LISTNew(); }
    ~Bench() { LISTFree(&sound.queue); }
    Bench(const Bench &) = delete;
    Bench &operator=(const Bench &) = delete;

    std::vector<uint8_t> Call(int len)
    {
        std::vector<uint8_t> bytes(static_cast<std::size_t>(len > 0 ? len : 1), untouched);
        SDLSNDCallback(&sound, bytes.data(), len);
        return bytes;
    }
};

SAMPLE *Ramp(int32_t length, int32_t first)
{
    SAMPLE *sample = SAMPLENew();
    SAMPLESetLength(sample, length);
    for (int32_t i = 0; i < length; ++i) {
        sample->values[i] = first + i;
    }
    return sample;
}

// The signed 16-bit value the callback wrote at value index i.
int32_t At(const std::vector<uint8_t> &bytes, int32_t i)
{
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
}

// Devices without hardware, unless the environment already names drivers.
void UseDummyDrivers()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
}

}  // namespace

TEST(SDLSNDCallback, EmptyQueueAndBadArgumentsLeaveTheBufferAlone)
{
    Bench bench;
    for (uint8_t byte : bench.Call(bufferBytes)) {
        ASSERT_EQ(byte, untouched);
    }
    SAMPLE *sample = Ramp(10, 1);
    SDLSNDPlaySAMPLE(&bench.sound, sample);
    std::vector<uint8_t> bytes(8, untouched);
    SDLSNDCallback(nullptr, bytes.data(), 8);
    SDLSNDCallback(&bench.sound, nullptr, 8);
    SDLSNDCallback(&bench.sound, bytes.data(), 0);
    SDLSNDCallback(&bench.sound, bytes.data(), -2);
    EXPECT_EQ(bytes, std::vector<uint8_t>(8, untouched));
    EXPECT_EQ(bench.sound.queue->count, 1);
    EXPECT_EQ(bench.sound.position, 0);
    SAMPLEFree(&sample);
}

TEST(SDLSNDCallback, MuteWritesSilenceAndKeepsThePlace)
{
    Bench bench;
    SAMPLE *sample = Ramp(10, 1);
    SDLSNDPlaySAMPLE(&bench.sound, sample);
    bench.Call(4);
    EXPECT_EQ(bench.sound.position, 2);
    bench.sound.mute = 1;
    EXPECT_EQ(bench.Call(7), std::vector<uint8_t>(7, 0));
    EXPECT_EQ(bench.Call(1), std::vector<uint8_t>(1, 0));
    EXPECT_EQ(bench.sound.queue->count, 1);
    EXPECT_EQ(bench.sound.position, 2);
    bench.sound.mute = 0;
    EXPECT_EQ(At(bench.Call(2), 0), 3);
    SAMPLEFree(&sample);
}

TEST(SDLSNDCallback, LongSampleSpansBuffersAndTheNextFollowsWithoutAGap)
{
    Bench bench;
    SAMPLE *loop = SAMPLENew();
    SAMPLESetLength(loop, 37000);
    for (int32_t i = 0; i < 37000; ++i) {
        loop->values[i] = i % 30000 + 1;
    }
    SAMPLE *next = Ramp(5000, -20000);
    SDLSNDPlaySAMPLE(&bench.sound, loop);
    SDLSNDPlaySAMPLE(&bench.sound, next);
    for (int32_t call = 0; call < 9; ++call) {
        std::vector<uint8_t> bytes = bench.Call(bufferBytes);
        EXPECT_EQ(At(bytes, 0), (call * 4096) % 30000 + 1);
        EXPECT_EQ(At(bytes, 4095), (call * 4096 + 4095) % 30000 + 1);
    }
    EXPECT_EQ(bench.sound.position, 36864);
    EXPECT_EQ(bench.sound.queue->count, 2);
    std::vector<uint8_t> tenth = bench.Call(bufferBytes);
    EXPECT_EQ(At(tenth, 135), 36999 % 30000 + 1);
    EXPECT_EQ(At(tenth, 136), -20000);
    EXPECT_EQ(At(tenth, 4095), -20000 + 4095 - 136);
    EXPECT_EQ(bench.sound.queue->count, 1);
    EXPECT_EQ(LISTGet(bench.sound.queue, 0), next);
    EXPECT_EQ(bench.sound.position, 4096 - 136);
    SAMPLEFree(&loop);
    SAMPLEFree(&next);
}

TEST(SDLSNDCallback, SameSampleQueuedFourTimesPlaysFourTimes)
{
    Bench bench;
    SAMPLE *sample = Ramp(3, 7);
    for (int i = 0; i < 4; ++i) {
        SDLSNDPlaySAMPLE(&bench.sound, sample);
    }
    std::vector<uint8_t> bytes = bench.Call(2 * 14);
    std::vector<int32_t> played;
    for (int32_t i = 0; i < 12; ++i) {
        played.push_back(At(bytes, i));
    }
    EXPECT_EQ(played, (std::vector<int32_t>{7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9}));
    EXPECT_EQ(bytes[24], untouched);  // drained after 12 values
    EXPECT_EQ(bytes[27], untouched);
    EXPECT_EQ(bench.sound.queue->count, 0);
    SAMPLEFree(&sample);
}

TEST(SDLSNDCallback, ValuesWrapToSixteenBitsLeastSignificantByteFirst)
{
    Bench bench;
    SAMPLE *sample = SAMPLENew();
    for (int32_t value : {32768, -1, 0x12345, -32768}) {
        SAMPLEInsert(sample, value, sample->length);
    }
    SDLSNDPlaySAMPLE(&bench.sound, sample);
    EXPECT_EQ(bench.Call(8), (std::vector<uint8_t>{0x00, 0x80, 0xFF, 0xFF, 0x45, 0x23, 0x00, 0x80}));
    SAMPLEFree(&sample);
}

TEST(SDLSNDCallback, OddByteCountLeavesTheLastByteUnwritten)
{
    Bench bench;
    SAMPLE *sample = Ramp(10, 0x0101);
    SDLSNDPlaySAMPLE(&bench.sound, sample);
    std::vector<uint8_t> bytes = bench.Call(5);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x01, 0x01, 0x02, 0x01, untouched}));
    EXPECT_EQ(bench.sound.position, 2);
    SAMPLEFree(&sample);
}

TEST(SDLSNDCallback, DryQueueMidBufferThenTheNextSampleStartsAtItsFirstValue)
{
    Bench bench;
    SAMPLE *first = Ramp(3, 100);
    SAMPLE *second = Ramp(3, 200);
    SAMPLE *empty = SAMPLENew();
    SDLSNDPlaySAMPLE(&bench.sound, first);
    std::vector<uint8_t> bytes = bench.Call(12);
    EXPECT_EQ(At(bytes, 2), 102);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 6, bytes.end()), std::vector<uint8_t>(6, untouched));
    EXPECT_EQ(bench.Call(4), std::vector<uint8_t>(4, untouched));  // underflow
    SDLSNDPlaySAMPLE(&bench.sound, empty);                         // nothing to play: passed over
    SDLSNDPlaySAMPLE(&bench.sound, second);
    bytes = bench.Call(4);
    EXPECT_EQ(At(bytes, 0), 200);
    EXPECT_EQ(At(bytes, 1), 201);
    EXPECT_EQ(At(bench.Call(2), 0), 202);
    EXPECT_EQ(bench.sound.queue->count, 0);  // dropped as soon as its last value is played
    SDLSNDPlaySAMPLE(&bench.sound, first);
    LISTAppend(bench.sound.queue, nullptr);  // a null entry plays as silence
    EXPECT_EQ(bench.Call(8), (std::vector<uint8_t>{100, 0, 101, 0, 102, 0, 0, 0}));
    SAMPLEFree(&first);
    SAMPLEFree(&second);
    SAMPLEFree(&empty);
}

TEST(SDLSNDPlaySAMPLE, NullArgumentsDoNothingAndAMissingQueueIsMade)
{
    SDLSND sound{};
    SAMPLE *sample = Ramp(2, 1);
    SDLSNDPlaySAMPLE(&sound, nullptr);
    EXPECT_EQ(sound.queue, nullptr);
    SDLSNDPlaySAMPLE(nullptr, sample);
    SDLSNDPlaySAMPLE(&sound, sample);
    ASSERT_NE(sound.queue, nullptr);
    EXPECT_EQ(SDLSNDWaiting(&sound), 1);
    EXPECT_EQ(SDLSNDWaiting(nullptr), 0);
    LISTFree(&sound.queue);
    SAMPLEFree(&sample);
}

TEST(SDLSND, PlaceholdersAndNullRecords)
{
    SDLSND a{};
    SDLSND b{};
    ASSERT_NE(SDLSNDToASCII(&a), nullptr);
    EXPECT_STREQ(SDLSNDToASCII(&a), "");
    EXPECT_EQ(SDLSNDToASCII(nullptr), nullptr);
    EXPECT_EQ(SDLSNDFromASCII("x"), nullptr);
    EXPECT_TRUE(SDLSNDEqual(&a, &b));
    EXPECT_FALSE(SDLSNDEqual(&a, nullptr));
    EXPECT_EQ(SDLSNDCopy(&a), nullptr);
    SDLSNDPlay(nullptr);
    SDLSNDFree(nullptr);
    SDLSND *none = nullptr;
    SDLSNDFree(&none);
}

TEST(SDLSNDNew, OpensTheDeviceAndPlaysTheQueueOnTheAudioThread)
{
    UseDummyDrivers();
    SDLSND *sound = SDLSNDNew();
    ASSERT_NE(sound, nullptr) << "no audio device";
    EXPECT_EQ(sound->rate, 44100);
    EXPECT_EQ(sound->resolution, 16);
    EXPECT_EQ(sound->sign, 's');
    EXPECT_EQ(sound->order, 'l');
    EXPECT_EQ(sound->mute, 0);
    EXPECT_EQ(sound->buffer, nullptr);
    EXPECT_EQ(SDLSNDNew(), nullptr);  // SDL opens one device at a time: nothing made, nothing left behind
    SAMPLE *sample = Ramp(1000, 1);
    SDLSNDPlaySAMPLE(sound, sample);
    SDLSNDPlaySAMPLE(sound, sample);
    // Each callback takes about 93 ms of sound; give the audio thread up to 5 s.
    for (int wait = 0; wait < 500 && SDLSNDWaiting(sound) > 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(SDLSNDWaiting(sound), 0);
    SDLSNDFree(&sound);
    EXPECT_EQ(sound, nullptr);
    SAMPLEFree(&sample);
}
