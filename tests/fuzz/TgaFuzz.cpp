// libFuzzer target for loadTga: each input written to an in-memory file and read back
// through /proc/self/fd. The sanitizers catch any access outside the pixel block; the
// reader's promises about what it returns are checked here.
#include "texture/Texture.h"
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Big images cost only time here; the reader's size limits have tests of their own.
    if (size >= 16 &&
        size_t(data[12] | data[13] << 8) * size_t(data[14] | data[15] << 8) > 1u << 20)
        return 0;
    static const int file = memfd_create("tga", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != ssize_t(size)) std::abort();
    int format = 0, width = -1, height = -1;
    unsigned char* pixels = loadTga(path.c_str(), &format, &width, &height);
    if (!pixels) return 0;
    const bool rgba = format == GL_RGBA;
    const size_t bytes = size_t(width) * size_t(height) * (rgba ? 4 : 3);
    if (size < 18 || (!rgba && format != GL_RGB) || data[16] != (rgba ? 32 : 24) ||
        width != (data[12] | data[13] << 8) || height != (data[14] | data[15] << 8) ||
        (data[2] == 2 && size < 18 + bytes))
        std::abort();          // an image the file does not describe
    volatile unsigned sum = 0; // every byte read: a block smaller than promised fails here
    for (size_t i = 0; i < bytes; ++i)
        sum = sum + pixels[i];
    std::free(pixels);
    return 0;
}
