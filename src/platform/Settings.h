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

// Fills the settings as the resolution question does: big is 800x600, else 640x480.
void chooseResolution(Settings& s, bool big);

} // namespace platform
