// The bitmap font and the text cards: glyph cells, the layout of lines as GL receives
// it, and the pixels of cards drawn with a font image written here.
#include "effects/FxFont.h"
#include "platform/Gl.h"
#include "engine/Attrib.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include "test_scene_files.h"
#include <GL/glext.h>
#include <cstdlib>
#include <memory>

namespace {

// The colour of a character's cell in the test font: every printable code its own,
// the space black, the cells no character reaches white.
Rgb cellColour(int code) {
    if (code == 32) return {0, 0, 0};
    if (code < 32 || code > 127) return {255, 255, 255};
    const int k = code - 32;
    return {uint8_t(60 + 2 * k), uint8_t(250 - 2 * k), uint8_t(40 + (code % 3) * 60)};
}

// 256 x 256 texels: 16 x 16 cells of 16 texels, each coloured but for a black margin
// of 2 texels, as glyphs in a font image are. Cell row r from the top edge holds codes
// 16 (r + 2) to 16 (r + 2) + 15.
bool writeFont(const std::string& path) {
    std::vector<Rgb> pixels(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const int rowFromTop = 15 - y / 16;
            const bool margin = x % 16 < 2 || x % 16 >= 14 || y % 16 < 2 || y % 16 >= 14;
            if (!margin) pixels[size_t(y) * 256 + x] = cellColour(16 * (rowFromTop + 2) + x / 16);
        }
    return writeTga(path, 256, 256, pixels);
}

class FontTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(scratch.ok());
        ASSERT_TRUE(writeFont("DATAS/font.tga"));
        fx = std::make_unique<FxFont>("DATAS\\font.tga", 0);
        ASSERT_NE(fx->font->texture, nullptr);
    }

    void show(const char* text) {
        AttribSet set;
        set.set(Attrib("text", text));
        fx->configure(&set);
        fx->draw(0);
    }

    // Glyph centres of `text` printed with the pen at (100, 300) of a 1:1 projection,
    // relative to the pen.
    std::vector<std::array<float, 2>> layout(const char* text) {
        const auto draw = [&](const char* t) {
            return feedbackPolygons([&] {
                GLPP::glppOrtho2D ortho(0, 800, 0, 600);
                glTranslatef(100, 300, 0);
                fx->font->print(t);
            });
        };
        const size_t perGlyph = draw("A").size(); // a quad may reach feedback as triangles
        std::vector<std::array<float, 2>> centres;
        EXPECT_GE(perGlyph, 1u);
        if (perGlyph == 0) return centres;
        const auto polys = draw(text);
        EXPECT_EQ(polys.size() % perGlyph, 0u);
        for (size_t i = 0; i < polys.size(); i += perGlyph) {
            EXPECT_NEAR(polys[i].maxX() - polys[i].minX(), 32, 1e-3);
            EXPECT_NEAR(polys[i].maxY() - polys[i].minY(), 32, 1e-3);
            centres.push_back({polys[i].centreX() - 100, polys[i].centreY() - 300});
        }
        return centres;
    }

    static void expectAt(const std::vector<std::array<float, 2>>& glyphs, size_t i, float x,
                         float y) {
        ASSERT_LT(i, glyphs.size());
        EXPECT_NEAR(glyphs[i][0], x, 1e-3) << "glyph " << i;
        EXPECT_NEAR(glyphs[i][1], y, 1e-3) << "glyph " << i;
    }

    ScratchDir scratch;
    std::unique_ptr<FxFont> fx;
};

} // namespace

TEST(BitmapFontCells, CodeCMapsToColumnCMod16AndCellRowCDiv16Minus2) {
    const BitmapFont::Cell zero = BitmapFont::glyphCell(0);
    EXPECT_FLOAT_EQ(zero.s0, 0.0f);
    EXPECT_FLOAT_EQ(zero.s1, 0.0625f);
    EXPECT_FLOAT_EQ(zero.t0, 1.001f);
    EXPECT_FLOAT_EQ(zero.t1, 1.0635f);
    const BitmapFont::Cell a = BitmapFont::glyphCell('A' - 16);
    EXPECT_FLOAT_EQ(a.s0, 0.0625f);
    EXPECT_FLOAT_EQ(a.s1, 0.125f);
    EXPECT_FLOAT_EQ(a.t0, 0.8135f);
    EXPECT_FLOAT_EQ(a.t1, 0.876f);
    const BitmapFont::Cell last = BitmapFont::glyphCell(255);
    EXPECT_FLOAT_EQ(last.s0, 0.9375f);
    EXPECT_FLOAT_EQ(last.s1, 1.0f);
    EXPECT_FLOAT_EQ(last.t0, 0.0635f);
    EXPECT_FLOAT_EQ(last.t1, 0.126f);
    for (int code = 32; code < 128; ++code) {
        const BitmapFont::Cell c = BitmapFont::glyphCell(code - 16);
        const int row = code / 16 - 2;
        EXPECT_NEAR(c.s0, (code % 16) / 16.0, 1e-7) << code;
        EXPECT_NEAR(c.s1 - c.s0, 0.0625, 1e-7) << code;
        EXPECT_NEAR(c.t1, 1.0 - row / 16.0 + 0.001, 1e-6) << code;
        EXPECT_NEAR(c.t1 - c.t0, 0.0625, 1e-6) << code;
    }
}

TEST_F(FontTest, LinesStartAtTheSameXEach32UnitsLower) {
    const auto g = layout("Une Production\n   Morvanta");
    ASSERT_EQ(g.size(), 14u + 11u);
    for (size_t i = 0; i < 14; ++i)
        expectAt(g, i, 28.8f * i, 0);
    for (size_t i = 0; i < 11; ++i)
        expectAt(g, 14 + i, 28.8f * i, -32);

    const auto three = layout("AB\nC\nDE");
    ASSERT_EQ(three.size(), 5u);
    expectAt(three, 0, 0, 0);
    expectAt(three, 1, 28.8f, 0);
    expectAt(three, 2, 0, -32);
    expectAt(three, 3, 0, -64);
    expectAt(three, 4, 28.8f, -64);
}

TEST_F(FontTest, PrintDrawsEveryCharacterUpToTheEnd) {
    const auto g = layout("VELMORA");
    ASSERT_EQ(g.size(), 7u);
    expectAt(g, 6, 6 * 28.8f, 0);
    EXPECT_EQ(layout("A").size(), 1u);
    EXPECT_EQ(layout("").size(), 0u);
}

TEST_F(FontTest, LineBreaksOnlyMoveThePen) {
    EXPECT_EQ(layout("A\n").size(), 1u);
    EXPECT_EQ(layout("\n").size(), 0u);

    const auto twice = layout("A\n\nB");
    ASSERT_EQ(twice.size(), 2u);
    expectAt(twice, 0, 0, 0);
    expectAt(twice, 1, 0, -64);

    const auto leading = layout("\nA");
    ASSERT_EQ(leading.size(), 1u);
    expectAt(leading, 0, 0, -32);
}

TEST_F(FontTest, CodesOutside32To127DrawNothing) {
    const auto g = layout("A\x01\x1f\x7f\x80\xff"
                          "B");
    ASSERT_EQ(g.size(), 3u); // A, the glyph of code 127, B
    expectAt(g, 1, 28.8f, 0);
    expectAt(g, 2, 57.6f, 0);
}

TEST_F(FontTest, PrintLeavesTheModelviewAsItFound) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3, 4, 0);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    fx->font->print("ab\ncd");
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 3);
    EXPECT_FLOAT_EQ(m[13], 4);
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, depth);
}

// The card adds 80 % of each glyph's cell onto the frame, glyph k centred 28.8 k units
// right of the point a quarter of the width in, at mid-height (1 unit = 1 pixel
// across and 1.5 up at 800x600), shaken by at most 5.5 units.
TEST_F(FontTest, CardGlyphsAppearWhereTheLayoutPutsThem) {
    const int base = 20;
    fill(base / 255.0f, base / 255.0f, base / 255.0f);
    show("VELMORA");
    const char* word = "VELMORA";
    for (int k = 0; k < 7; ++k) {
        const Rgb cell = cellColour(word[k]);
        const Rgba p = pixel(200 + int(28.8 * k) + 3, 304);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(p[c], base + 0.8 * cell[size_t(c)], 2) << "glyph " << k << " " << rgba(p);
    }
    // Nothing past the last glyph, above or below the line.
    const Rgba background{base, base, base, 255};
    for (const auto& xy :
         {std::array<int, 2>{200 + int(28.8 * 7) + 4, 304}, {300, 340}, {300, 260}, {150, 304}}) {
        const Rgba p = pixel(xy[0], xy[1]);
        EXPECT_TRUE(p == background) << xy[0] << ", " << xy[1] << ": " << rgba(p);
    }
}

TEST_F(FontTest, SecondLineOfACardIs48PixelsLower) {
    fill(0, 0, 0);
    show("AB\nCD");
    const Rgb c = cellColour('C');
    const Rgba p = pixel(203, 304 - 48);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(p[k], 0.8 * c[size_t(k)], 2) << rgba(p);
    const Rgb d = cellColour('D');
    const Rgba q = pixel(203 + 29, 304 - 48);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(q[k], 0.8 * d[size_t(k)], 2) << rgba(q);
}

TEST_F(FontTest, SpaceCardDrawsNothingVisible) {
    fill(0.1f, 0.2f, 0.3f);
    std::vector<uint8_t> before(800 * 600 * 4), after(800 * 600 * 4);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, before.data());
    show(" ");
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, after.data());
    EXPECT_TRUE(before == after);
    // The same card with a letter does change the frame.
    show("X");
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, after.data());
    EXPECT_FALSE(before == after);
}

// One rand() per card: j = r / 32767 x 5.5 units right and up.
TEST_F(FontTest, ShakeTakesOneRandomNumberPerDraw) {
    std::srand(77);
    const int r1 = std::rand() & 0x7FFF, r2 = std::rand() & 0x7FFF, r3 = std::rand();
    std::srand(77);
    AttribSet set;
    set.set(Attrib("text", "A"));
    fx->configure(&set);
    const auto first = feedbackPolygons([&] { fx->draw(0); });
    const auto second = feedbackPolygons([&] { fx->draw(0); });
    EXPECT_EQ(std::rand(), r3);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    const float j1 = r1 / 32767.0f * 5.5f, j2 = r2 / 32767.0f * 5.5f;
    EXPECT_NEAR(first[0].centreX(), 200 + j1, 1e-3);
    EXPECT_NEAR(first[0].centreY(), 300 + 1.5f * j1, 1e-3);
    EXPECT_NEAR(second[0].centreX(), 200 + j2, 1e-3);
    EXPECT_NEAR(second[0].centreY(), 300 + 1.5f * j2, 1e-3);
}

TEST_F(FontTest, ConfigureTakesTheTextOnlyWhenTheSetHasIt) {
    AttribSet withText, without;
    withText.set(Attrib("text", "Greetings"));
    without.set(Attrib("mode", 3));
    fx->configure(&withText);
    EXPECT_EQ(fx->text, "Greetings");
    fx->configure(&without);
    EXPECT_EQ(fx->text, "Greetings");
    fx->configure(nullptr);
    EXPECT_EQ(fx->text, "Greetings");
}

namespace {

struct CardState {
    bool lighting, blend, depthTest, alphaTest, texture;
    GLfloat colour[4];
    GLint unit;
    GLenum matrixMode;
};

void apply(const CardState& s) {
    const auto set = [](GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); };
    set(GL_LIGHTING, s.lighting);
    set(GL_BLEND, s.blend);
    set(GL_DEPTH_TEST, s.depthTest);
    set(GL_ALPHA_TEST, s.alphaTest);
    set(GL_TEXTURE_2D, s.texture);
    glColor4fv(s.colour);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    platform::activeTexture(GLenum(s.unit));
    glMatrixMode(s.matrixMode);
}

} // namespace

// Everything a card changes is put back, except what the next user sets afresh: the
// depth mask ends true, the blend function one/one, texture unit 0 active.
TEST_F(FontTest, CardRestoresTheStateItChanges) {
    const CardState states[] = {
        {true, false, true, true, false, {0.1f, 0.2f, 0.3f, 0.4f}, GL_TEXTURE1_ARB, GL_PROJECTION},
        {false, true, false, false, true, {0.9f, 0.5f, 0.25f, 1}, GL_TEXTURE0_ARB, GL_MODELVIEW},
    };
    for (const CardState& s : states) {
        apply(s);
        const GLint projection = glInteger(GL_PROJECTION_STACK_DEPTH);
        const GLint modelview = glInteger(GL_MODELVIEW_STACK_DEPTH);
        show("Une Production\n   Morvanta");
        EXPECT_EQ(glOn(GL_LIGHTING), s.lighting);
        EXPECT_EQ(glOn(GL_BLEND), s.blend);
        EXPECT_EQ(glOn(GL_DEPTH_TEST), s.depthTest);
        EXPECT_EQ(glOn(GL_ALPHA_TEST), s.alphaTest);
        EXPECT_EQ(glOn(GL_TEXTURE_2D), s.texture);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(colour[i], s.colour[i]);
        EXPECT_EQ(glInteger(GL_DEPTH_WRITEMASK), GL_TRUE);
        EXPECT_EQ(glInteger(GL_BLEND_SRC), GL_ONE);
        EXPECT_EQ(glInteger(GL_BLEND_DST), GL_ONE);
        EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), projection);
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), modelview);
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    }
}
