// The show's clock, and when the music starts.
#include "engine/Demo.h"
#include "platform/Clock.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

TEST(Clock, MillisecondsTruncateTowardZeroIn64Bits) {
    const int64_t ns = 1000000000; // a nanosecond counter
    const struct {
        int64_t base, now, frequency;
        int ms;
    } rows[] = {{0, 0, 1000000, 0},
                {100, 1100, 1000, 1000},
                {0, 999, 1000000, 0},
                {0, 1999, 1000000, 1},
                {1999, 0, 1000000, -1},
                {0, 100, 0, 0},
                {5 * ns, 605 * ns, ns, 600000},
                {0, 175625 * ns / 1000 - 1, ns, 175624}};
    for (const auto& r : rows)
        EXPECT_EQ(platform::elapsedMs(r.base, r.now, r.frequency), r.ms)
            << r.base << " " << r.now << " " << r.frequency;
}

TEST(Clock, ResetStartsTheTimelineAtZero) {
    platform::clockReset();
    const int first = platform::clockElapsedMs();
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 20);
    SDL_Delay(30);
    EXPECT_GE(platform::clockElapsedMs(), first + 25);
}

// The music streams in the background: whether it plays is the mixer's to say.
class MusicTest : public ::testing::Test {
protected:
    void SetUp() override { SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(MusicTest, StartsOnTheFirstFrameAndStopsWithTheDemo) {
    {
        Demo d;
        d.openMusic("DATAS\\zik.mp3"); // the build's own soundtrack
        ASSERT_TRUE(d.music->ready);
        ASSERT_EQ(d.music->streams.size(), 1u);
        ASSERT_NE(d.music->streams[0], nullptr);
        EXPECT_EQ(Mix_PlayingMusic(), 0) << "playing before the first frame";
        EXPECT_FALSE(d.play(0)); // no tracks: nothing drawn, but the music starts
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        d.play(1);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the demo left the audio open";
}

TEST_F(MusicTest, MissingOrUnreadableFilesGiveASilentDemo) {
    Demo d;
    d.openMusic("DATAS\\no-such-file.mp3");
    d.music->open("DATAS\\font.tga");
    ASSERT_EQ(d.music->streams.size(), 2u);
    EXPECT_EQ(d.music->streams[0], nullptr);
    EXPECT_EQ(d.music->streams[1], nullptr);
    for (int index : {0, 1, 7, -1})
        d.music->play(index);
    d.play(0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(MusicTest, WithoutSoundNoDeviceIsOpened) {
    Demo d;
    d.sound = false;
    d.openMusic("DATAS\\zik.mp3");
    EXPECT_FALSE(d.music->ready);
    EXPECT_TRUE(d.music->streams.empty());
    d.play(0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}
