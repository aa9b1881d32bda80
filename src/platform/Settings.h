#pragma once

namespace platform {

// Display settings chosen at start-up and read by every screen-space effect.
struct Settings {
    int texWidth;  // width of the textures the screen is copied into
    int texHeight; // height of those textures
    int width;     // screen width in pixels
    int height;    // screen height in pixels
};

Settings& settings();

// A size the show can be drawn at: 4:3, both sides even (the height a multiple of 6),
// from 640x480 to 2880x2160.
struct ScreenSize {
    int width;
    int height;
};
constexpr ScreenSize bigSize = {800, 600};   // the question's yes
constexpr ScreenSize smallSize = {640, 480}; // and its no
constexpr int leastHeight = 480;
constexpr int mostHeight = 2160;
constexpr int heightStep = 6; // both sides even, the width being 4/3 of the height

bool drawableSize(ScreenSize size);

// The largest such size that fits a screen of width x height, for full screen at the
// screen's own resolution; the least size when the screen is smaller still.
ScreenSize largestWithin(int width, int height);

// The largest rectangle of `picture`'s proportions that fits a box of width x height.
ScreenSize fitted(ScreenSize picture, int width, int height);

// Fills the settings for a screen of `size`. The screen textures are the smallest
// power-of-two rectangle that holds it: 1024x1024 for 800x600, 1024x512 for 640x480.
void chooseResolution(Settings& s, ScreenSize size);

// A length the design gives in pixels of its 600-line screen, on the screen chosen:
// scaled with the height, never below the designed value.
float scaledPixels(float designed);

} // namespace platform
