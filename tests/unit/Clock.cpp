// The show's clock, when the music starts, and the show time held to the music.
#include "engine/Demo.h"
#include "platform/Clock.h"
#include "script/MusicClock.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(Clock, MillisecondsTruncateTowardZeroIn64Bits) {
    const int64_t ns = 1000000000; // a nanosecond counter: ten minutes overflow 32 bits
    const int64_t rows[][4] = {{0, 0, 1000000, 0},
                               {100, 1100, 1000, 1000},
                               {0, 999, 1000000, 0},
                               {0, 1999, 1000000, 1},
                               {1999, 0, 1000000, -1},
                               {0, 100, 0, 0},
                               {5 * ns, 605 * ns, ns, 600000},
                               {0, 175625 * ns / 1000 - 1, ns, 175624}};
    for (const auto& r : rows)
        EXPECT_EQ(platform::elapsedMs(r[0], r[1], r[2]), r[3])
            << r[0] << " " << r[1] << " " << r[2];
    platform::clockReset();
    const int first = platform::clockElapsedMs();
    SDL_Delay(30);
    EXPECT_TRUE(first >= 0 && first < 20 && platform::clockElapsedMs() >= first + 25) << first;
    platform::clockSet(130000); // a jump, then a pause: the clock stands where it read
    platform::clockPause(true);
    const int held = platform::clockElapsedMs();
    SDL_Delay(30);
    EXPECT_TRUE(held >= 130000 && held < 130020 && platform::clockElapsedMs() == held) << held;
    platform::clockSet(5000); // a jump while paused, then on from there
    platform::clockPause(false);
    SDL_Delay(30);
    EXPECT_GE(platform::clockElapsedMs(), 5025);
}

// The mixer says whether the music plays; the build's soundtrack on no sound card.
TEST(Music, StartsOnTheFirstFrameAndStopsWithTheDemo) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        Demo d;
        d.openMusic("DATAS\\zik.mp3");
        ASSERT_TRUE(d.music->ready && d.music->streams.size() == 1 && d.music->streams[0]);
        EXPECT_EQ(Mix_PlayingMusic(), 0) << "playing before the first frame";
        EXPECT_FALSE(d.play(0)); // no tracks: nothing drawn, but the music starts
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        Music& m = *d.music; // moved while paused it stays so; after its end a jump starts it
        m.pause();
        m.seek(60000);
        EXPECT_TRUE(Mix_PausedMusic() && std::abs(m.position() - 60000) < 50) << m.position();
        m.resume();
        m.seek(int(Mix_MusicDuration(m.streams[0]) * 1000) - 100);
        for (int waited = 0; Mix_PlayingMusic() && waited < 5000; waited += 10)
            SDL_Delay(10);
        m.seek(1000);
        EXPECT_TRUE(Mix_PlayingMusic() && !Mix_PausedMusic() && std::abs(m.position() - 1000) < 50);
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the demo left the audio open";
    {
        Demo d; // files that are missing or no music give a silent demo
        d.openMusic("DATAS\\no-such-file.mp3");
        d.music->open("DATAS\\font.tga");
        EXPECT_EQ(d.music->streams, (std::vector<Mix_Music*>{nullptr, nullptr}));
        for (int index : {1, 7, -1})
            d.music->play(index);
        d.play(0);
        EXPECT_EQ(Mix_PlayingMusic(), 0);
        EXPECT_EQ(d.music->position(), -1);
    }
    Demo quiet; // without sound no device is opened
    quiet.sound = false;
    quiet.openMusic("DATAS\\zik.mp3");
    quiet.play(0);
    EXPECT_TRUE(!quiet.music->ready && quiet.music->streams.empty());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

// One run of frames: {counter ms, music ms or -1 for none, show time}.
TEST(MusicClock, FollowsTheMusicBeyondTheSlackUnlessItStalls) {
    const double rows[][3] = {{0, -1, 0},         // no music yet: the counter's time
                              {100, 90, 100},     // within the slack: left alone
                              {200, 150, 150},    // the music fell behind: the show waits
                              {300, 250, 250},    // and keeps that distance
                              {400, 400, 400},    // the music ran ahead: the show catches up
                              {800, 400, 400},    // a short stall: the show waits
                              {1400, 400, 1000},  // a long one: the counter's pace
                              {1500, 1050, 1050}, // moving again: the show waits for it
                              {1600, -1, 1150}};  // the music over: the counter's pace
    MusicClock clock;
    for (const auto& r : rows)
        EXPECT_EQ(clock.showTime(static_cast<int>(r[0]), r[1]), r[2]) << r[0] << " " << r[1];
}
