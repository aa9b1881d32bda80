// The generated asset files in DATAS, read back the way the demo reads them:
// the pictures through the TGA reader, the music through SDL_mixer's decoder.
#include "Image.h" // the generator's TGA writer
#include "texture/Texture.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A decoded TGA file; rows in file order, so row 0 is texture coordinate t = 0.
struct Picture {
    unsigned char* pixels = nullptr;
    int format = 0, width = 0, height = 0;

    explicit Picture(const char* path) { pixels = loadTga(path, &format, &width, &height); }
    ~Picture() { std::free(pixels); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int channels() const { return format == GL_RGBA ? 4 : 3; }
    const unsigned char* at(int x, int row) const {
        return pixels + (static_cast<size_t>(row) * width + x) * channels();
    }
};

std::vector<unsigned char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- the generator's TGA writer ----

// Rows mixing runs of every length around the 128-pixel packet limit with raw
// stretches just as long, so that every packet boundary of the encoder is crossed.
Image patterned(int width, int height, int channels) {
    Image image(width, height, channels);
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y) {
        int x = 0, stretch = 0;
        while (x < width) {
            static const int lengths[] = {1, 2, 3, 127, 128, 129, 130, 255, 256, 257};
            const int length = lengths[(y + stretch++) % 10];
            const bool run = (y + stretch) % 2 == 0;
            seed = seed * 1103515245 + 12345;
            for (int i = 0; i < length && x < width; ++i, ++x) {
                if (!run) seed = seed * 1103515245 + 12345;
                for (int c = 0; c < channels; ++c)
                    image.at(x, y)[c] = (seed >> (8 + 3 * c)) & 0xff;
            }
        }
    }
    return image;
}

TEST(TgaWriter, FilesReadBackThroughTheReaderPixelForPixel) {
    for (int channels : {3, 4}) {
        for (bool runLength : {false, true}) {
            const Image image = patterned(700, 9, channels);
            const std::string path = "assets-writer-check.tga";
            ASSERT_TRUE(writeTga(path, image, runLength));
            Picture back(path.c_str());
            ASSERT_NE(back.pixels, nullptr) << channels << " channels, RLE " << runLength;
            EXPECT_EQ(back.format, channels == 4 ? GL_RGBA : GL_RGB);
            ASSERT_EQ(back.width, 700);
            ASSERT_EQ(back.height, 9);
            EXPECT_EQ(std::memcmp(back.pixels, image.pixels.data(), image.pixels.size()), 0)
                << channels << " channels, RLE " << runLength;
            const std::vector<unsigned char> file = bytesOf(path);
            ASSERT_GE(file.size(), 18u);
            EXPECT_EQ(file[2], runLength ? 10 : 2);
            if (runLength) {
                EXPECT_LT(file.size(), 18 + image.pixels.size()) << "runs pay off";
            }
            std::remove(path.c_str());
        }
    }
}

// ---- font.tga ----

// The texels that the text cards map for character code c: the glyph list of code c
// is glyph c - 16, whose row r = (c - 16) / 16 spans t from 1 - (r / 16 - 0.001) up by
// 1/16, and whose column spans s from (c mod 16) / 16 across by 1/16.
struct Cell {
    int left, bottom; // texel column and file row of the lower-left corner
};
Cell cellOf(int code, int side) {
    const int row = (code - 16) / 16;
    const double t0 = 1 - (row * 0.0625 - 0.001);
    return {(code % 16) * side / 16, static_cast<int>(std::floor(t0 * side))};
}

// Ink of one cell: coverage sum, bounds and centroid, in texels of the cell
// (y upwards, as on screen).
struct Ink {
    double total = 0, cx = 0, cy = 0;
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    double width() const { return maxX - minX + 1; }
    double height() const { return maxY - minY + 1; }
};
Ink inkOf(const Picture& font, int code) {
    const int cell = font.width / 16;
    const Cell c = cellOf(code, font.width);
    Ink ink;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            const int a = font.at(c.left + x, c.bottom + y)[3];
            if (a == 0) continue;
            ink.total += a;
            ink.cx += a * x;
            ink.cy += a * y;
            if (a < 96) continue; // bounds from the glyph's body, not its antialiased fringe
            ink.minX = std::min(ink.minX, x);
            ink.maxX = std::max(ink.maxX, x);
            ink.minY = std::min(ink.minY, y);
            ink.maxY = std::max(ink.maxY, y);
        }
    }
    if (ink.total > 0) {
        ink.cx /= ink.total;
        ink.cy /= ink.total;
    }
    return ink;
}

TEST(FontAtlas, IsA512SquareRgbaImageOfWhiteGlyphsOnBlack) {
    Picture font("DATAS/font.tga");
    ASSERT_NE(font.pixels, nullptr);
    EXPECT_EQ(font.format, GL_RGBA);
    EXPECT_EQ(font.width, 512);
    EXPECT_EQ(font.height, 512);
    // Added onto the frame one/one: colour must equal coverage, or the cell's black
    // would not be transparent and the glyph edges would not be white.
    int mismatches = 0;
    for (int y = 0; y < font.height; ++y) {
        for (int x = 0; x < font.width; ++x) {
            const unsigned char* p = font.at(x, y);
            if (p[0] != p[3] || p[1] != p[3] || p[2] != p[3]) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);

    const std::vector<unsigned char> file = bytesOf("DATAS/font.tga");
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(file[2], 10) << "run-length encoded";
    EXPECT_EQ(file[16], 32);
    EXPECT_EQ(file[17], 8) << "eight alpha bits, rows from the bottom";
}

TEST(FontAtlas, EveryPrintableCharacterSitsInsideItsCellAndNothingElseIsDrawn) {
    Picture font("DATAS/font.tga");
    ASSERT_NE(font.pixels, nullptr);
    ASSERT_EQ(font.width, 512);
    const int cell = 32;
    // Which texels belong to the inner part of a printable character's cell; the
    // one-texel ring around it must stay black, or linear filtering at a quad's edge
    // would show a sliver of the neighbouring glyph.
    std::vector<int> owner(512 * 512, 0);
    for (int code = 33; code <= 126; ++code) {
        const Cell c = cellOf(code, 512);
        ASSERT_GE(c.bottom, 0);
        ASSERT_LE(c.bottom + cell, 512) << "code " << code;
        for (int y = 1; y < cell - 1; ++y)
            for (int x = 1; x < cell - 1; ++x)
                owner[(c.bottom + y) * 512 + c.left + x] = code;
    }
    int stray = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            if (font.at(x, y)[3] != 0 && owner[y * 512 + x] == 0) ++stray;
    EXPECT_EQ(stray, 0) << "texels lit outside the printable characters' cells";

    for (int code = 33; code <= 126; ++code) {
        const Ink ink = inkOf(font, code);
        EXPECT_GT(ink.total, 255 * 8) << "code " << code << " '" << char(code) << "' is empty";
        // Centred across, so the 28.8-unit advance spaces every glyph alike.
        EXPECT_NEAR(ink.cx, 15.5, 4.5) << "code " << code << " '" << char(code) << "'";
    }
    EXPECT_EQ(inkOf(font, ' ').total, 0) << "the space (the last card) must draw nothing";
    EXPECT_GT(inkOf(font, 'A').total, 255 * 40);
}

TEST(FontAtlas, CellsHoldTheirOwnCharactersUprightAndUnmirrored) {
    Picture font("DATAS/font.tga");
    ASSERT_NE(font.pixels, nullptr);
    ASSERT_EQ(font.width, 512);
    // Neighbours in the layout have telling shapes: a cell off by one code, a row or a
    // mirror image shows here.
    const Ink under = inkOf(font, '_'), grave = inkOf(font, '`'), tick = inkOf(font, '\'');
    EXPECT_LT(under.cy, 12) << "'_' sits low";
    EXPECT_GT(grave.cy, 18) << "'`' sits high";
    EXPECT_GT(tick.cy, 18) << "''' sits high";
    EXPECT_GT(inkOf(font, '-').width(), 2 * inkOf(font, '-').height());
    EXPECT_GT(inkOf(font, '|').height(), 3 * inkOf(font, '|').width());
    EXPECT_LT(inkOf(font, '.').total * 5, inkOf(font, 'W').total);
    // Stems: 'b' and 'p' on the left, 'd' and 'q' on the right; 'p' and 'q' descend.
    EXPECT_LT(inkOf(font, 'b').cx + 1, inkOf(font, 'd').cx);
    EXPECT_LT(inkOf(font, 'p').cx + 1, inkOf(font, 'q').cx);
    EXPECT_LT(inkOf(font, 'p').minY + 3, inkOf(font, 'o').minY) << "'p' descends below 'o'";
    EXPECT_GT(inkOf(font, 'b').maxY, inkOf(font, 'o').maxY + 3) << "'b' rises above 'o'";
    // Letters share a baseline: 'x', 'o', 'H' and '1' start on the same row.
    const int base = inkOf(font, 'x').minY;
    for (char c : {'o', 'H', '1', 'E', 'z'})
        EXPECT_NEAR(inkOf(font, c).minY, base, 1) << c;
    // Capitals are taller than small letters, and both sit well inside the cell.
    EXPECT_GT(inkOf(font, 'E').height(), inkOf(font, 'x').height() + 3);
    EXPECT_GE(inkOf(font, 'E').height(), 16);
}

// ---- flare.tga and map.tga ----

double brightness(const unsigned char* p) { return (p[0] + p[1] + p[2]) / 3.0; }

TEST(Textures, FlareIsASoftCoolLightFadingToADarkRim) {
    Picture flare("DATAS/flare.tga");
    ASSERT_NE(flare.pixels, nullptr);
    EXPECT_EQ(flare.format, GL_RGB);
    ASSERT_EQ(flare.width, 256);
    ASSERT_EQ(flare.height, 256);
    const std::vector<unsigned char> file = bytesOf("DATAS/flare.tga");
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(file[2], 2) << "uncompressed";

    // Mean brightness on rings around the centre falls steadily towards the rim.
    double previous = 256;
    for (double r = 0.0; r < 0.95; r += 0.15) {
        double sum = 0;
        int n = 0;
        for (int k = 0; k < 64; ++k) {
            const double a = 2 * 3.14159265358979 * k / 64;
            const int x = static_cast<int>(128 + r * 127 * std::cos(a));
            const int y = static_cast<int>(128 + r * 127 * std::sin(a));
            sum += brightness(flare.at(x, y));
            ++n;
        }
        EXPECT_LT(sum / n, previous) << "ring " << r;
        previous = sum / n;
    }
    EXPECT_GT(brightness(flare.at(128, 128)), 240);
    EXPECT_LT(brightness(flare.at(0, 0)), 10);
    EXPECT_LT(brightness(flare.at(255, 255)), 10);
    EXPECT_LT(previous, 40) << "the rim is dark";

    // Cool: blue outweighs red across the glow.
    double red = 0, blue = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            red += flare.at(x, y)[0];
            blue += flare.at(x, y)[2];
        }
    }
    EXPECT_GT(blue, red * 1.15);
}

TEST(Textures, MapIsASmoothNonFlatPattern) {
    Picture map("DATAS/map.tga");
    ASSERT_NE(map.pixels, nullptr);
    EXPECT_EQ(map.format, GL_RGB);
    ASSERT_EQ(map.width, 256);
    ASSERT_EQ(map.height, 256);
    double lo = 255, hi = 0;
    int steepest = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const unsigned char* p = map.at(x, y);
            lo = std::min(lo, brightness(p));
            hi = std::max(hi, brightness(p));
            // Neighbours wrap around: the pattern tiles without a seam.
            const unsigned char* right = map.at((x + 1) % 256, y);
            const unsigned char* up = map.at(x, (y + 1) % 256);
            for (int i = 0; i < 3; ++i)
                steepest = std::max({steepest, std::abs(p[i] - right[i]), std::abs(p[i] - up[i])});
        }
    }
    EXPECT_GT(hi - lo, 40) << "a pattern, not a flat colour";
    EXPECT_LE(steepest, 12) << "soft: no hard edges, also across the wrap";
}

// ASSETGEN_IMAGES and VELMORA_FONT_FILE come from the build (tests/assets.cmake).
TEST(Textures, TheGeneratorGivesTheSameFilesEveryTime) {
    const std::string dir = "assets-again";
    const std::string command = std::string("mkdir -p ") + dir + " && '" + ASSETGEN_IMAGES + "' '" +
                                VELMORA_FONT_FILE + "' " + dir;
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"font.tga", "map.tga", "flare.tga"}) {
        const std::vector<unsigned char> again = bytesOf(dir + "/" + name);
        EXPECT_FALSE(again.empty()) << name;
        EXPECT_TRUE(again == bytesOf(std::string("DATAS/") + name)) << name;
    }
}

// ---- zik.mp3 ----

// The whole soundtrack decoded to 44.1 kHz 16-bit stereo by SDL_mixer, the demo's player.
class Soundtrack : public ::testing::Test {
protected:
    static constexpr int rate = 44100;
    std::vector<short> samples; // interleaved left, right

    void SetUp() override {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(rate, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&frequency, &format, &channels);
        ASSERT_EQ(frequency, rate);
        ASSERT_EQ(format, AUDIO_S16SYS);
        ASSERT_EQ(channels, 2);
        Mix_Chunk* chunk = Mix_LoadWAV("DATAS/zik.mp3");
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const short* data = reinterpret_cast<const short*>(chunk->abuf);
        samples.assign(data, data + chunk->alen / sizeof(short));
        Mix_FreeChunk(chunk);
    }
    void TearDown() override {
        Mix_CloseAudio();
        SDL_Quit();
    }

    double seconds() const { return samples.size() / 2.0 / rate; }
    size_t index(double t) const {
        return std::min(samples.size(), 2 * static_cast<size_t>(t * rate));
    }
    // Level over [from, to) in dB of full scale.
    double rms(double from, double to) const {
        double sum = 0;
        for (size_t i = index(from); i < index(to); ++i)
            sum += double(samples[i]) * samples[i];
        const double n = std::max<double>(1, index(to) - index(from));
        return 10 * std::log10(sum / n / (32768.0 * 32768.0) + 1e-30);
    }
    int peak(double from, double to) const {
        int p = 0;
        for (size_t i = index(from); i < index(to); ++i)
            p = std::max(p, std::abs(int(samples[i])));
        return p;
    }
};

TEST_F(Soundtrack, LastsTheShowAndPeaksJustBelowFullScale) {
    EXPECT_GE(seconds(), 175.0);
    EXPECT_LE(seconds(), 177.0);
    const int top = peak(0, seconds());
    EXPECT_LT(top, 32767) << "clipped";
    const double dB = 20 * std::log10(top / 32768.0);
    EXPECT_GT(dB, -2.5) << "normalised to about -1 dBFS";
}

TEST_F(Soundtrack, PlaysThroughoutThenFadesToSilenceWithThePicture) {
    for (double t = 0; t + 5 <= 170; t += 1)
        EXPECT_GT(rms(t, t + 5), -45) << "silent from " << t << " s";
    EXPECT_GT(rms(171, 172), -20) << "still playing just before the fade";
    EXPECT_LT(peak(175.7, seconds()), 33) << "silent (below -60 dBFS) after 175.6 s";
    // Calmer under the moving background and the closing cards than around them.
    const double calm = rms(125, 155);
    EXPECT_LT(calm, rms(90, 115) - 4);
    EXPECT_LT(calm, rms(55, 80) - 4);
    EXPECT_LT(calm, rms(164, 171) - 4);
    // The beat comes in at the first cut (10 s), not before.
    EXPECT_GT(rms(10, 11), rms(8.5, 9.5) + 6);
}

TEST_F(Soundtrack, KeepsTimeAtOneHundredAndTwentyBeatsAMinute) {
    // Loudness every 10 ms through the theme (20 to 50 s) repeats most strongly
    // every 50 frames: one beat of 500 ms, the grid every cut of the show falls on.
    std::vector<double> level;
    for (double t = 20; t < 50; t += 0.01)
        level.push_back(std::pow(10, rms(t, t + 0.01) / 20));
    double mean = 0;
    for (double v : level)
        mean += v / level.size();
    auto correlation = [&](int lag) {
        double sum = 0;
        for (size_t i = 0; i + lag < level.size(); ++i)
            sum += (level[i] - mean) * (level[i + lag] - mean);
        return sum;
    };
    int best = 0;
    for (int lag = 35; lag <= 65; ++lag)
        if (best == 0 || correlation(lag) > correlation(best)) best = lag;
    EXPECT_EQ(best, 50);
}

} // namespace
