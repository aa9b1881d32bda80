// The show's clock, when the music starts, and the show time held to the music.
#include "engine/Demo.h"
#include "platform/Clock.h"
#include "script/MusicClock.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cmath>
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
    const double counted = platform::nowMs(); // the counter's own time ran on throughout
    SDL_Delay(30);
    EXPECT_GE(platform::nowMs() - counted, 29);
}

// Whether `holds()` comes true within 2 s (the mixer takes orders a buffer at a time).
template <class F> bool soon(F holds) {
    for (int waited = 0; !holds(); waited += 5) {
        if (waited > 2000) return false;
        SDL_Delay(5);
    }
    return true;
}

// The mixer takes the orders and tells where it is; the build's soundtrack on no sound card.
TEST(Music, StartsOnTheFirstFrameAndStopsWithTheDemo) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        Demo d;
        d.openMusic("DATAS\\zik.mp3");
        ASSERT_TRUE(d.music->ready && d.music->streams.size() == 1 && d.music->streams[0]);
        Music& m = *d.music;
        EXPECT_EQ(m.position(), -1) << "playing before the first frame";
        EXPECT_FALSE(d.play(0)); // no tracks: nothing drawn, but the music starts
        EXPECT_TRUE(soon([&] { return m.position() > 0; }));
        m.pause(); // moved while paused it stays so, where it was sent
        m.seek(60000);
        EXPECT_TRUE(soon([&] { return Mix_PausedMusic() && m.position() == 60000; }))
            << m.position();
        m.resume(); // near the end it ends; a jump then starts it again
        m.seek(int(Mix_MusicDuration(m.streams[0]) * 1000) - 100);
        EXPECT_TRUE(soon([&] { return m.position() == -1 && !Mix_PlayingMusic(); }));
        m.seek(1000);
        EXPECT_TRUE(soon([&] { return m.position() >= 1000 && !Mix_PausedMusic(); }));
        EXPECT_LT(m.position(), 1100);
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

// The show's clock held to a sound device as Script::frame holds it: a counter the test
// moves, the show's clock on it, and a device whose position the mixer publishes. Each
// row: frames `gap` ms apart for `ms`, the device keeping `pace` (1 keeps time, 0 takes
// no samples); a segment with `stopped` is one gap in which the whole process stood. The
// show must never stand (go no further) longer, step back or leap further than the row
// allows, and must end within the slack of the music.
struct Segment {
    int ms, gap;
    double pace;
    bool stopped;
};
struct SyncRow {
    const char* what;
    std::vector<Segment> run;
    int stand, back, leap; // ms, in the counter's time and the show's
};

class Sync : public testing::TestWithParam<SyncRow> {};

TEST_P(Sync, TheShowFollowsTheMusicAndLeavesAStalledDevice) {
    double now = 5000, base = now, device = 0; // counter, clock's base, device's position
    int offset = 0, shown = 0, furthest = 0, stand = 0, back = 0, leap = 0;
    double still = 0; // ms of frames since the show last went further
    MusicClock sync;
    for (const Segment& s : GetParam().run) {
        for (int t = 0; t < s.ms; t += s.gap) {
            now += s.gap;
            device += s.stopped ? 0 : s.gap * s.pace;
            const double music = device;
            const int clock = offset + static_cast<int>(now - base);
            const MusicClock::Step step = sync.frame(now, clock, music);
            if (step.moveClock) base = now, offset = step.time;
            if (step.moveMusic) device = step.time;
            still = step.time > furthest || s.stopped ? 0 : still + s.gap;
            furthest = std::max(furthest, step.time);
            stand = std::max(stand, static_cast<int>(still));
            back = std::max(back, shown - step.time);
            leap = std::max(leap, step.time - shown);
            shown = step.time;
            if (s.stopped) break;
        }
    }
    const SyncRow& r = GetParam();
    EXPECT_LE(stand, r.stand) << r.what;
    EXPECT_LE(back, r.back) << r.what;
    EXPECT_LE(leap, r.leap) << r.what;
    EXPECT_LE(std::abs(shown - device), MusicClock::slack + 1) << r.what;
}

// Bounds from the rules: a frame (16 ms), the slack, a stall; a correction never takes
// the show back further than the slack.
const int slack = MusicClock::slack, stall = MusicClock::stall;
INSTANTIATE_TEST_SUITE_P(
    Devices, Sync,
    testing::Values(
        SyncRow{"keeps time", {{10000, 16, 1, false}}, 16, slack, 16},
        SyncRow{"slow by 3 %", {{10000, 16, 0.97, false}}, 16, slack, 16},
        SyncRow{"fast by 3 %", {{10000, 16, 1.03, false}}, 16, slack, 16 + slack + 1},
        SyncRow{"stalls 3 s",
                {{3000, 16, 1, false}, {3000, 16, 0, false}, {3000, 16, 1, false}},
                stall,
                slack,
                16},
        SyncRow{"stalls with slow frames",
                {{3000, 90, 1, false}, {3000, 90, 0, false}, {3000, 90, 1, false}},
                stall,
                slack,
                90},
        SyncRow{"stalls again and again",
                {{2000, 16, 1, false},
                 {1500, 16, 0, false},
                 {300, 16, 1, false},
                 {1500, 16, 0, false},
                 {2000, 16, 1, false}},
                stall,
                slack,
                16},
        SyncRow{"stopped 4 s",
                {{3000, 16, 1, false}, {4000, 4000, 0, true}, {3000, 16, 1, false}},
                16,
                slack,
                16},
        SyncRow{"stopped 300 ms",
                {{3000, 16, 1, false}, {300, 300, 0, true}, {3000, 16, 1, false}},
                16,
                slack,
                16},
        SyncRow{"frames faster than the slack", {{5000, 5, 0.97, false}}, slack, slack, 5}));
