#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An 8-bit RGB or RGBA picture. Rows are kept bottom-up, the order in which a
// TGA file stores them and in which the demo uploads them (row 0 is t = 0).
struct Image {
    int width = 0;
    int height = 0;
    int channels = 3; // 3: R, G, B; 4: R, G, B, A
    std::vector<uint8_t> pixels;

    Image(int w, int h, int c)
        : width(w), height(h), channels(c), pixels(static_cast<size_t>(w) * h * c, 0) {}

    uint8_t* at(int x, int row) {
        return &pixels[(static_cast<size_t>(row) * width + x) * channels];
    }
    // The same texel addressed from the top edge, as a picture is drawn.
    uint8_t* fromTop(int x, int y) { return at(x, height - 1 - y); }
};

// Writes the picture as a Truevision TGA file: type 2 (uncompressed) or type 10
// (run-length encoded), B, G, R (, A) byte order, rows bottom-up. False on an I/O error.
bool writeTga(const std::string& path, const Image& image, bool runLength);
