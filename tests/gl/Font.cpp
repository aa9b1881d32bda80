// The bitmap font and the text cards, with the font image the asset generator draws.
#include "Font.h"
#include "effects/FxFont.h"
#include "effects/Random.h"
#include "engine/Attrib.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include <memory>
#include <numeric>

namespace {

Image atlas = drawFontAtlas(VELMORA_FONT_FILE); // as the build drew DATAS/font.tga

class FontTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        FxFont ballast("DATAS\\font.tga", 0); // glyph lists below this font's, for stray codes
        fx = std::make_unique<FxFont>("DATAS\\font.tga", 0);
    }
    void show(const char* text) {
        AttribSet set;
        set.set(Attrib("text", text));
        fx->configure(&set);
        fx->draw(0);
    }
    std::unique_ptr<FxFont> fx;
};

// A glyph's ink in 6 x 6 parts of the box its strokes span; ink(x, y) counts x from the
// left and y from the top of a w x h picture. Shapes are apart by how much of their ink,
// as shares of the whole, lies in other parts.
using Shape = std::array<double, 36>;
Shape shape(int w, int h, const std::function<int(int, int)>& ink) {
    int x0 = w, x1 = 0, y0 = h, y1 = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (ink(x, y) > 127)
                x0 = std::min(x0, x), x1 = std::max(x1, x + 1), y0 = std::min(y0, y), y1 = y + 1;
    Shape s{};
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            s[size_t((y - y0) * 6 / (y1 - y0) * 6 + (x - x0) * 6 / (x1 - x0))] += ink(x, y);
    return s;
}
double apart(const Shape& a, const Shape& b) {
    const double inkA = std::accumulate(a.begin(), a.end(), 0.0),
                 inkB = std::accumulate(b.begin(), b.end(), 0.0);
    return std::inner_product(a.begin(), a.end(), b.begin(), 0.0, std::plus<>(),
                              [&](double p, double q) { return std::abs(p / inkA - q / inkB); });
}

// Every printable code, printed one texel a pixel, shows the very cell the generator drew
// for it (a pixel mixes its texel with the one above), and that cell holds the character
// upright and unmirrored: nearer in shape to FreeType's own picture of it than to that
// picture mirrored or upside down, wherever those differ clearly.
TEST_F(FontTest, PrintsTheGlyphsTheGeneratorDrewUprightAndUnmirrored) {
    startState(false);
    fill(0, 0, 0);
    const auto corner = [](int c) { return std::pair{(c - 33) % 16 * 40, (c - 33) / 16 * 40}; };
    GLPP::glppOrtho2D ortho(0, 800, 0, 600);
    for (int c = 33; c < 127; ++c) {
        glLoadIdentity();
        glTranslatef(float(corner(c).first + 16), float(600 - corner(c).second - 16), 0);
        fx->font->print(std::string(1, char(c)));
    }
    const std::vector<uint8_t> shot = frame();
    FT_Library library;
    FT_Face face;
    ASSERT_FALSE(FT_Init_FreeType(&library) || FT_New_Face(library, VELMORA_FONT_FILE, 0, &face));
    FT_Set_Pixel_Sizes(face, 0, 64);
    for (int c = 33; c < 127; ++c) {
        const auto [left, top] = corner(c);
        const auto cell = [&](int x, int y) {
            return y < 0 ? 0 : int(atlas.fromTop(fontCellLeft(c) + x, fontCellTop(c) + y)[0]);
        };
        for (int y = 0; y < fontCell; ++y)
            for (int x = 0; x < fontCell; ++x) {
                const int printed = shot[size_t((top + y) * 800 + left + x) * 3];
                const int above = cell(x, y - 1), here = cell(x, y);
                ASSERT_LE(std::abs(2 * printed - above - here), std::abs(above - here) + 6)
                    << char(c) << " at " << x << "," << y << ": " << printed;
            }
        const Shape seen = shape(fontCell, fontCell, cell);
        ASSERT_GT(std::accumulate(seen.begin(), seen.end(), 0.0), 0) << char(c) << " is drawn";
        ASSERT_FALSE(FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER));
        const FT_Bitmap& b = face->glyph->bitmap;
        const int w = int(b.width), h = int(b.rows);
        const auto truth = [&](int x, int y) { return int(b.buffer[y * b.pitch + x]); };
        const Shape upright = shape(w, h, truth);
        for (const Shape& wrong : {shape(w, h, [&](int x, int y) { return truth(w - 1 - x, y); }),
                                   shape(w, h, [&](int x, int y) { return truth(x, h - 1 - y); })})
            if (apart(upright, wrong) > 0.25) {
                EXPECT_LT(apart(seen, upright), apart(seen, wrong)) << char(c);
            }
    }
    FT_Done_FreeType(library);
}

// The ink of code c's glyph in an atlas of `cell`-pixel cells: its amount, and its
// centre across and down, all in pixels of the designed cell.
std::array<double, 3> inkOf(Image& a, int cell, int c) {
    const double k = double(cell) / fontCell;
    std::array<double, 3> s{};
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            const double v = a.fromTop(fontCellLeft(c, cell) + x, fontCellTop(c, cell) + y)[0];
            s[0] += v, s[1] += v * (x + 0.5), s[2] += v * (y + 0.5);
        }
    return {s[0] / (k * k), s[1] / s[0] / k, s[2] / s[0] / k};
}

// The larger atlases are the designed one drawn finer: every glyph's ink has the designed
// glyph's amount, within 3 %, and centre, within a tenth of a designed pixel.
TEST(FontAtlas, LargerAtlasesHoldTheDesignedGlyphsFiner) {
    for (int k : {2, 4}) {
        Image fine = drawFontAtlas(VELMORA_FONT_FILE, k * fontCell);
        for (int c = 33; c < 127; ++c) {
            const auto d = inkOf(atlas, fontCell, c), f = inkOf(fine, k * fontCell, c);
            EXPECT_NEAR(f[0] / d[0], 1, 0.03) << char(c) << " at " << k << "x";
            EXPECT_NEAR(f[1], d[1], 0.1) << char(c) << " at " << k << "x";
            EXPECT_NEAR(f[2], d[2], 0.1) << char(c) << " at " << k << "x";
        }
    }
}

std::string at(double x, double y) {
    char centre[32];
    std::snprintf(centre, sizeof centre, "%.1f,%.1f ", x, y + 0.0);
    return centre;
}

// Glyph centres relative to the pen, printed in a projection of one unit a pixel; glyph i
// of line l is expected at (28.8 i, -32 l).
std::string layout(const std::function<void()>& print) {
    const auto polygons = feedback([&] {
        GLPP::glppOrtho2D ortho(0, 800, 0, 600);
        glTranslatef(100, 300, 0);
        print();
    });
    std::string out;
    for (size_t i = 0; i < polygons.size(); i += 2) { // two triangles a glyph, either spans it
        float x = -1e9f, y = -1e9f;
        for (const auto& p : polygons[i])
            x = std::max(x, p[0]), y = std::max(y, p[1]);
        out += at(x - 116, y - 316);
    }
    return out;
}
std::string lines(std::initializer_list<int> glyphs) {
    std::string out;
    for (size_t line = 0; line < glyphs.size(); ++line)
        for (int i = 0; i < glyphs.begin()[line]; ++i)
            out += at(28.8 * i, -32.0 * line);
    return out;
}

TEST_F(FontTest, LinesStartTogetherAndEveryCharacterUpToTheEndIsDrawn) {
    const std::pair<const char*, std::string> rows[] = {
        {"Une Production\n   Morvanta", lines({14, 11})},
        {"VELMORA", lines({7})},
        {"AB\nC\nDE", lines({2, 1, 2})},
        {"A\n\nB", lines({1, 0, 1})},
        {"\nA", lines({0, 1})},
        {"A\n", lines({1})},
        {"\n", ""},
        {"A\x01\x1f\x7f\x80\377B", lines({3})}}; // glyphs for 32 to 127
    for (const auto& [text, want] : rows)
        EXPECT_EQ(layout([&] { fx->font->print(text); }), want) << text;
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// A card adds its glyphs at 80 % onto the frame where the layout above puts them, shaken
// anew by one random number a draw; the space adds nothing visible.
TEST_F(FontTest, CardsAddTheirGlyphsAtEightyPercentShakenByOneRandomNumber) {
    fill(20 / 255.0f, 20 / 255.0f, 20 / 255.0f);
    show("VELMORA");
    const std::vector<uint8_t> shot = frame();
    const auto [darkest, brightest] = std::minmax_element(shot.begin(), shot.end());
    EXPECT_EQ(std::pair(int(*darkest), int(*brightest)), std::pair(20, 20 + 204));
    show(" ");
    EXPECT_TRUE(frame() == shot);
    restartRandom(77);
    const int r1 = rand15(), r2 = rand15(), r3 = drawRandom();
    restartRandom(77);
    show("A");
    const std::string second = layout([&] { fx->draw(0); });
    EXPECT_EQ(drawRandom(), r3);
    // The card's units put the pen at (200, 300) pixels, a unit 1.5 pixels up; the shake
    // j = r / 32767 x 5.5 units moves it right and up.
    const float j = r2 / 32767.0f * 5.5f;
    EXPECT_EQ(second, at(100 + j, 1.5f * (16 + j) - 16)) << "the first draw took " << r1;
    AttribSet other; // a set without "text", or none, keeps the text
    other.set(Attrib("mode", 3));
    fx->configure(&other);
    fx->configure(nullptr);
    EXPECT_EQ(fx->text, "A");
}

} // namespace
