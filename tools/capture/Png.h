#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGB (`channels` 3) or RGBA (4) pixels, top row first, as a PNG file.
// False when it cannot.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels,
              int channels = 3);
