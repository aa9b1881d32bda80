// The capture tool's command line and the frames of a span.
#include "Args.h"
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

TEST(CaptureArgs, SpansTakeTheFloorOfEachFrameIntervalAndBadLinesAreRefused) {
    EXPECT_EQ(spanTimes(3, 0, 1001), (std::vector<int>{0, 333, 666, 1000}));
    EXPECT_EQ(spanTimes(60, 100, 150), (std::vector<int>{100, 116, 133}));
    EXPECT_EQ(spanTimes(7, 0, 1000).back(), 857);
    CaptureArgs whole, video, chosen;
    std::string error;
    ASSERT_TRUE(parseCaptureArgs({"--fps", "2"}, whole, error)) << error;
    EXPECT_EQ(whole.times.size(), 352u); // 0 to 175500: the show, its end excluded
    ASSERT_TRUE(
        parseCaptureArgs({"--video", "v.mp4", "--from", "1000", "--to", "2000"}, video, error));
    EXPECT_EQ(std::vector<int>({video.fps, int(video.times.size()), video.times[0]}),
              std::vector<int>({60, 60, 1000}));
    ASSERT_TRUE(
        parseCaptureArgs({"--at", "41000", "--size", "640x480", "--at", "0"}, chosen, error));
    EXPECT_EQ(chosen.times, (std::vector<int>{41000, 0}));
    EXPECT_EQ(chosen.size.height, 480);
    EXPECT_EQ(frameName(41000), "frame-041000.png");
    for (const std::string line :
         {"", "--at -5", "--at 12abc", "--size 1024x760 --at 0", "--at 0 --fps 30", "--fps 1001",
          "--fps 30 --from 5000 --to 5000", "--from 10", "--pad 1920x1080 --at 0",
          "--video v.mp4 --size 1440x1080 --pad 1280x1080", "--video v.mp4 --pad 1921x1080",
          "stray"}) {
        std::istringstream words(line);
        const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        CaptureArgs refused;
        error.clear();
        EXPECT_FALSE(parseCaptureArgs(args, refused, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}
