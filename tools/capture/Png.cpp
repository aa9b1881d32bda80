#include "Png.h"
#include <cstdio>
#include <png.h>

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels,
              int channels) {
    const size_t rowBytes = static_cast<size_t>(width) * channels;
    if ((channels != 3 && channels != 4) || pixels.size() != rowBytes * height) return false;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::remove(path.c_str());
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 3); // frames are many: favour speed over size
    png_set_IHDR(png, info, width, height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + y * rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}
