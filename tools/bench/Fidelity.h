#pragma once
#include <cstdint>
#include <vector>

// How far one picture is from another of the same size (8-bit RGB, top row first): the
// peak signal-to-noise ratio over all channels and where the differences lie.
struct Difference {
    double psnr = 0; // dB; infinite when the pictures are the same
    long pixels = 0; // pixels with any channel different
    int largest = 0; // the largest difference of one channel, 0 to 255
    // Pixels whose largest channel difference is above 8, 32 and 128 levels.
    long above[3] = {0, 0, 0};
    static constexpr int levels[3] = {8, 32, 128};
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1; // box of the differing pixels; empty when none
    // The block of blockSize x blockSize pixels that holds the most squared error, its
    // top-left corner, and its share of the frame's squared error (0 to 1).
    int blockX = 0, blockY = 0;
    double blockShare = 0;

    static constexpr int blockSize = 50;
};

Difference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                         int height);
