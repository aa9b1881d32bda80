// The bitmap font and the text cards, with a font image in which every printable code
// has a cell of its own colour (the space's black), and cells no character reaches white.
#include "Image.h"
#include "effects/FxFont.h"
#include "engine/Attrib.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include "support/Scratch.h"
#include <memory>

namespace {

std::array<int, 3> cellColour(int code) {
    if (code < 32 || code > 127) return {255, 255, 255};
    return {code == 32 ? 0 : 60 + 2 * (code - 32), code == 32 ? 0 : 250 - 2 * (code - 32),
            code == 32 ? 0 : 40 + (code % 3) * 60};
}

class FontTest : public GlTest {
protected:
    void SetUp() override { // cells of 16 texels with a margin of 2; row r from the top holds codes
                            // 16 (r + 2) on
        GlTest::SetUp();
        Image font(256, 256, 3);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                for (int c = 0; c < 3 && x % 16 >= 2 && x % 16 < 14 && y % 16 >= 2 && y % 16 < 14;
                     ++c)
                    font.fromTop(x, y)[c] =
                        uint8_t(cellColour(16 * (y / 16 + 2) + x / 16)[size_t(c)]);
        scratch.enter();
        ASSERT_TRUE(writeTga("DATAS/font.tga", font, true));
        FxFont ballast("DATAS\\font.tga", 0); // glyph lists below this font's, for stray codes
        fx = std::make_unique<FxFont>("DATAS\\font.tga", 0);
    }
    void show(const char* text) {
        AttribSet set;
        set.set(Attrib("text", text));
        fx->configure(&set);
        fx->draw(0);
    }
    Scratch scratch;
    std::unique_ptr<FxFont> fx;
};

// Glyph centres relative to the pen, printed in a projection of one unit a pixel; glyph i
// of line l is expected at (28.8 i, -32 l).
std::string layout(const std::function<void()>& print) {
    const auto polygons = feedback([&] {
        GLPP::glppOrtho2D ortho(0, 800, 0, 600);
        glTranslatef(100, 300, 0);
        print();
    });
    std::string out;
    char centre[32];
    for (size_t i = 0; i < polygons.size(); i += 2) { // two triangles a glyph, either spans it
        float x = -1e9f, y = -1e9f;
        for (const auto& p : polygons[i])
            x = std::max(x, p[0]), y = std::max(y, p[1]);
        std::snprintf(centre, sizeof centre, "%.1f,%.1f ", x - 116, y - 316);
        out += centre;
    }
    return out;
}
std::string lines(std::initializer_list<int> glyphs) {
    std::string out;
    char centre[32];
    for (size_t line = 0; line < glyphs.size(); ++line)
        for (int i = 0; i < glyphs.begin()[line]; ++i)
            out +=
                (std::snprintf(centre, sizeof centre, "%.1f,%.1f ", 28.8 * i, -32.0 * line + 0.0),
                 centre);
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
        {"A\x01\x1f\x7f\x80\xff"
         "B",
         lines({3})}}; // glyphs for 32 to 127
    for (const auto& [text, want] : rows)
        EXPECT_EQ(layout([&] { fx->font->print(text); }), want) << text;
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// Each glyph adds 80 % of its cell, centred 28.8 k units right of a quarter of the width
// in, at mid-height (a unit is 1 pixel across, 1.5 up), shaken by at most 5.5 units.
TEST_F(FontTest, CardsAddTheirGlyphCellsWhereTheLayoutPutsThem) {
    fill(20 / 255.0f, 20 / 255.0f, 20 / 255.0f);
    show("VELMORA");
    for (int k = 0; k < 7; ++k)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel(203 + int(28.8 * k), 304)[size_t(c)],
                        20 + 0.8 * cellColour("VELMORA"[k])[size_t(c)], 2)
                << k;
    for (auto [x, y] :
         {std::pair{200 + int(28.8 * 7) + 4, 304}, {300, 340}, {300, 260}, {150, 304}})
        EXPECT_EQ(pixel(x, y), (Rgba{20, 20, 20, 255})) << x << "," << y;
    fill(0, 0, 0);
    show("AB\nCD"); // the second line 32 units, 48 pixels, lower
    EXPECT_NEAR(pixel(203 + 29, 304 - 48)[0], 0.8 * cellColour('D')[0], 2);
    const std::vector<uint8_t> before = frame();
    show(" ");
    EXPECT_TRUE(frame() == before) << "the space draws nothing visible";
}

TEST_F(FontTest, TheShakeTakesOneRandomNumberPerDraw) {
    std::srand(77);
    const int r1 = std::rand() & 0x7FFF, r2 = std::rand() & 0x7FFF, r3 = std::rand();
    std::srand(77);
    show("A");
    const std::string second = layout([&] { fx->draw(0); });
    EXPECT_EQ(std::rand(), r3);
    // The card's units put the pen at (200, 300) pixels, a unit 1.5 pixels up; the shake
    // j = r / 32767 x 5.5 units moves it right and up.
    const float j = r2 / 32767.0f * 5.5f;
    char want[32];
    std::snprintf(want, sizeof want, "%.1f,%.1f ", 100 + j, 1.5f * (16 + j) - 16);
    EXPECT_EQ(second, want) << "the first draw took " << r1;
    AttribSet other; // a set without "text", or none, keeps the text
    other.set(Attrib("mode", 3));
    fx->configure(&other);
    fx->configure(nullptr);
    EXPECT_EQ(fx->text, "A");
}

} // namespace
