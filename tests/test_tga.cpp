// The TGA reader on real files written here byte by byte, and TextureTga with the
// texture cache in a real GL context.
#include "support/GlTest.h"
#include "texture/Texture.h"
#include "texture/TextureCache.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The 18-byte header: ID length, colour-map type, image type, colour-map fields
// (5 bytes), x and y origin, width, height, depth, descriptor.
Bytes header(int type, int width, int height, int depth, int idLength = 0, int descriptor = 0) {
    return {uint8_t(idLength),
            0,
            uint8_t(type),
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            uint8_t(width),
            uint8_t(width >> 8),
            uint8_t(height),
            uint8_t(height >> 8),
            uint8_t(depth),
            uint8_t(descriptor)};
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes repeat(const Bytes& unit, size_t times) {
    Bytes out;
    for (size_t i = 0; i < times; ++i)
        out = out + unit;
    return out;
}

// A fresh folder for the test's files, removed afterwards.
class Folder {
public:
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tga-XXXXXX").string();
        if (mkdtemp(pattern.data())) dir = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr) << path;
        if (f) {
            EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
            std::fclose(f);
        }
        return path;
    }
    std::string dir;
};

struct Decoded {
    std::unique_ptr<unsigned char, decltype(&std::free)> pixels{nullptr, &std::free};
    int format = -1, width = -1, height = -1;
    bool ok() const { return pixels != nullptr; }
    Bytes bytes() const {
        const size_t bpp = format == GL_RGBA ? 4 : 3;
        return Bytes(pixels.get(), pixels.get() + size_t(width) * size_t(height) * bpp);
    }
};

Decoded decode(const std::string& path) {
    Decoded d;
    d.pixels.reset(loadTga(path.c_str(), &d.format, &d.width, &d.height));
    return d;
}

class Tga : public ::testing::Test {
protected:
    Decoded decodeBytes(const Bytes& bytes) { return decode(folder.write("image.tga", bytes)); }
    Folder folder;
};

// Four pixels as the file stores them (B, G, R) and as they must come out (R, G, B).
const Bytes fileBgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const Bytes outRgb = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};

TEST_F(Tga, Uncompressed24SwapsToRgbInFileOrder) {
    const Decoded d = decodeBytes(header(2, 2, 2, 24) + fileBgr);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, GL_RGB);
    EXPECT_EQ(d.width, 2);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.bytes(), outRgb);
}

TEST_F(Tga, Uncompressed32KeepsAlpha) {
    const Decoded d =
        decodeBytes(header(2, 3, 1, 32) + Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, GL_RGBA);
    EXPECT_EQ(d.bytes(), (Bytes{3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}));
}

TEST_F(Tga, DescriptorIsIgnoredAndRowsStayInFileOrder) {
    for (int descriptor : {0x00, 0x20, 0x28, 0xFF}) {
        const Decoded d = decodeBytes(header(2, 2, 2, 24, 0, descriptor) + fileBgr);
        ASSERT_TRUE(d.ok()) << descriptor;
        EXPECT_EQ(d.bytes(), outRgb) << descriptor;
    }
}

TEST_F(Tga, UncompressedHeaderMustBeTheFixedOne) {
    const Bytes good = header(2, 2, 2, 24) + fileBgr;
    // Image ID, colour-map type, colour-map fields and origins must all be zero.
    for (size_t at : {0u, 1u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u}) {
        Bytes bad = good;
        bad[at] = 1;
        EXPECT_FALSE(decodeBytes(bad).ok()) << "byte " << at;
    }
    // Colour-mapped, grey and their run-length forms, and anything else, are not read.
    for (int type : {0, 1, 3, 9, 11, 32, 255}) {
        Bytes bad = good;
        bad[2] = uint8_t(type);
        EXPECT_FALSE(decodeBytes(bad).ok()) << "type " << type;
    }
}

TEST_F(Tga, OnlyDepths24And32AreRead) {
    for (int type : {2, 10}) {
        for (int depth : {0, 8, 15, 16, 23, 25, 31, 33, 48, 64, 255}) {
            const Bytes body = type == 2 ? repeat({9}, 64) : Bytes{0xFF} + repeat({9}, 8);
            EXPECT_FALSE(decodeBytes(header(type, 2, 2, depth) + body).ok())
                << "type " << type << " depth " << depth;
        }
    }
}

TEST_F(Tga, UncompressedFileCutShortIsRejected) {
    const Bytes whole = header(2, 2, 2, 24) + fileBgr;
    for (size_t size : {0u, 1u, 11u, 12u, 17u, 18u, 29u}) {
        EXPECT_FALSE(decodeBytes(Bytes(whole.begin(), whole.begin() + size)).ok()) << size;
    }
    EXPECT_TRUE(decodeBytes(whole).ok());
    EXPECT_TRUE(decodeBytes(whole + Bytes{7, 7, 7}).ok()) << "trailing bytes are not an error";
}

TEST_F(Tga, AbsurdSizesAreRejectedBeforeAnyAllocation) {
    for (int type : {2, 10}) {
        EXPECT_FALSE(decodeBytes(header(type, 65535, 65535, 32) + Bytes{0x80, 1, 2, 3, 4}).ok());
        EXPECT_FALSE(decodeBytes(header(type, 16385, 1, 24) + repeat({0x80, 1, 2, 3}, 16385)).ok());
        EXPECT_FALSE(decodeBytes(header(type, 1, 16385, 24) + repeat({0x80, 1, 2, 3}, 16385)).ok());
    }
    // Uncompressed data shorter than the header's size is refused, however large the size.
    EXPECT_FALSE(decodeBytes(header(2, 16384, 16384, 32) + fileBgr).ok());
    // The largest accepted side.
    const Decoded d = decodeBytes(header(2, 16384, 1, 24) + repeat({1, 2, 3}, 16384));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.width, 16384);
    EXPECT_EQ(d.bytes(), repeat({3, 2, 1}, 16384));
}

TEST_F(Tga, EmptyImagesLoad) {
    for (int type : {2, 10}) {
        for (auto [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}}) {
            const Decoded d = decodeBytes(header(type, w, h, 32));
            ASSERT_TRUE(d.ok()) << type << " " << w << "x" << h;
            EXPECT_EQ(d.width, w);
            EXPECT_EQ(d.height, h);
            EXPECT_EQ(d.format, GL_RGBA);
        }
    }
}

TEST_F(Tga, MissingFileAndShortRunLengthHeaderGiveNothing) {
    EXPECT_FALSE(decode(folder.dir + "/absent.tga").ok());
    EXPECT_FALSE(decode(folder.dir).ok()) << "a folder is no image";
    const Bytes h = header(10, 1, 1, 24);
    for (size_t size : {3u, 12u, 16u, 17u}) {
        EXPECT_FALSE(decodeBytes(Bytes(h.begin(), h.begin() + size)).ok()) << size;
    }
}

TEST_F(Tga, BackslashesInTheNameAreFolderSeparators) {
    folder.write("image.tga", header(2, 2, 2, 24) + fileBgr);
    const Decoded d = decode(folder.dir + "\\image.tga");
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), outRgb);
}

// Run-length packets: run headers 0x80 (one pixel) and 0xFF (128), raw headers 0x00 (one
// pixel) and 0x7F (128), on a 129 x 2 image so that the long run crosses the row end.
TEST_F(Tga, RunLengthPacketLimitsAndPacketsAcrossRows) {
    Bytes raw;
    for (int i = 0; i < 128; ++i)
        raw = raw + Bytes{uint8_t(i), uint8_t(i + 1), uint8_t(i + 2)};
    const Bytes data = Bytes{0x80, 10, 20, 30} + Bytes{0x00, 40, 50, 60} + Bytes{0xFF, 70, 80, 90} +
                       Bytes{0x7F} + raw;
    const Decoded d = decodeBytes(header(10, 129, 2, 24) + data);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, GL_RGB);
    Bytes want = Bytes{30, 20, 10} + Bytes{60, 50, 40} + repeat({90, 80, 70}, 128);
    for (int i = 0; i < 128; ++i)
        want = want + Bytes{uint8_t(i + 2), uint8_t(i + 1), uint8_t(i)};
    EXPECT_EQ(d.bytes(), want);
}

TEST_F(Tga, RunLength32KeepsAlphaAndSkipsTheImageId) {
    const Bytes id = {'h', 'e', 'l', 'l', 'o'};
    const Bytes data = Bytes{0x81, 1, 2, 3, 4} + Bytes{0x01, 5, 6, 7, 8, 9, 10, 11, 12};
    const Decoded d = decodeBytes(header(10, 2, 2, 32, int(id.size())) + id + data);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.format, GL_RGBA);
    EXPECT_EQ(d.bytes(), (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12}));
}

TEST_F(Tga, RunLengthPacketsPastTheLastPixelAreCut) {
    // A run of 128 into 3 pixels, then bytes that must not be read as pixels.
    Decoded d =
        decodeBytes(header(10, 3, 1, 24) + Bytes{0xFF, 1, 2, 3} + repeat({0x80, 9, 9, 9}, 4));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), repeat({3, 2, 1}, 3));
    // A raw packet of 128 into the 2 pixels left, the path where readers overrun.
    Bytes raw;
    for (int i = 0; i < 128; ++i)
        raw = raw + Bytes{uint8_t(i), 0, 0, 0xEE};
    d = decodeBytes(header(10, 3, 1, 32) + Bytes{0x80, 7, 7, 7, 7} + Bytes{0x7F} + raw);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), (Bytes{7, 7, 7, 7, 0, 0, 0, 0xEE, 0, 0, 1, 0xEE}));
}

TEST_F(Tga, RunLengthDataEndingEarlyRepeatsTheLastPixelRead) {
    // Ends after a whole packet.
    Decoded d = decodeBytes(header(10, 2, 2, 24) + Bytes{0x80, 1, 2, 3});
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), repeat({3, 2, 1}, 4));
    // Ends inside a raw packet, after one of its pixels and part of the next.
    d = decodeBytes(header(10, 2, 2, 24) + Bytes{0x80, 1, 2, 3, 0x02, 4, 5, 6, 7});
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), (Bytes{3, 2, 1} + repeat({6, 5, 4}, 3)));
    // Ends on a run header with no pixel after it.
    d = decodeBytes(header(10, 2, 2, 32) + Bytes{0x00, 1, 2, 3, 4, 0x85});
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), repeat({3, 2, 1, 4}, 4));
}

TEST_F(Tga, RunLengthDataWithNoPixelAtAllIsBlack) {
    for (const Bytes& data : {Bytes{}, Bytes{0x83}, Bytes{0x00, 1, 2}}) {
        const Decoded d = decodeBytes(header(10, 2, 3, 32) + data);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.bytes(), Bytes(24, 0));
    }
    // An image ID longer than the file leaves no data either.
    const Decoded d = decodeBytes(header(10, 1, 1, 24, 200) + Bytes{0x80, 1, 2, 3});
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.bytes(), Bytes(3, 0));
}

// ---- TextureTga and the texture cache, in a real GL context.

class TextureLoad : public GlTest {
protected:
    // The texture's level-0 image, read back from GL as RGBA.
    static Bytes texels(GLuint id, int w, int h) {
        glBindTexture(GL_TEXTURE_2D, id);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        Bytes out(size_t(w) * size_t(h) * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    static GLint level(GLuint id, GLenum what) {
        glBindTexture(GL_TEXTURE_2D, id);
        GLint v = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
        return v;
    }
    static GLint param(GLuint id, GLenum what) {
        glBindTexture(GL_TEXTURE_2D, id);
        GLint v = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, what, &v);
        return v;
    }
    static GLuint cached(const std::string& name) {
        GLuint id = 0;
        return textureCache.find(name, &id) ? id : 0;
    }
    Folder folder;
};

TEST_F(TextureLoad, DefinesTheTextureAndLeavesItBoundAndEnabled) {
    const std::string path =
        folder.write("a.tga", header(2, 3, 3, 24) + fileBgr + fileBgr + Bytes{13, 14, 15});
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    TextureTga t(path.c_str());
    t.load();
    ASSERT_NE(t.id, 0u);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0, alignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(GLuint(bound), t.id);
    EXPECT_EQ(alignment, 1);

    EXPECT_EQ(param(t.id, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(param(t.id, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(param(t.id, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(param(t.id, GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(level(t.id, GL_TEXTURE_WIDTH), 3);
    EXPECT_EQ(level(t.id, GL_TEXTURE_HEIGHT), 3);
    EXPECT_EQ(level(t.id, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);

    // Odd rows of 9 bytes arrive intact only with the unpack alignment at 1.
    Bytes want;
    const Bytes rgb = outRgb + outRgb + Bytes{15, 14, 13};
    for (size_t i = 0; i < rgb.size(); i += 3)
        want = want + Bytes{rgb[i], rgb[i + 1], rgb[i + 2], 255};
    EXPECT_EQ(texels(t.id, 3, 3), want);
    EXPECT_EQ(cached(path), t.id);
}

TEST_F(TextureLoad, FirstStoredRowIsDrawnAtTheBottom) {
    // Row 0 red, row 1 blue; the descriptor's top-left bit does not change that.
    const Bytes file = header(2, 1, 2, 32, 0, 0x20) + Bytes{0, 0, 255, 255, 255, 0, 0, 255};
    TextureTga t(folder.write("rows.tga", file).c_str());
    t.load();
    ASSERT_NE(t.id, 0u);
    fill(0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    t.bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0);
    glTexCoord2f(1, 0), glVertex2f(1, 0);
    glTexCoord2f(1, 1), glVertex2f(1, 1);
    glTexCoord2f(0, 1), glVertex2f(0, 1);
    glEnd();
    EXPECT_EQ(pixel(400, 100), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(400, 500), (Rgba{0, 0, 255, 255}));
}

TEST_F(TextureLoad, EmptyImageGivesAnEmptyTexture) {
    TextureTga t(folder.write("empty.tga", header(10, 0, 4, 24)).c_str());
    t.load();
    EXPECT_NE(t.id, 0u);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(level(t.id, GL_TEXTURE_WIDTH), 0);
}

TEST_F(TextureLoad, EverySuccessfulLoadMakesANewTextureAndTheCacheKeepsTheLatest) {
    const std::string path = folder.write("twice.tga", header(2, 2, 2, 24) + fileBgr);
    TextureTga first(path.c_str()), second(path.c_str());
    first.load();
    second.load();
    ASSERT_NE(first.id, 0u);
    ASSERT_NE(second.id, 0u);
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(texels(first.id, 2, 2), texels(second.id, 2, 2));
    EXPECT_EQ(cached(path), second.id);
    // Loading the same object again makes yet another texture.
    const GLuint before = first.id;
    first.load();
    EXPECT_NE(first.id, before);
    EXPECT_EQ(cached(path), first.id);
}

TEST_F(TextureLoad, FailedLoadOfANewNameLeavesNothing) {
    const size_t entries = textureCache.size();
    TextureTga missing((folder.dir + "/none.tga").c_str());
    missing.load();
    EXPECT_EQ(missing.id, 0u);
    TextureTga broken(folder.write("broken.tga", header(2, 2, 2, 16) + fileBgr).c_str());
    broken.load();
    EXPECT_EQ(broken.id, 0u);
    EXPECT_EQ(textureCache.size(), entries);
    GLuint ignored = 0;
    EXPECT_FALSE(textureCache.find(missing.fileName, &ignored));
    EXPECT_FALSE(textureCache.find(broken.fileName, &ignored));
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureLoad, UnreadableFileTakesTheTextureOfTheEarlierLoad) {
    const std::string path = folder.write("gone.tga", header(2, 2, 2, 24) + fileBgr);
    TextureTga earlier(path.c_str());
    earlier.load();
    ASSERT_NE(earlier.id, 0u);

    folder.write("gone.tga", header(2, 2, 2, 24) + Bytes{1, 2}); // now cut short
    TextureTga cut(path.c_str());
    cut.load();
    EXPECT_EQ(cut.id, earlier.id);

    std::filesystem::remove(path);
    TextureTga missing(path.c_str());
    missing.load();
    EXPECT_EQ(missing.id, earlier.id);
    EXPECT_EQ(cached(path), earlier.id);
    EXPECT_EQ(texels(missing.id, 2, 2), texels(earlier.id, 2, 2));
}

TEST_F(TextureLoad, CacheKeysAreTheNamesAsWritten) {
    folder.write("same.tga", header(2, 2, 2, 24) + fileBgr);
    const std::string slash = folder.dir + "/same.tga";
    const std::string backslash = folder.dir + "\\same.tga";
    TextureTga a(backslash.c_str());
    a.load();
    ASSERT_NE(a.id, 0u);
    std::filesystem::remove(slash);
    // The same file spelt another way, or in other letter case, is another key.
    TextureTga b(slash.c_str()), c((folder.dir + "\\SAME.TGA").c_str());
    b.load();
    c.load();
    EXPECT_EQ(b.id, 0u);
    EXPECT_EQ(c.id, 0u);
    EXPECT_EQ(cached(backslash), a.id);
}

} // namespace
