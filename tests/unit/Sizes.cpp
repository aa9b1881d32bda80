// The sizes the programs take, the screen textures they get, and native full screen.
#include "platform/Cli.h"
#include <gtest/gtest.h>

TEST(Sizes, FourByThreeWithEvenSidesFrom480To2160LinesAreTaken) {
    for (const char* taken : {"640x480", "800x600", "1024x768", "1440x1080", "2880x2160"}) {
        platform::ScreenSize got{};
        EXPECT_TRUE(cli::readSize(taken, got) &&
                    std::to_string(got.width) + "x" + std::to_string(got.height) == taken)
            << taken;
    }
    for (const char* refused : {"632x474", "2888x2166", "644x483", "1920x1080", "800x601",
                                "+800x600", "800x 600", "800x600x", "x600", "800X600", ""}) {
        platform::ScreenSize kept{1, 1};
        EXPECT_FALSE(cli::readSize(refused, kept) || kept.width != 1 || kept.height != 1)
            << refused;
    }
}

// Each row: a screen's width and height; the native size on it; that size's screen
// textures; the designed 3-pixel line drawn at that size.
TEST(Sizes, NativeIsTheLargestThatFitsTheScreenWithTheLeastPowerOfTwoTextures) {
    const float table[][7] = {
        {640, 400, 640, 480, 1024, 512, 3},          {800, 600, 800, 600, 1024, 1024, 3},
        {1366, 768, 1024, 768, 1024, 1024, 3.84f},   {1025, 769, 1024, 768, 1024, 1024, 3.84f},
        {1000, 1001, 1000, 750, 1024, 1024, 3.75f},  {1280, 1024, 1280, 960, 2048, 1024, 4.8f},
        {1920, 1080, 1440, 1080, 2048, 2048, 5.4f},  {2560, 1440, 1920, 1440, 2048, 2048, 7.2f},
        {3840, 2160, 2880, 2160, 4096, 4096, 10.8f}, {5120, 2880, 2880, 2160, 4096, 4096, 10.8f}};
    for (const auto& r : table) {
        platform::chooseResolution(platform::settings(),
                                   platform::largestWithin(int(r[0]), int(r[1])));
        const platform::Settings& s = platform::settings();
        EXPECT_EQ(std::vector<float>({float(s.width), float(s.height), float(s.texWidth),
                                      float(s.texHeight), platform::scaledPixels(3)}),
                  std::vector<float>(r + 2, r + 7))
            << r[0] << "x" << r[1];
    }
}
