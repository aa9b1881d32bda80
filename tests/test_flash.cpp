#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "effects/Flash.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

class FlashTest : public GlTest {
protected:
    Flash flash{1, 0};

    // Shows the flash as a timeline entry of `duration` ms starting at 5000, `elapsed`
    // ms in; `mode` goes into its parameter set.
    void show(int mode, int elapsed, int duration = 1000) {
        AttribSet set;
        set.set(Attrib("mode", mode));
        showWith(&set, elapsed, duration);
    }
    void showWith(const AttribSet* set, int elapsed, int duration = 1000) {
        Fx entry(&flash, duration, set);
        entry.start = 5000;
        entry.draw(5000 + elapsed);
    }

    // Smallest and largest channel value over the whole screen (RGB).
    static std::pair<int, int> range() {
        const auto rgb =
            platform::readRgbTopDown(platform::settings().width, platform::settings().height);
        const auto mm = std::minmax_element(rgb.begin(), rgb.end());
        return {*mm.first, *mm.second};
    }
    static std::array<float, 4> currentColour() {
        std::array<float, 4> c{};
        glGetFloatv(GL_CURRENT_COLOR, c.data());
        return c;
    }
    static GLint integer(GLenum name) {
        GLint v = 0;
        glGetIntegerv(name, &v);
        return v;
    }
};

void expectNear(const GlTest::Rgba& got, int r, int g, int b, int tolerance) {
    EXPECT_LE(std::abs(got[0] - r), tolerance) << testing::PrintToString(got);
    EXPECT_LE(std::abs(got[1] - g), tolerance) << testing::PrintToString(got);
    EXPECT_LE(std::abs(got[2] - b), tolerance) << testing::PrintToString(got);
}

TEST_F(FlashTest, WhiteFlashFillsTheScreenHalfwayAndAddsNothingAtItsStart) {
    for (bool big : {true, false}) {
        open(big);
        fill(0.2f, 0.4f, 0.6f);
        const Rgba before = pixel(10, 10);
        show(0, 500);
        EXPECT_EQ(range(), std::make_pair(255, 255)) << "big " << big;

        fill(0.2f, 0.4f, 0.6f);
        show(0, 0);
        for (auto [x, y] : {std::pair{0, 0},
                            {platform::settings().width - 1, platform::settings().height - 1},
                            {platform::settings().width / 2, platform::settings().height / 2}})
            EXPECT_EQ(pixel(x, y), before) << x << "," << y;
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(FlashTest, FadesGoBetweenBlackAndThePicture) {
    fill(0.4f, 0.6f, 0.8f);
    const Rgba d = pixel(400, 300);

    show(4, 0); // fade in: black at the start
    EXPECT_EQ(range(), std::make_pair(0, 0));
    fill(0.4f, 0.6f, 0.8f);
    show(4, 999); // and almost the picture at the end
    expectNear(pixel(400, 300), d[0], d[1], d[2], 1);

    fill(0.4f, 0.6f, 0.8f);
    show(5, 0); // fade out: the picture at the start
    expectNear(pixel(400, 300), d[0], d[1], d[2], 0);
    fill(0.4f, 0.6f, 0.8f);
    show(5, 999); // and black at the end
    expectNear(pixel(400, 300), 0, 0, 0, 1);

    for (int other : {-1, 9}) { // any other mode fades out
        fill(0.4f, 0.6f, 0.8f);
        show(other, 500);
        expectNear(pixel(123, 456), d[0] / 2, d[1] / 2, d[2] / 2, 1);
    }
}

TEST_F(FlashTest, InvertingModesFollowTheirBlendEquations) {
    // At p = 1/6 the intensity is sin(pi / 6) = 0.5.
    const auto expectMode = [&](int mode, float (*result)(float)) {
        fill(0.4f, 0.4f, 0.4f);
        const float d = pixel(0, 0)[0] / 255.0f;
        show(mode, 100, 600);
        const int want = static_cast<int>(std::lround(result(d) * 255));
        expectNear(pixel(400, 300), want, want, want, 2);
        EXPECT_NEAR(currentColour()[0], 0.5f, 1e-4f);
    };
    expectMode(1, [](float d) { return 0.5f * (1 - d) + d * d; });
    expectMode(2, [](float d) { return 0.5f * 0.5f + d * (1 - d); });
    expectMode(3, [](float d) { return d; });
}

TEST_F(FlashTest, IdleModeKeepsThePictureButClearsDepthAndLeavesColourAndBlend) {
    glClearDepth(0.25);
    fill(0.1f, 0.5f, 0.9f);
    glClearDepth(1.0);
    const Rgba d = pixel(400, 300);
    show(3, 300);
    EXPECT_EQ(pixel(400, 300), d);
    EXPECT_EQ(pixel(0, 599), d);

    float depth = 0;
    glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);

    const float c = static_cast<float>(std::sin(static_cast<float>(0.3f * 3.1415)));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{c, c, c, 1}));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_DST_COLOR);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_COLOR);
}

TEST_F(FlashTest, TheSwellUsesTheShortPiAndLeavesATraceAtTheEnd) {
    fill(0, 0, 0);
    show(0, 1000);
    // sin(3.1415) is about 9.3e-5; a full pi would give practically 0.
    EXPECT_NEAR(currentColour()[0], 9.2654e-5f, 1e-7f);
    show(4, 300);
    EXPECT_EQ(currentColour()[0], 0.3f);
}

TEST_F(FlashTest, StateAroundTheDrawComesBackExceptBlendFunctionAndColour) {
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    const GLint projectionDepth = integer(GL_PROJECTION_STACK_DEPTH);
    fill(0, 0, 0);
    show(0, 500);
    // Lit or textured, the quad would not come out white.
    EXPECT_EQ(range(), std::make_pair(255, 255));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), projectionDepth);
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);

    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    fill(0, 0, 0);
    show(0, 500);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(FlashTest, GeometryDrawnEarlierNeverHidesTheQuad) {
    fill(0, 0, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS); // nearer than anything the flash could draw
    glVertex3f(-0.5f, -0.5f, -0.99f);
    glVertex3f(0.5f, -0.5f, -0.99f);
    glVertex3f(0.5f, 0.5f, -0.99f);
    glVertex3f(-0.5f, 0.5f, -0.99f);
    glEnd();
    ASSERT_EQ(pixel(400, 300), (Rgba{255, 0, 0, 255}));

    show(0, 500);
    EXPECT_EQ(pixel(400, 300), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(range(), std::make_pair(255, 255));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(FlashTest, ModeStaysUntilAnEntryNamesIt) {
    EXPECT_EQ(flash.mode, 0);
    show(4, 0);
    fill(0.5f, 0.5f, 0.5f);
    showWith(nullptr, 0); // no set: still fading in, so black
    EXPECT_EQ(range(), std::make_pair(0, 0));

    AttribSet other;
    other.set(Attrib("level", 3));
    fill(0.5f, 0.5f, 0.5f);
    showWith(&other, 0); // a set without "mode"
    EXPECT_EQ(range(), std::make_pair(0, 0));
    EXPECT_EQ(flash.mode, 4);
}

} // namespace
