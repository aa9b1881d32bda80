// The bitmap font and the text cards, with a font image whose every printable code has
// a cell of its own colour (the space black, cells no character reaches white).
#include "Image.h"
#include "effects/FxFont.h"
#include "engine/Attrib.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include "support/Scratch.h"
#include <memory>

namespace {

std::array<int, 3> cellColour(int code) {
    if (code == 32) return {0, 0, 0};
    if (code < 32 || code > 127) return {255, 255, 255};
    return {60 + 2 * (code - 32), 250 - 2 * (code - 32), 40 + (code % 3) * 60};
}

class FontTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // 16 x 16 cells of 16 texels with a margin of 2; cell row r from the top edge
        // holds codes 16 (r + 2) to 16 (r + 2) + 15.
        Image font(256, 256, 3);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (x % 16 >= 2 && x % 16 < 14 && y % 16 >= 2 && y % 16 < 14)
                    for (int c = 0; c < 3; ++c)
                        font.fromTop(x, y)[c] = uint8_t(cellColour(16 * (y / 16 + 2) + x / 16)[c]);
        scratch.enter();
        ASSERT_TRUE(writeTga("DATAS/font.tga", font, true));
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

// Glyph centres relative to the pen, as printed in a projection of one unit a pixel.
std::string layout(BitmapFont& font, const char* text) {
    const auto polygons = feedback([&] {
        GLPP::glppOrtho2D ortho(0, 800, 0, 600);
        glTranslatef(100, 300, 0);
        font.print(text);
    });
    std::string out;
    for (size_t i = 0; i < polygons.size(); i += 2) { // a glyph's quad reaches GL as two triangles
        float x = 0, y = 0;
        for (const auto& p : polygons[i]) // the first triangle spans the glyph's diagonal
            x = std::max(x, p[0]), y = std::max(y, p[1]);
        char centre[32];
        std::snprintf(centre, sizeof centre, "%.1f,%.1f ", x - 16 - 100, y - 16 - 300);
        out += centre;
    }
    return out;
}

// Glyph i of line l centred at (28.8 i, -32 l): the expected layout for these lines.
std::string lines(std::initializer_list<int> glyphs) {
    std::string out;
    int line = 0;
    for (int count : glyphs) {
        for (int i = 0; i < count; ++i) {
            char centre[32];
            std::snprintf(centre, sizeof centre, "%.1f,%.1f ", 28.8 * i, -32.0 * line + 0.0);
            out += centre;
        }
        ++line;
    }
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
         lines({3})}, // only codes 32 to 127 have glyphs
    };
    for (const auto& [text, want] : rows)
        EXPECT_EQ(layout(*fx->font, text), want) << text;
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// Each glyph adds 80 % of its cell, centred 28.8 k units right of a quarter of the width
// in, at mid-height (a unit is 1 pixel across, 1.5 up), shaken by at most 5.5 units.
TEST_F(FontTest, CardsAddTheirGlyphCellsWhereTheLayoutPutsThem) {
    fill(20 / 255.0f, 20 / 255.0f, 20 / 255.0f);
    show("VELMORA");
    const char* word = "VELMORA";
    for (int k = 0; k < 7; ++k) {
        const Rgba p = pixel(200 + int(28.8 * k) + 3, 304);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(p[size_t(c)], 20 + 0.8 * cellColour(word[k])[size_t(c)], 2) << word[k];
    }
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
    AttribSet set;
    set.set(Attrib("text", "A"));
    fx->configure(&set);
    for (int r : {r1, r2}) {
        const auto p = feedback([&] { fx->draw(0); });
        ASSERT_FALSE(p.empty());
        const float j = r / 32767.0f * 5.5f;
        EXPECT_NEAR(p[0][0][0], 200 - 16 + j, 1e-3); // the glyph's lower-left corner
        EXPECT_NEAR(p[0][0][1], 300 - 24 + 1.5f * j, 1e-3);
    }
    EXPECT_EQ(std::rand(), r3);
    AttribSet other; // a set without "text", or none, keeps the text
    other.set(Attrib("mode", 3));
    fx->configure(&other);
    fx->configure(nullptr);
    EXPECT_EQ(fx->text, "A");
}

} // namespace
