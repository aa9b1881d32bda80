// The sizes the programs take, the screen textures they get, and native full screen.
#include "platform/Cli.h"
#include <gtest/gtest.h>

std::string text(platform::ScreenSize s) {
    return std::to_string(s.width) + "x" + std::to_string(s.height);
}

TEST(Sizes, FourByThreeWithEvenSidesFrom480To2160LinesAreTaken) {
    for (const char* taken : {"640x480", "800x600", "1024x768", "1440x1080", "2880x2160"}) {
        platform::ScreenSize got{};
        EXPECT_TRUE(cli::readSize(taken, got) && text(got) == taken) << taken;
    }
    for (const char* refused : {"632x474", "2888x2166", "644x483", "1920x1080", "800x601",
                                "+800x600", "800x 600", "800x600x", "x600", "800X600", ""}) {
        platform::ScreenSize kept{1, 1};
        EXPECT_FALSE(cli::readSize(refused, kept)) << refused;
        EXPECT_EQ(text(kept), "1x1") << refused;
    }
}

// Each row: width, height, the screen textures' width and height, the designed 3-pixel line.
TEST(Sizes, TheScreenTexturesAreTheLeastPowersOfTwoAndPixelLengthsGrowWithTheHeight) {
    const float table[][5] = {{640, 480, 1024, 512, 3},       {800, 600, 1024, 1024, 3},
                              {1024, 768, 1024, 1024, 3.84f}, {1440, 1080, 2048, 2048, 5.4f},
                              {1600, 1200, 2048, 2048, 6},    {2880, 2160, 4096, 4096, 10.8f}};
    for (const auto& r : table) {
        platform::chooseResolution(platform::settings(), {int(r[0]), int(r[1])});
        const platform::Settings& s = platform::settings();
        EXPECT_EQ(std::vector<float>({float(s.width), float(s.height), float(s.texWidth),
                                      float(s.texHeight), platform::scaledPixels(3)}),
                  std::vector<float>(r, r + 5));
    }
}

// Each row: the screen's width and height, and the native size on it.
TEST(Sizes, NativeIsTheLargestThatFitsTheScreen) {
    const int table[][4] = {
        {1920, 1080, 1440, 1080}, {2560, 1440, 1920, 1440}, {3840, 2160, 2880, 2160},
        {5120, 2880, 2880, 2160}, {1280, 1024, 1280, 960},  {1366, 768, 1024, 768},
        {1000, 1001, 1000, 750},  {1025, 769, 1024, 768},   {640, 400, 640, 480}};
    for (const auto& r : table)
        EXPECT_EQ(text(platform::largestWithin(r[0], r[1])), text({r[2], r[3]}))
            << r[0] << "x" << r[1];
}
