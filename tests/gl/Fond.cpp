// The moving background as a viewer sees it: a grey layer added onto the frame, the same
// at a moment whichever entry shows it, and a rosette of twelve wedges that turns at 10
// degrees a second while each wedge breathes between 0.7 and 1.2 of its size.
#include "effects/Fond.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include <cmath>

namespace {

class FondTest : public GlTest {
protected:
    Fond fond;
    // Moment t of an entry from `start`, over a frame of grey `level` (of 255), in a state
    // the background must not draw in: depth-tested and lit.
    std::vector<uint8_t> show(int t, int start, int level) {
        startState(false);
        fill(level / 255.0f, level / 255.0f, level / 255.0f);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        Fx entry(&fond, 5000, nullptr);
        entry.start = start;
        entry.draw(t);
        return frame();
    }
};

// Inside the circle of radius 0.5 about the centre, three wedges at 0.15 (each reaches
// 0.7 at least) lie over the base at 0.4, all of the pattern's greys 129..255.
TEST_F(FondTest, AddsAGreyLayerThatOnlyTheShowsTimeMoves) {
    for (bool big : {true, false}) {
        open(big);
        const int w = big ? 800 : 640, h = big ? 600 : 480;
        for (int t : {0, 7777, 120625}) {
            const std::vector<uint8_t> black = show(t, t, 0), grey = show(t, t - 3000, 20);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const size_t i = size_t(y * w + x) * 3;
                    const double u = (x + 0.5) / w - 0.5, v = (y + 0.5) / h - 0.5;
                    const bool inner = u * u + v * v < 0.25;
                    ASSERT_TRUE(black[i] == black[i + 1] && black[i] == black[i + 2] &&
                                (!inner || (black[i] >= 109 && black[i] <= 217)))
                        << x << "," << y << " at " << t << ": " << int(black[i]);
                    ASSERT_NEAR(grey[i], std::min(255, black[i] + 20), 1) << x << "," << y;
                }
        }
    }
}

// With a pattern of one lit texel, at (0.305, 0.039) of each wedge, wedge k shows a spot
// 0.307 of its scale out and 7.3 degrees past its edge at k + t / 100 degrees; its scale
// is 0.95 + sin(k degrees + t / 800 radians) / 4: 0.95 for k = 0 and 1.2 for k = 90 at 0.
TEST_F(FondTest, TheWedgesTurnTenDegreesASecondAndBreathe) {
    std::vector<uint8_t> dot(64 * 64 * 4, 0);
    std::fill_n(&dot[(2 * 64 + 19) * 4], 4, 255);
    glBindTexture(GL_TEXTURE_2D, fond.pattern);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, dot.data());
    for (int t : {0, 7777, 120625}) {
        const std::vector<uint8_t> shot = show(t, 0, 0);
        double sums[12][3] = {};
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const double ink = shot[size_t(((599 - y) * 800 + x) * 3)];
                const double u = (x + 0.5) / 800 - 0.5, v = (y + 0.5) / 600 - 0.5;
                const double past = std::atan2(v, u) * 180 / M_PI - t / 100.0 - 7.3;
                double* s = sums[(std::lround(past / 30) % 12 + 12) % 12];
                s[0] += ink, s[1] += ink * u, s[2] += ink * v;
            }
        for (int k = 0; k < 12; ++k) {
            const double u = sums[k][1] / sums[k][0], v = sums[k][2] / sums[k][0];
            const double scale = 0.95 + std::sin(30 * k * M_PI / 180 + t / 800.0) / 4;
            const double turn = (30 * k + t / 100.0 + 7.31) * M_PI / 180, r = 0.3072 * scale;
            EXPECT_LT(std::hypot(u - r * std::cos(turn), v - r * std::sin(turn)), 0.003)
                << "wedge " << k << " at " << t;
        }
    }
}

} // namespace
