// The moving background as a viewer sees it: a grey layer added onto the frame, the same
// at a moment whichever entry shows it, and a rosette of twelve wedges that turns at 10
// degrees a second while each wedge breathes between 0.7 and 1.2 of its size.
#include "effects/Fond.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include <cmath>
#include <complex>

namespace {

class FondTest : public GlTest {
protected:
    // Moment t of an entry from `start`, over a frame of grey `level` (of 255), in a state
    // the background must not draw in: depth-tested and lit.
    std::vector<uint8_t> show(Fond& fond, int t, int start, int level) {
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
// 0.7 at least) lie over the base at 0.4, all of the pattern's greys 129..255. With a
// pattern of one lit texel, at (0.305, 0.039) of each wedge, wedge k shows a spot 0.307
// of its scale out and 7.3 degrees past its edge at k + t / 100 degrees; its scale is
// 0.95 + sin(k degrees + t / 800 radians) / 4: 0.95 for k = 0 and 1.2 for k = 90 at 0.
TEST_F(FondTest, AGreyLayerWhoseWedgesTurnTenDegreesASecondAndBreathe) {
    Fond fond, spotted;
    std::vector<uint8_t> dot(64 * 64 * 4, 0);
    std::fill_n(&dot[(2 * 64 + 19) * 4], 4, 255);
    glBindTexture(GL_TEXTURE_2D, spotted.pattern);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, dot.data());
    for (int t : {0, 7777, 120625}) {
        const std::vector<uint8_t> black = show(fond, t, t, 0), grey = show(fond, t, t - 3000, 20),
                                   spots = show(spotted, t, 0, 0);
        std::complex<double> sums[12];
        double weights[12] = {};
        for (size_t i = 0; i < black.size(); i += 3) {
            const std::complex<double> at((i / 3 % 800 + 0.5) / 800 - 0.5,
                                          0.5 - (i / 2400 + 0.5) / 600);
            ASSERT_TRUE(black[i] == black[i + 1] && black[i] == black[i + 2] &&
                        (std::abs(at) >= 0.5 || (black[i] >= 109 && black[i] <= 217)))
                << at << " at " << t << ": " << int(black[i]);
            ASSERT_NEAR(grey[i], std::min(255, black[i] + 20), 1) << at << " at " << t;
            const double past = std::arg(at) * 180 / M_PI - t / 100.0 - 7.3;
            const size_t k = size_t((std::lround(past / 30) % 12 + 12) % 12);
            sums[k] += double(spots[i]) * at, weights[k] += spots[i];
        }
        for (int k = 0; k < 12; ++k) {
            const double scale = 0.95 + std::sin(30 * k * M_PI / 180 + t / 800.0) / 4;
            const double turn = (30 * k + t / 100.0 + 7.31) * M_PI / 180;
            EXPECT_LT(std::abs(sums[k] / weights[k] - std::polar(0.3072 * scale, turn)), 0.003)
                << "wedge " << k << " at " << t;
        }
    }
}

} // namespace
