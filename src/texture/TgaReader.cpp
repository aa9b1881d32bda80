// The TGA reader. It knows nothing of GL beyond the format enumerants, so it can be
// built and fuzzed on its own. Any file, however broken, gives either a whole image or
// null; nothing is ever read or written outside the pixel block.
#include "platform/Files.h"
#include "texture/Texture.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Larger images are refused rather than allocated: no asset comes near this.
constexpr unsigned maxSide = 16384;

constexpr unsigned char typeTwoHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

unsigned le16(const unsigned char* p) { return p[0] | (p[1] << 8); }

// File order B, G, R (, A) to R, G, B (, A).
void swapRedBlue(unsigned char* pixel) {
    const unsigned char b = pixel[0];
    pixel[0] = pixel[2];
    pixel[2] = b;
}

// The bytes left from the current position to the end of the file.
long bytesLeft(FILE* file) {
    const long at = std::ftell(file);
    if (at < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(file);
    if (end < 0 || std::fseek(file, at, SEEK_SET) != 0) return -1;
    return end - at;
}

struct Image {
    unsigned width = 0;
    unsigned height = 0;
    size_t bytesPerPixel = 0;
    size_t pixelCount() const { return static_cast<size_t>(width) * height; }
    size_t size() const { return pixelCount() * bytesPerPixel; }
};

// Sizes the image from its header fields; false for a depth or size the reader refuses.
bool describe(Image& image, unsigned width, unsigned height, unsigned depth) {
    if (depth != 24 && depth != 32) return false;
    if (width > maxSide || height > maxSide) return false;
    image.width = width;
    image.height = height;
    image.bytesPerPixel = depth / 8;
    return true;
}

// One byte more than needed, so an empty image still gets a block of its own.
unsigned char* allocate(const Image& image) {
    return static_cast<unsigned char*>(std::malloc(image.size() + 1));
}

// Reads one pixel into `last` as R, G, B (, A); false when the data has run out.
bool readPixel(FILE* file, size_t bpp, unsigned char* last) {
    unsigned char read[4];
    if (std::fread(read, 1, bpp, file) != bpp) return false;
    std::memcpy(last, read, bpp);
    swapRedBlue(last);
    return true;
}

// Decoding is driven by the output: a packet reaching past the last pixel is cut there.
// Once the data runs out, the remaining pixels repeat the last one read (zero if none).
unsigned char* decodeRunLength(FILE* file, const Image& image) {
    unsigned char* block = allocate(image);
    if (!block) return nullptr;
    const size_t bpp = image.bytesPerPixel;
    const size_t total = image.pixelCount();
    unsigned char last[4] = {0, 0, 0, 0};
    size_t n = 0;
    bool more = true;
    while (n < total && more) {
        const int header = std::fgetc(file);
        if (header == EOF) break;
        const bool run = header >= 128;
        const size_t count = run ? header - 127 : header + 1;
        const size_t end = count < total - n ? n + count : total;
        if (run) more = readPixel(file, bpp, last);
        while (more && n < end) {
            if (!run) more = readPixel(file, bpp, last);
            if (!more) break;
            std::memcpy(block + n * bpp, last, bpp);
            ++n;
        }
    }
    for (; n < total; ++n)
        std::memcpy(block + n * bpp, last, bpp);
    return block;
}

unsigned char* readUncompressed(FILE* file, Image& image) {
    unsigned char head[12];
    if (std::fseek(file, 0, SEEK_SET) != 0) return nullptr;
    if (std::fread(head, 1, sizeof head, file) != sizeof head) return nullptr;
    if (std::memcmp(head, typeTwoHeader, sizeof head) != 0) return nullptr;
    unsigned char rest[6]; // width, height, depth, descriptor (ignored)
    if (std::fread(rest, 1, sizeof rest, file) != sizeof rest) return nullptr;
    if (!describe(image, le16(rest), le16(rest + 2), rest[4])) return nullptr;

    const long left = bytesLeft(file);
    if (left < 0 || static_cast<unsigned long>(left) < image.size()) return nullptr;
    unsigned char* block = allocate(image);
    if (!block) return nullptr;
    if (std::fread(block, 1, image.size(), file) != image.size()) {
        std::free(block);
        return nullptr;
    }
    for (size_t at = 0; at < image.size(); at += image.bytesPerPixel)
        swapRedBlue(block + at);
    return block;
}

unsigned char* readTga(FILE* file, int* format, int* width, int* height) {
    unsigned char header[18];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) return nullptr;
    Image image;
    unsigned char* block = nullptr;
    if (header[2] == 10) {
        if (!describe(image, le16(header + 12), le16(header + 14), header[16])) return nullptr;
        if (std::fseek(file, header[0], SEEK_CUR) != 0) return nullptr; // the image ID
        block = decodeRunLength(file, image);
    } else {
        block = readUncompressed(file, image);
    }
    if (!block) return nullptr;
    *format = image.bytesPerPixel == 4 ? GL_RGBA : GL_RGB;
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return block;
}

} // namespace

unsigned char* loadTga(const char* path, int* format, int* width, int* height) {
    FILE* file = platform::openAsset(path, "rb");
    if (!file) return nullptr;
    unsigned char* block = readTga(file, format, width, height);
    std::fclose(file);
    return block;
}
