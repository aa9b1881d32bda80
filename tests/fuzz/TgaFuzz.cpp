// libFuzzer target for loadTga. Each input is written to an in-memory file and read
// back through /proc/self/fd. Under the sanitizers any access outside the pixel block
// fails; the reader's promises about what it returns are checked here.
#include "texture/Texture.h"
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {
void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "loadTga broke a promise: %s\n", what);
    std::abort();
}
volatile unsigned sink;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Big images cost only time here; the reader's size limits have tests of their own.
    if (size >= 16 &&
        size_t(data[12] | data[13] << 8) * size_t(data[14] | data[15] << 8) > 1u << 20)
        return 0;
    static const int file = memfd_create("tga", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    check(ftruncate(file, 0) == 0 && pwrite(file, data, size, 0) == ssize_t(size), "no input file");
    const int freeFd = dup(0);
    close(freeFd);
    int format = 0, width = -1, height = -1;
    unsigned char* pixels = loadTga(path.c_str(), &format, &width, &height);
    const int after = dup(0);
    close(after);
    check(after == freeFd, "file left open");
    if (!pixels) return 0;
    check(size >= 18 && (format == GL_RGB || format == GL_RGBA), "an image without a header");
    check(data[16] == (format == GL_RGBA ? 32 : 24), "format not the file's depth");
    check(width == (data[12] | data[13] << 8) && height == (data[14] | data[15] << 8), "size");
    const size_t bytes = size_t(width) * size_t(height) * (format == GL_RGBA ? 4 : 3);
    check(data[2] != 2 || size >= 18 + bytes, "more pixels than the file holds");
    unsigned sum = 0; // every byte touched: a block smaller than promised fails here
    for (size_t i = 0; i < bytes; ++i)
        sum += pixels[i];
    sink = sum;
    std::free(pixels);
    return 0;
}
