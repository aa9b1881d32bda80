#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGB pixels, top row first, as a PNG file. False when it cannot.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
