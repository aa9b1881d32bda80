#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "effects/Fond.h"
#include "engine/Fx.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include <cmath>
#include <cstdlib>

namespace {

constexpr double pi = 3.14159265358979;

// What the background should add at a window pixel at time t, worked out on the CPU
// from the pattern: 0.4 x the pattern stretched over twice the screen, plus 0.15 x
// each rosette wedge that covers the pixel. `doubtful` is set near a wedge edge,
// where a pixel's exact coverage is a matter of rasterisation.
class Model {
public:
    explicit Model(int time) : pattern(ripplePixels()), t(time) {}

    double at(int px, int py, bool& doubtful) const {
        const platform::Settings& s = platform::settings();
        const double x = (px + 0.5) / s.width - 0.5;
        const double y = (py + 0.5) / s.height - 0.5;
        double sum = 0.4 * texel((x + 1) / 2, (y + 1) / 2);
        doubtful = false;
        for (int k = 0; k < 360; k += 30) {
            const double scale = std::sin(k * pi / 180 + t / 800.0) * 0.25 + 0.95;
            const double turn = (k + t / 100.0) * pi / 180;
            const double u = (std::cos(turn) * x + std::sin(turn) * y) / scale;
            const double v = (-std::sin(turn) * x + std::cos(turn) * y) / scale;
            const double inside = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
            const double pixels = std::abs(inside) * scale * std::min(s.width, s.height);
            if (pixels < 2) doubtful = true;
            if (inside > 0) sum += 0.15 * texel(u, v);
        }
        return sum * 255;
    }

private:
    std::vector<uint8_t> pattern;
    int t;

    // Linear filtering with repeat wrap, as the texture is set up; 0..1.
    double texel(double s, double tt) const {
        const double fs = s * 256 - 0.5, ft = tt * 256 - 0.5;
        const int s0 = static_cast<int>(std::floor(fs)), t0 = static_cast<int>(std::floor(ft));
        const double a = fs - s0, b = ft - t0;
        const auto get = [&](int i, int j) {
            return pattern[((j & 255) * 256 + (i & 255)) * 4] / 255.0;
        };
        return (1 - b) * ((1 - a) * get(s0, t0) + a * get(s0 + 1, t0)) +
               b * ((1 - a) * get(s0, t0 + 1) + a * get(s0 + 1, t0 + 1));
    }
};

class FondTest : public GlTest {
protected:
    void show(Fond& fond, int time, int start = 0, int duration = 100000) {
        Fx entry(&fond, duration, nullptr);
        entry.start = start;
        entry.draw(time);
    }

    // Compares a grid of pixels with the model over a frame that was `base` grey.
    void expectModel(int time, int base) {
        const Model model(time);
        int checked = 0, grid = 0;
        for (int py = 3; py < platform::settings().height; py += 13) {
            for (int px = 5; px < platform::settings().width; px += 17) {
                ++grid;
                bool doubtful = false;
                const double want = std::min(255.0, base + model.at(px, py, doubtful));
                if (doubtful) continue;
                ++checked;
                const Rgba got = pixel(px, py);
                ASSERT_NEAR(got[0], want, 2.5) << "pixel " << px << "," << py << " at " << time;
                ASSERT_EQ(got[0], got[2]);
            }
        }
        EXPECT_GT(checked, grid * 3 / 4);
    }
};

TEST_F(FondTest, WedgesBreatheBetweenTheirScales) {
    EXPECT_FLOAT_EQ(Fond::wedgeScale(0, 0), 0.95f);
    EXPECT_FLOAT_EQ(Fond::wedgeScale(90, 0), 1.2f);
    EXPECT_FLOAT_EQ(Fond::wedgeScale(270, 0), 0.7f);
    // A quarter swing later (800 x pi / 2 ms) the first wedge is at its largest.
    EXPECT_NEAR(Fond::wedgeScale(0, 1257), 1.2f, 1e-5f);
}

TEST_F(FondTest, PictureAtTimeZeroMatchesThePatternAndWedges) {
    for (bool big : {true, false}) {
        open(big);
        Fond fond;
        fill(0.1f, 0.1f, 0.1f);
        const int base = pixel(0, 0)[0];
        show(fond, 0);
        expectModel(0, base);
    }
}

TEST_F(FondTest, PictureLaterHasTurnedAndBreathed) {
    Fond fond;
    fill(0, 0, 0);
    show(fond, 7777);
    expectModel(7777, 0);
}

TEST_F(FondTest, OnlyTheTimelineTimeMatters) {
    Fond fond;
    fill(0, 0, 0);
    show(fond, 43210, 40000, 5000);
    const auto first = platform::readRgbTopDown(800, 600);
    fill(0, 0, 0);
    show(fond, 43210, 43000, 200); // another entry, same time
    EXPECT_TRUE(platform::readRgbTopDown(800, 600) == first);
    fill(0, 0, 0);
    show(fond, 43310, 40000, 5000); // 100 ms later it has moved
    EXPECT_FALSE(platform::readRgbTopDown(800, 600) == first);
}

TEST_F(FondTest, RestoresStateButLeavesTheBlendFunction) {
    Fond fond;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glColor4f(0.3f, 0.6f, 0.9f, 0.5f);
    fill(0, 0, 0);
    show(fond, 1000);
    // Depth test and lighting were off while drawing, or nothing would show.
    EXPECT_GT(pixel(400, 300)[0], 40);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint v[2] = {0, 0};
    glGetIntegerv(GL_BLEND_SRC, &v[0]);
    glGetIntegerv(GL_BLEND_DST, &v[1]);
    EXPECT_EQ(v[0], GL_ONE);
    EXPECT_EQ(v[1], GL_ONE);
    std::array<float, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<float, 4>{0.3f, 0.6f, 0.9f, 0.5f}));
    glGetIntegerv(GL_MATRIX_MODE, v);
    EXPECT_EQ(v[0], GL_MODELVIEW);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, v);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

} // namespace
