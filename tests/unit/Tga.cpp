// The TGA reader on files written here byte by byte: what it accepts, how it decodes,
// and that it closes the file on every path.
#include "support/Scratch.h"
#include "texture/Texture.h"
#include <fcntl.h>
#include <sys/resource.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes operator*(const Bytes& unit, size_t n) {
    Bytes out;
    while (n--)
        out = out + unit;
    return out;
}
// ID length, colour-map type, image type, colour-map fields, origins, size, depth, descriptor.
Bytes header(int type, int w, int h, int depth, int idLength = 0, int descriptor = 0) {
    Bytes b(18, 0);
    b[0] = uint8_t(idLength);
    b[2] = uint8_t(type);
    b[12] = uint8_t(w);
    b[13] = uint8_t(w >> 8);
    b[14] = uint8_t(h);
    b[15] = uint8_t(h >> 8);
    b[16] = uint8_t(depth);
    b[17] = uint8_t(descriptor);
    return b;
}
Bytes with(Bytes b, size_t at, uint8_t value) {
    b[at] = value;
    return b;
}
Bytes cut(const Bytes& b, size_t size) { return Bytes(b.begin(), b.begin() + size); }
// n pixels (i, i + 1, i + 2 (, 0xEE)) as stored, or as they come out.
Bytes rising(int n, int channels, bool out) {
    Bytes all;
    for (int i = 0; i < n; ++i) {
        const Bytes p = {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2)};
        all = all + (out ? Bytes(p.rbegin(), p.rend()) : p) + Bytes(channels - 3, 0xEE);
    }
    return all;
}

const Bytes bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}; // four pixels as stored
const Bytes rgb = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}; // and as they come out
const Bytes image = header(2, 2, 2, 24) + bgr;

struct Case {
    const char* what;
    Bytes file;
    int format = 0, width = 0, height = 0; // format 0: refused
    Bytes pixels = {};
};

std::vector<Case> cases() {
    std::vector<Case> c = {
        {"24 bits in file order", image, GL_RGB, 2, 2, rgb},
        {"32 bits keep alpha", header(2, 3, 1, 32) + bgr, GL_RGBA, 3, 1,
         Bytes{3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}},
        {"descriptor ignored", header(2, 2, 2, 24, 0, 0x28) + bgr, GL_RGB, 2, 2, rgb},
        {"trailing bytes", image + Bytes{7, 7}, GL_RGB, 2, 2, rgb},
        {"largest side", header(2, 16384, 1, 24) + Bytes{1, 2, 3} * 16384, GL_RGB, 16384, 1,
         Bytes{3, 2, 1} * 16384},
        {"short of its size", header(2, 16384, 16384, 32) + bgr},
        {"one byte short", cut(image, 29)},
        {"header cut", cut(image, 17)},
        {"first 12 bytes cut", cut(image, 11)},
        {"empty file", {}},
        {"side 16385", header(2, 16385, 1, 24) + Bytes{1, 2, 3} * 16385},
        {"RLE side 16385", header(10, 1, 16385, 24) + Bytes{0xFF, 1, 2, 3} * 129},
        {"RLE 65535 square", header(10, 65535, 65535, 32) + Bytes{0x80, 1, 2, 3, 4}},
        {"RLE header cut", cut(header(10, 1, 1, 24), 17)},
        {"empty", header(2, 0, 0, 32), GL_RGBA, 0, 0},
        {"RLE empty", header(10, 0, 5, 24), GL_RGB, 0, 5},
        {"RLE empty too", header(10, 5, 0, 32), GL_RGBA, 5, 0},
        // Packets 0x80 (1), 0x00 (1), 0xFF (128, across the row end), 0x7F (128 raw).
        {"RLE packet limits",
         header(10, 129, 2, 24) +
             Bytes{0x80, 10, 20, 30, 0x00, 40, 50, 60, 0xFF, 70, 80, 90, 0x7F} +
             rising(128, 3, false),
         GL_RGB, 129, 2,
         Bytes{30, 20, 10, 60, 50, 40} + Bytes{90, 80, 70} * 128 + rising(128, 3, true)},
        {"RLE 32 bits after the image ID",
         header(10, 2, 2, 32, 2) +
             Bytes{'I', 'D', 0x81, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12},
         GL_RGBA, 2, 2, Bytes{3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}},
        {"RLE run cut at the end",
         header(10, 3, 1, 24) + Bytes{0xFF, 1, 2, 3} + Bytes{0x80, 9, 9, 9} * 4, GL_RGB, 3, 1,
         Bytes{3, 2, 1} * 3},
        {"RLE raw packet cut at the end",
         header(10, 3, 1, 32) + Bytes{0x80, 7, 7, 7, 7, 0x7F} + rising(128, 4, false), GL_RGBA, 3,
         1, Bytes{7, 7, 7, 7} + rising(2, 4, true)},
        // Data that ends early: the last pixel read repeats, black if there was none.
        {"RLE ends after a packet", header(10, 2, 2, 24) + Bytes{0x80, 1, 2, 3}, GL_RGB, 2, 2,
         Bytes{3, 2, 1} * 4},
        {"RLE ends in a raw packet", header(10, 2, 2, 24) + Bytes{0x80, 1, 2, 3, 0x02, 4, 5, 6, 7},
         GL_RGB, 2, 2, Bytes{3, 2, 1} + Bytes{6, 5, 4} * 3},
        {"RLE ends on a run header", header(10, 2, 2, 32) + Bytes{0x00, 1, 2, 3, 4, 0x85}, GL_RGBA,
         2, 2, Bytes{3, 2, 1, 4} * 4},
        {"RLE without data", header(10, 2, 3, 32), GL_RGBA, 2, 3, Bytes(24, 0)},
        {"RLE without a pixel", header(10, 2, 3, 32) + Bytes{0x00, 1, 2}, GL_RGBA, 2, 3,
         Bytes(24, 0)},
        {"RLE ID past the end", header(10, 1, 1, 24, 200) + Bytes{0x80, 1, 2, 3}, GL_RGB, 1, 1,
         Bytes(3, 0)},
    };
    for (size_t at : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) // image ID, colour map, origins
        c.push_back({"type-2 header byte set", with(image, at, 1)});
    for (int type : {0, 1, 3, 9, 11, 32, 255})
        c.push_back({"image type", with(image, 2, uint8_t(type))});
    for (int depth : {0, 8, 15, 16, 23, 25, 31, 33, 48, 64, 255}) {
        c.push_back({"depth", header(2, 2, 2, depth) + Bytes{9} * 64});
        c.push_back({"RLE depth", header(10, 2, 2, depth) + Bytes{0xFF} + Bytes{9} * 8});
    }
    return c;
}

int lowestFreeFd() {
    const int fd = open("/dev/null", O_RDONLY);
    close(fd);
    return fd;
}

TEST(TgaReader, DecodesWhatItAcceptsAndClosesTheFileOnEveryPath) {
    Scratch folder;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.write("image.tga", c.file);
        const int fd = lowestFreeFd();
        int format = 0, width = -1, height = -1;
        unsigned char* pixels = loadTga(path.c_str(), &format, &width, &height);
        EXPECT_EQ(lowestFreeFd(), fd) << "file left open";
        ASSERT_EQ(pixels != nullptr, c.format != 0);
        if (!pixels) continue;
        EXPECT_EQ(std::vector<int>({format, width, height}),
                  std::vector<int>({c.format, c.width, c.height}));
        EXPECT_EQ(Bytes(pixels, pixels + c.pixels.size()), c.pixels);
        std::free(pixels);
    }
    int format, width, height;
    EXPECT_EQ(loadTga((folder.path + "/absent.tga").c_str(), &format, &width, &height), nullptr);
    EXPECT_EQ(loadTga(folder.path.c_str(), &format, &width, &height), nullptr);
    // An image the memory cannot hold is refused rather than written through a null block.
    const std::string huge =
        folder.write("huge.tga", header(10, 16384, 16384, 32) + Bytes{0x80, 1, 2, 3, 4});
    const auto underALimit = [&] {
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = size_t(512) << 20;
        setrlimit(RLIMIT_AS, &limit);
        std::exit(loadTga(huge.c_str(), &format, &width, &height) ? 1 : 0);
    };
    EXPECT_EXIT(underALimit(), ::testing::ExitedWithCode(0), "");
    folder.write("image.tga", image); // asset names' backslashes are folder separators
    unsigned char* named = loadTga((folder.path + "\\image.tga").c_str(), &format, &width, &height);
    EXPECT_NE(named, nullptr);
    std::free(named);
}

} // namespace
