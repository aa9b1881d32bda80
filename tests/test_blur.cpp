#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "effects/Blur.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

AttribSet zoomSet(int level) {
    AttribSet s;
    s.set(Attrib("level", level));
    s.set(Attrib("mode", 0));
    return s;
}
AttribSet modeSet(int mode) {
    AttribSet s;
    s.set(Attrib("mode", mode));
    return s;
}

class BlurTest : public GlTest {
protected:
    std::unique_ptr<Blur> blur;

    // Needs the context: the constructor makes the textures.
    void make(bool big = true) {
        open(big);
        blur = std::make_unique<Blur>(1);
    }
    // Shows the blur as an entry of `duration` ms from 2000, `elapsed` ms in.
    void show(const AttribSet& set, int elapsed, int duration = 1000) {
        Fx entry(blur.get(), duration, &set);
        entry.start = 2000;
        entry.draw(2000 + elapsed);
    }
    // Clears the frame to grey `value` (0..255) in the window rectangle given, black elsewhere.
    static void greyIn(int value, int x, int y, int w, int h) {
        fill(0, 0, 0);
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, w, h);
        fill(value / 255.0f, value / 255.0f, value / 255.0f);
        glDisable(GL_SCISSOR_TEST);
    }
    static int grey(int x, int y) { return pixel(x, y)[0]; }
    static std::vector<uint8_t> frame() {
        return platform::readRgbTopDown(platform::settings().width, platform::settings().height);
    }
};

TEST_F(BlurTest, ZoomIntensityIsClampedToOneNearTheStart) {
    EXPECT_EQ(Blur::zoomIntensity(0), 1.0f);
    EXPECT_EQ(Blur::zoomIntensity(0.1f), 1.0f);
    EXPECT_FLOAT_EQ(Blur::zoomIntensity(0.5f), 0.4f);
    EXPECT_FLOAT_EQ(Blur::zoomIntensity(1), 0.2f);
}

TEST_F(BlurTest, ZoomAddsLevelPlusFiveProgressLayers) {
    for (bool big : {true, false}) {
        make(big);
        const int cx = platform::settings().width / 2, cy = platform::settings().height / 2;
        const AttribSet five = zoomSet(5), below = zoomSet(-10);

        greyIn(32, 0, 0, 800, 600);
        show(five, 0); // six layers at full intensity
        EXPECT_EQ(grey(cx, cy), 32 * 7) << "big " << big;
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));

        greyIn(64, 0, 0, 800, 600);
        show(five, 1000); // eleven layers at 0.2: 64 + 11 x 12.8
        EXPECT_NEAR(grey(cx, cy), 64 + 11 * 12.8, 6);

        greyIn(32, 0, 0, 800, 600);
        show(zoomSet(1), 250); // 1 + 1.25: three layers at 0.8
        EXPECT_NEAR(grey(cx, cy), 32 + 3 * 25.6, 3);

        for (int elapsed : {0, 500, 999}) { // level -10: no layer at all
            greyIn(32, 0, 0, 800, 600);
            const auto before = frame();
            show(below, elapsed);
            EXPECT_TRUE(frame() == before) << elapsed;
        }
    }
}

// How many of `count` zoom layers (layer i enlarged 1.013^(i + 1) about x = 400) put the
// grey right of x = 600 on window column px; -1 when one only partly covers it.
int layersOver(int px, int count) {
    const double offset = px + 0.5 - 400;
    int full = 0;
    double scale = 1;
    for (int i = 0; i < count; ++i) {
        scale *= 1.013;
        if (offset >= 200.5 * scale)
            ++full;
        else if (offset > 199.5 * scale)
            return -1; // the texel edge falls inside this pixel
    }
    return full;
}

TEST_F(BlurTest, ZoomLayersAreEnlargedAboutTheCentre) {
    make();
    const AttribSet five = zoomSet(5), twenty = zoomSet(20);
    greyIn(32, 600, 0, 200, 600); // grey right of x = 600
    show(five, 0);
    EXPECT_EQ(grey(590, 300), 0);
    EXPECT_EQ(grey(601, 300), 32);     // every layer is pushed out past this pixel
    EXPECT_EQ(grey(609, 300), 32 * 4); // layers 1.013, 1.013^2 and 1.013^3 reach it
    EXPECT_EQ(grey(640, 300), 32 * 7);

    greyIn(32, 0, 0, 200, 600); // grey left of x = 200: the mirror image
    show(five, 0);
    EXPECT_EQ(grey(210, 300), 0);
    EXPECT_EQ(grey(198, 300), 32);
    EXPECT_EQ(grey(190, 300), 32 * 4);
    EXPECT_EQ(grey(150, 300), 32 * 7);

    greyIn(8, 600, 0, 200, 600); // 21 layers spread the edge over 60 pixels
    show(twenty, 0);
    int checked = 0;
    for (int px = 601; px < 700; ++px) {
        const int layers = layersOver(px, 21);
        if (layers < 0) continue;
        ++checked;
        EXPECT_NEAR(grey(px, 300), 8 * (1 + layers), 1) << px;
    }
    EXPECT_GT(checked, 60);
}

TEST_F(BlurTest, AnEntryWithoutLevelUsesOneEvenAfterAnotherSetFive) {
    make();
    const AttribSet five = zoomSet(5), plain = modeSet(0);
    greyIn(32, 0, 0, 800, 600);
    show(five, 0);
    EXPECT_EQ(grey(400, 300), 32 * 7);
    EXPECT_EQ(blur->level, 1);

    greyIn(32, 0, 0, 800, 600);
    show(plain, 0); // level 1: two layers
    EXPECT_EQ(grey(400, 300), 32 * 3);
    EXPECT_EQ(blur->mode, 0);
}

TEST_F(BlurTest, GlowOnBlackStaysBlack) {
    for (bool big : {true, false}) {
        make(big);
        fill(0, 0, 0);
        show(modeSet(1), 300);
        const auto f = frame();
        EXPECT_EQ(*std::max_element(f.begin(), f.end()), 0) << "big " << big;
    }
}

TEST_F(BlurTest, GlowOfAFlatFrameAddsTheWeightedBlurOnce) {
    for (bool big : {true, false}) {
        make(big);
        const int w = platform::settings().width, h = platform::settings().height;
        greyIn(51, 0, 0, w, h);
        show(modeSet(1), 0);
        // Each pass brightens by the weights' sum 1.1625; the glow is added at 0.85.
        EXPECT_NEAR(grey(w / 2, h / 2), 51 + 0.85 * 51 * 1.1625 * 1.1625, 3) << "big " << big;
        EXPECT_NEAR(grey(w / 3, h / 4), 51 + 0.85 * 51 * 1.1625 * 1.1625, 3);
        // The miniature's top row and right column are black: no glow at those edges.
        EXPECT_NEAR(grey(w / 2, h - 1), 51, 2);
        EXPECT_NEAR(grey(w - 1, h / 2), 51, 2);
    }
}

TEST_F(BlurTest, GlowOnABrightSpotGivesASoftSquareHalo) {
    make();
    greyIn(255, 394, 294, 13, 13); // one miniature pixel's worth in the middle
    show(modeSet(1), 0);
    EXPECT_EQ(grey(400, 300), 255);
    // Around it a faint halo, fading outwards, reaching along both axes and diagonally
    // (the miniature is stretched back over 64 texels, so it sits a little lower left).
    for (auto [x, y] : {std::pair{352, 300},
                        {424, 300},
                        {400, 270},
                        {400, 320},
                        {370, 280},
                        {420, 315},
                        {365, 320}})
        EXPECT_GT(grey(x, y), 0) << x << "," << y;
    EXPECT_GT(grey(388, 300), grey(360, 300));
    EXPECT_GT(grey(360, 300), grey(344, 300));
    EXPECT_GT(grey(400, 290), grey(400, 260));
    // About seven miniature pixels across, and nothing beyond.
    for (auto [x, y] : {std::pair{320, 300},
                        {450, 300},
                        {400, 345},
                        {400, 240},
                        {450, 345},
                        {320, 240},
                        {100, 100}})
        EXPECT_EQ(grey(x, y), 0) << x << "," << y;
}

TEST_F(BlurTest, GlowIgnoresProgressAndLevel) {
    make();
    AttribSet glowFive = modeSet(2);
    glowFive.set(Attrib("level", 5));
    greyIn(200, 300, 200, 150, 90);
    show(modeSet(1), 50);
    const auto first = frame();
    greyIn(200, 300, 200, 150, 90);
    show(glowFive, 950);
    EXPECT_TRUE(frame() == first);
}

TEST_F(BlurTest, RestoresStateButLeavesBlendFunctionAndTexture) {
    make();
    for (int mode : {0, 1}) {
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glBlendFunc(GL_ZERO, GL_ZERO);
        glColor4f(0.3f, 0.6f, 0.9f, 0.5f);
        greyIn(40, 100, 100, 300, 300);
        show(modeSet(mode), 0);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << mode;
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        std::array<float, 4> colour{};
        glGetFloatv(GL_CURRENT_COLOR, colour.data());
        EXPECT_EQ(colour, (std::array<float, 4>{0.3f, 0.6f, 0.9f, 0.5f}));
        GLint v[4] = {};
        glGetIntegerv(GL_BLEND_SRC, &v[0]);
        glGetIntegerv(GL_BLEND_DST, &v[1]);
        EXPECT_EQ(v[0], GL_ONE);
        EXPECT_EQ(v[1], GL_ONE);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, v);
        EXPECT_EQ(static_cast<GLuint>(v[0]), mode == 0 ? blur->screen : blur->work);
        glGetIntegerv(GL_VIEWPORT, v);
        EXPECT_EQ((std::array<GLint, 4>{v[0], v[1], v[2], v[3]}),
                  (std::array<GLint, 4>{0, 0, 800, 600}));
        glGetIntegerv(GL_MATRIX_MODE, v);
        EXPECT_EQ(v[0], GL_MODELVIEW);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, v);
        EXPECT_EQ(v[0], 1);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, v);
        EXPECT_EQ(v[0], 1);
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    }
}

} // namespace
