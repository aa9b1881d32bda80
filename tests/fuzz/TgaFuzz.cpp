// libFuzzer target for loadTga. The reader takes a path, so each input is written to an
// in-memory file and read back through /proc/self/fd. Built with sanitizers, it fails on
// any out-of-block access or undefined behaviour; it also checks the reader's promises.
#include "texture/Texture.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Big images cost only time here: their size checks have unit tests of their own.
constexpr size_t maxFuzzPixels = size_t(1) << 20;

bool tooBigToBother(const uint8_t* data, size_t size) {
    if (size < 16) return false;
    const size_t w = data[12] | (data[13] << 8);
    const size_t h = data[14] | (data[15] << 8);
    return w * h > maxFuzzPixels;
}

// The lowest free descriptor: a reader that leaks its file moves it.
int lowestFreeFd() {
    const int fd = open("/dev/null", O_RDONLY);
    close(fd);
    return fd;
}

volatile unsigned sink;

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "loadTga broke a promise: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (tooBigToBother(data, size)) return 0;
    static const int file = memfd_create("tga", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    check(file >= 0, "no in-memory file");
    check(ftruncate(file, 0) == 0 && pwrite(file, data, size, 0) == ssize_t(size),
          "input not written");

    const int freeFd = lowestFreeFd();
    int format = 0, width = -1, height = -1;
    unsigned char* pixels = loadTga(path.c_str(), &format, &width, &height);
    check(lowestFreeFd() == freeFd, "file left open");
    if (!pixels) return 0;

    check(size >= 18, "an image without a whole header");
    check(format == GL_RGB || format == GL_RGBA, "unknown format");
    check(data[16] == (format == GL_RGBA ? 32 : 24), "format not the file's depth");
    check(width == (data[12] | data[13] << 8) && height == (data[14] | data[15] << 8),
          "size not the file's");
    check(width <= 16384 && height <= 16384, "size out of range");
    const size_t bytes = size_t(width) * size_t(height) * (format == GL_RGBA ? 4 : 3);
    if (data[2] == 2) check(size >= 18 + bytes, "more pixels than the file holds");
    // Touch every byte: the sanitizer catches a block smaller than promised.
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += pixels[i];
    sink = sum;
    std::free(pixels);
    return 0;
}
