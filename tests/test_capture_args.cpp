#include "Args.h"
#include <gtest/gtest.h>

namespace {
bool parse(std::vector<std::string> args, CaptureArgs& out, std::string& error) {
    return parseCaptureArgs(args, out, error);
}
} // namespace

TEST(CaptureArgs, ChosenTimesKeepTheirOrder) {
    CaptureArgs a;
    std::string error;
    ASSERT_TRUE(
        parse({"--at", "41000", "--size", "640x480", "--at", "0", "--out-dir", "shots"}, a, error))
        << error;
    EXPECT_EQ(a.times, (std::vector<int>{41000, 0}));
    EXPECT_FALSE(a.big);
    EXPECT_EQ(a.outDir, "shots");
    EXPECT_TRUE(a.video.empty());
}

TEST(CaptureArgs, SpansFollowTheFloorOfTheFrameInterval) {
    EXPECT_EQ(spanTimes(3, 0, 1001), (std::vector<int>{0, 333, 666, 1000}));
    EXPECT_EQ(spanTimes(60, 100, 150), (std::vector<int>{100, 116, 133}));
    CaptureArgs a;
    std::string error;
    ASSERT_TRUE(parse({"--fps", "2"}, a, error)) << error;
    ASSERT_EQ(a.times.size(), 352u); // 0 to 175500 every 500 ms
    EXPECT_EQ(a.times.back(), 175500);
    CaptureArgs v;
    ASSERT_TRUE(parse({"--video", "show.mp4", "--from", "1000", "--to", "2000"}, v, error));
    EXPECT_EQ(v.fps, 60);
    EXPECT_EQ(v.times.size(), 60u);
    EXPECT_EQ(v.times.front(), 1000);
}

TEST(CaptureArgs, FrameNamesArePaddedToSixDigits) {
    EXPECT_EQ(frameName(0), "frame-000000.png");
    EXPECT_EQ(frameName(41000), "frame-041000.png");
    EXPECT_EQ(frameName(175625), "frame-175625.png");
}

TEST(CaptureArgs, RefusesWhatItCannotDo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--at"},
        {"--at", "-5"},
        {"--at", "12abc"},
        {"--at", "99999999999999999999"},
        {"--size", "1024x768", "--at", "0"},
        {"--at", "0", "--fps", "30"},
        {"--fps", "0"},
        {"--fps", "30", "--from", "5000", "--to", "5000"},
        {"--from", "10"},
        {"--frobnicate", "1"},
        {"stray"},
    };
    for (const auto& args : bad) {
        CaptureArgs a;
        std::string error;
        std::string joined;
        for (const auto& s : args)
            joined += s + " ";
        EXPECT_FALSE(parse(args, a, error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
    }
}
