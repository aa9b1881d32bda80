// Frames of the real show, rendered as the capture tool renders them, checked on
// their pixels at moments that prove something about the timeline.
#include "platform/Headless.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "script/Script.h"
#include "script/Timeline.h"
#include "support/GlTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Frame {
    bool drawn;
    std::vector<uint8_t> rgb; // top row first
    int w, h;

    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * w + x) * 3]; }
    // Mean of all channels over a rectangle (top-down coordinates), 0 to 255.
    double mean(int x0, int y0, int x1, int y1) const {
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                sum += at(x, y)[0] + at(x, y)[1] + at(x, y)[2];
        return sum / (3.0 * (x1 - x0) * (y1 - y0));
    }
    double mean() const { return mean(0, 0, w, h); }
    // Share of pixels whose every channel is at least `level`.
    double shareAtLeast(int level) const {
        size_t n = 0;
        for (size_t i = 0; i < rgb.size(); i += 3)
            n += rgb[i] >= level && rgb[i + 1] >= level && rgb[i + 2] >= level;
        return static_cast<double>(n) / (rgb.size() / 3);
    }
    int brightest() const {
        int m = 0;
        for (uint8_t v : rgb)
            m = std::max(m, static_cast<int>(v));
        return m;
    }
};

class ShowFrames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(openTestContext(true, error)) << error;
        script = new Script();
        script->frameAt(0); // as a live run starts, and as the capture tool does
    }
    static void TearDownTestSuite() { platform::closeHeadless(); }

    static Frame render(int time) {
        Frame f;
        f.drawn = script->frameAt(time);
        f.w = platform::settings().width;
        f.h = platform::settings().height;
        f.rgb = platform::readRgbTopDown(f.w, f.h);
        return f;
    }
    static Script* script;
};
Script* ShowFrames::script = nullptr;

} // namespace

// The fade-in from black sits on track 4, above the scene and its blur: at its
// darkest nothing of the scene shows, and it brightens as it goes.
TEST_F(ShowFrames, TheShowFadesInFromBlack) {
    const Frame start = render(0);
    EXPECT_TRUE(start.drawn);
    EXPECT_EQ(start.brightest(), 0);
    const Frame early = render(1500), late = render(4900), after = render(6000);
    EXPECT_GT(early.mean(), 0.5);
    EXPECT_GT(late.mean(), early.mean() * 2);
    EXPECT_GT(after.mean(), late.mean() * 0.9);
}

// The white flash over the first cut peaks at 10000 ms, its middle: sin(pi/2)
// added to everything saturates the whole frame.
TEST_F(ShowFrames, TheFirstCutsFlashPeaksWhite) {
    const Frame peak = render(10000);
    EXPECT_GT(peak.shareAtLeast(250), 0.999);
    const Frame before = render(9700); // no flash yet
    EXPECT_LT(before.shareAtLeast(250), 0.5);
}

// Track 3 is empty until 21500; the first card is added onto the frame there,
// "Une Production" starting a quarter of the width from the left, at mid-height.
TEST_F(ShowFrames, TheFirstCardAppearsOnItsFirstFrame) {
    const Frame without = render(21499);
    const Frame with = render(21500);
    // The first line's band, above the middle; the scene barely moves in 1 ms.
    const double gain = with.mean(180, 270, 600, 310) - without.mean(180, 270, 600, 310);
    const double elsewhere = with.mean(0, 0, 800, 200) - without.mean(0, 0, 800, 200);
    EXPECT_GT(gain, 15.0);
    EXPECT_LT(std::abs(elsewhere), 3.0);
}

// Two flashes overlap on track 2 from 84500: the rhythm's colour-keeping flash,
// added first, wins until 85180; the white flash shows only after it.
TEST_F(ShowFrames, TheFirstAddedFlashWinsWhereTwoOverlap) {
    const Frame rhythm = render(84800);
    EXPECT_LT(rhythm.shareAtLeast(200), 0.5) << "the white flash drew over the rhythm's";
    const Frame white = render(85300);
    EXPECT_GT(white.shareAtLeast(140), 0.99);
}

// From 120625 the moving background replaces the scene, with no blur over it: a
// grey, colourless picture that is never black.
TEST_F(ShowFrames, TheBackgroundTakesOverAt120625) {
    const Frame f = render(121500); // after the white flash of the cut
    EXPECT_TRUE(f.drawn);
    EXPECT_GT(f.mean(), 40.0);
    double colour = 0;
    for (size_t i = 0; i < f.rgb.size(); i += 3)
        colour += std::abs(f.rgb[i] - f.rgb[i + 2]) + std::abs(f.rgb[i] - f.rgb[i + 1]);
    // The card's text is white too; only the background's pattern is there.
    EXPECT_LT(colour / (f.rgb.size() / 3), 3.0);
}

// At 163625 the fade to black ends and the fade-in of the finale starts: both
// are at black, whatever the tracks below drew.
TEST_F(ShowFrames, TheFinaleStartsFromBlack) {
    EXPECT_LT(render(163600).mean(), 2.0);
    EXPECT_EQ(render(163625).brightest(), 0);
    EXPECT_GT(render(166000).mean(), 5.0);
}

// The show ends on the frame at 175625: nothing is drawn and the frame step says so.
TEST_F(ShowFrames, TheShowEndsAt175625) {
    const Frame last = render(showLength - 1);
    EXPECT_TRUE(last.drawn);
    const Frame end = render(showLength);
    EXPECT_FALSE(end.drawn);
    EXPECT_EQ(end.brightest(), 0);
}
