#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "effects/TrBlur.h"
#include "engine/Attrib.h"
#include "engine/Track.h"
#include "support/GlTest.h"
#include "test_paint.h"
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

constexpr double pi = 3.14159265358979;

// A track with an outgoing entry of 0..2000 ms, an incoming one of 1000..3000 ms and
// the blur transition over 1000..2000 ms, drawn over a blue frame in white.
class TrBlurTest : public GlTest {
protected:
    Paint out{1, 0, 0};
    Paint in{0, 1, 0};
    std::unique_ptr<TrBlur> trBlur;

    void make(bool big = true) {
        open(big);
        trBlur = std::make_unique<TrBlur>(1);
    }
    void drawAt(int time, bool blue = true) {
        Track track;
        Fx first(&out, 2000, nullptr);
        Fx second(&in, 2000, nullptr);
        Transit transit(trBlur.get(), 1000);
        track.add(first).add(transit).add(second);
        fill(0, 0, blue ? 1 : 0);
        glColor3f(1, 1, 1);
        Effect* active = track.active(time);
        ASSERT_EQ(active, &track.currentTransit);
        active->draw(time);
    }
    static std::vector<uint8_t> frame() {
        return platform::readRgbTopDown(platform::settings().width, platform::settings().height);
    }
};

TEST_F(TrBlurTest, AtItsStartBothPicturesFillTheScreenAddedTogether) {
    for (bool big : {true, false}) {
        make(big);
        out.r = 0.8f, out.g = 0.2f, out.b = 0; // red and green add up past white: clamped
        in.r = 0.4f, in.g = 0.3f, in.b = 0.1f;
        drawAt(1000);
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR)) << "big " << big;
        // Unrotated, unzoomed, and nothing of the blue frame below is left.
        const auto f = frame();
        int wrong = 0;
        for (size_t i = 0; i < f.size(); i += 3)
            if (f[i] != 255 || std::abs(f[i + 1] - 128) > 1 || std::abs(f[i + 2] - 26) > 1) ++wrong;
        EXPECT_EQ(wrong, 0);
        // Both entries drew in the frame's own state, without texturing forced on.
        EXPECT_FALSE(out.texturing);
        EXPECT_FALSE(in.texturing);
        EXPECT_EQ(out.lastStart, 0);
        EXPECT_EQ(in.lastStart, 1000);
    }
}

// What a window pixel shows at progress p when the outgoing entry painted only its
// lower-left quarter red and the incoming one only its upper-right quarter green:
// (red, green) in 0/1, or false when the pixel is too close to an edge to tell.
bool expected(int px, int py, float p, int& red, int& green) {
    const int w = platform::settings().width, h = platform::settings().height;
    const double d = (1 - (p + 1.0) * (p + 1.0)) * 0.5;
    const double x = d * ((px + 0.5) / w * 2 - 1), y = d * ((py + 0.5) / h * 2 - 1);
    red = green = 0;
    for (int which = 0; which < 2; ++which) {
        const double turn = (which == 0 ? p : 1 - p) * 2 * pi;
        const double u = std::cos(turn) * x + std::sin(turn) * y; // undo the turn
        const double v = -std::sin(turn) * x + std::cos(turn) * y;
        const double edge = 1 - std::max(std::abs(u), std::abs(v));
        if (std::abs(edge) < 0.01) return false;
        if (edge < 0) continue; // outside this layer
        const double sx = (u + 1) / 2 * w - w / 2.0, sy = (v + 1) / 2 * h - h / 2.0;
        if (std::abs(sx) < 2 || std::abs(sy) < 2) return false;
        if (which == 0 && sx < 0 && sy < 0) red = 1;
        if (which == 1 && sx > 0 && sy > 0) green = 1;
    }
    return true;
}

TEST_F(TrBlurTest, LayersTurnAgainstEachOtherThroughAMirroredZoom) {
    for (bool big : {true, false}) {
        make(big);
        out.x1 = out.y1 = 0; // lower-left quarter
        in.x0 = in.y0 = 0;   // upper-right quarter
        const int w = platform::settings().width, h = platform::settings().height;
        for (int elapsed : {125, 250, 500, 750, 900}) {
            drawAt(1000 + elapsed, false);
            const float p = elapsed / 1000.0f;
            int checked = 0;
            for (int py = 2; py < h; py += 11) {
                for (int px = 3; px < w; px += 13) {
                    int red = 0, green = 0;
                    if (!expected(px, py, p, red, green)) continue;
                    ++checked;
                    const Rgba got = pixel(px, py);
                    ASSERT_EQ(got[0], red * 255) << px << "," << py << " p " << p;
                    ASSERT_EQ(got[1], green * 255) << px << "," << py << " p " << p;
                    ASSERT_EQ(got[2], 0);
                }
            }
            EXPECT_GT(checked, (w / 13) * (h / 11) * 3 / 4) << p;
        }
    }
}

TEST_F(TrBlurTest, RestoresStateButLeavesBlendFunctionAndTextureEnvironment) {
    make();
    AttribSet set;
    set.set(Attrib("level", 4));
    set.set(Attrib("scale", 2.5f));
    trBlur->configure(&set);
    EXPECT_EQ(trBlur->level, 4);
    EXPECT_EQ(trBlur->scale, 2.5f);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_ZERO, GL_ZERO);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    drawAt(1400);
    // Lit, culled or depth-tested layers would not show both pictures.
    EXPECT_EQ(pixel(400, 300), (Rgba{255, 255, 0, 255}));

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint v[2] = {};
    glGetIntegerv(GL_BLEND_SRC, &v[0]);
    glGetIntegerv(GL_BLEND_DST, &v[1]);
    EXPECT_EQ(v[0], GL_ONE);
    EXPECT_EQ(v[1], GL_ONE);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, v);
    EXPECT_EQ(v[0], GL_MODULATE);
    std::array<float, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<float, 4>{1, 1, 1, 1}));
    glGetIntegerv(GL_MATRIX_MODE, v);
    EXPECT_EQ(v[0], GL_MODELVIEW);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, v);
    EXPECT_EQ(v[0], 1);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, v);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(trBlur->level, 1);
    EXPECT_EQ(trBlur->scale, 1.0f);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(TrBlurTest, LayersTakeTheCurrentColour) {
    make();
    Track track;
    Fx first(&out, 2000, nullptr);
    Fx second(&in, 2000, nullptr);
    Transit transit(trBlur.get(), 1000);
    track.add(first).add(transit).add(second);
    fill(0, 0, 0);
    glColor3f(0.5f, 0.5f, 0.5f);
    track.active(1000)->draw(1000);
    const Rgba got = pixel(400, 300);
    EXPECT_NEAR(got[0], 128, 1);
    EXPECT_NEAR(got[1], 128, 1);
}

} // namespace
