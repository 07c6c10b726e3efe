// The music rewriting its output loop on the main thread while SDL's audio
// thread plays it: the pairing the thread sanitizer build is there to check.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "audio/music.h"
#include "audio/sample.h"
#include "audio/sdlsnd.h"

namespace {

TEST(AudioThreads, MusicRewritesWhilePlaying)
{
    SDLSND *sound = SDLSNDNew();
    if (sound == nullptr) {
        GTEST_SKIP() << "no audio device (not even SDL's dummy driver)";
    }
    MUSIC *music = MUSICNew();
    ASSERT_NE(music, nullptr);
    music->guard = {SDLSNDLock, SDLSNDUnlock, sound};
    SAMPLE *clip = SAMPLENew();
    SAMPLESetLength(clip, 2000);
    for (int32_t i = 0; i < clip->length; ++i) {
        clip->values[i] = (i % 200) * 100 - 10000;
    }
    MUSICAdd(music, clip);

    // Every update mixes, so each one rewrites the loop that the callback reads,
    // and the queue is topped up the way the frame cycle does it.
    music->period = 1;
    // Long enough for the callback to play out more than one 37000-value loop.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(2000);
    int32_t updates = 0;
    int32_t queued = 0;
    while (std::chrono::steady_clock::now() < end) {
        MUSICUpdate(music);
        if (SDLSNDWaiting(sound) < 4) {
            SDLSNDPlaySAMPLE(sound, music->output);
            ++queued;
        }
        ++updates;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GT(updates, 0);
    EXPECT_GT(queued, 4) << "the audio thread never finished playing a loop";
    // The output goes first: the queue still points at the music's loop.
    SDLSNDFree(&sound);
    MUSICFree(&music);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(music, nullptr);
}

}  // namespace
