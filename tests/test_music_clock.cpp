#include "platform/Clock.h"
#include "engine/Demo.h"
#include "engine/Music.h"
#include <SDL.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(Clock, MillisecondsTruncateTowardZeroIn64Bits) {
    EXPECT_EQ(platform::elapsedMs(0, 0, 1000000), 0);
    EXPECT_EQ(platform::elapsedMs(100, 1100, 1000), 1000);
    EXPECT_EQ(platform::elapsedMs(0, 999, 1000000), 0);
    EXPECT_EQ(platform::elapsedMs(0, 1999, 1000000), 1);
    EXPECT_EQ(platform::elapsedMs(1999, 0, 1000000), -1); // signed division truncates toward zero
    // A nanosecond counter after 10 minutes would overflow 32-bit products.
    const int64_t ns = 1000000000;
    EXPECT_EQ(platform::elapsedMs(5 * ns, 5 * ns + 600 * ns, ns), 600000);
    EXPECT_EQ(platform::elapsedMs(0, 100, 0), 0); // no counter: no division by zero
}

TEST(Clock, ResetStartsTheTimelineAtZero) {
    platform::clockReset();
    const int first = platform::clockElapsedMs();
    EXPECT_GE(first, 0);
    SDL_Delay(30);
    EXPECT_GE(platform::clockElapsedMs(), first + 25);
}

namespace {

// Tests run in parallel processes: every file carries the test's name.
std::string scratch(const char* suffix) {
    return std::string("music-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
           suffix;
}

// The disk driver writes the mixed output to a file instead of a sound card.
void useDiskAudio() {
    const std::string raw = scratch(".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    std::remove(raw.c_str());
}

// Largest absolute 16-bit sample the mixer wrote.
int peakOfOutput() {
    std::ifstream in(scratch(".raw"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const int16_t s = static_cast<int16_t>((static_cast<uint8_t>(bytes[i + 1]) << 8) |
                                               static_cast<uint8_t>(bytes[i]));
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
}

// A two-second 440 Hz tone, encoded with lame.
std::string makeToneMp3() {
    const int rate = 44100, frames = rate * 2;
    const std::string wav = scratch(".wav"), mp3 = scratch(".mp3");
    std::ofstream out(wav, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + frames * 2);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(frames * 2);
    for (int i = 0; i < frames; ++i)
        u16(static_cast<uint16_t>(
            static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440.0 * i / rate))));
    out.close();
    const std::string cmd = "lame --quiet " + wav + " " + mp3;
    if (std::system(cmd.c_str()) != 0) return "";
    return mp3;
}

} // namespace

TEST(Music, StreamsAnMp3ToTheAudioDevice) {
    useDiskAudio();
    const std::string mp3 = makeToneMp3();
    ASSERT_FALSE(mp3.empty()) << "lame could not encode the test tone";
    {
        Music music;
        ASSERT_TRUE(music.ready);
        music.open(mp3);
        ASSERT_EQ(music.streams.size(), 1u);
        ASSERT_NE(music.streams[0], nullptr);
        music.play(0);
        SDL_Delay(800);
    }
    EXPECT_GT(peakOfOutput(), 3000);
}

TEST(Music, MissingOrGarbageFilesGiveASilentDemo) {
    useDiskAudio();
    {
        const std::string garbage = scratch("-garbage.mp3");
        std::ofstream(garbage) << "this is not music at all, only words\n";
        Music music;
        music.open("DATAS\\no-such-file.mp3");
        music.open(garbage);
        ASSERT_EQ(music.streams.size(), 2u);
        EXPECT_EQ(music.streams[0], nullptr);
        EXPECT_EQ(music.streams[1], nullptr);
        music.play(0);
        music.play(1);
        music.play(7);  // beyond the array
        music.play(-1); // before it
        SDL_Delay(300);
    }
    EXPECT_EQ(peakOfOutput(), 0);
}

TEST(Music, DemoStartsStreamZeroOnTheFirstFrameOnly) {
    useDiskAudio();
    const std::string mp3 = makeToneMp3();
    ASSERT_FALSE(mp3.empty());
    {
        Demo d;
        d.openMusic(mp3.c_str());
        EXPECT_FALSE(d.started);
        EXPECT_FALSE(d.play(0)); // nothing on the tracks, but the music starts
        EXPECT_TRUE(d.started);
        SDL_Delay(800);
    } // the Demo shuts the sound down when it goes
    EXPECT_GT(peakOfOutput(), 3000);
}

TEST(Music, WithoutSoundNothingIsOpened) {
    useDiskAudio();
    const std::string mp3 = makeToneMp3();
    ASSERT_FALSE(mp3.empty());
    {
        Demo d;
        d.sound = false;
        d.openMusic(mp3.c_str());
        ASSERT_NE(d.music, nullptr);
        EXPECT_FALSE(d.music->ready);
        EXPECT_TRUE(d.music->streams.empty());
        d.play(0);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    }
    std::ifstream raw(scratch(".raw"));
    EXPECT_FALSE(raw.good()) << "an audio device was opened";
}
