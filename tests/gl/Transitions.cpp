// The wipes' viewports and the blur transition's layers, between two plain entries: a
// red one of 0..2000 ms and a green one of 1000..3000 ms, the transition over 1000..2000.
#include "effects/Tr1.h"
#include "effects/Tr3.h"
#include "effects/TrBlur.h"
#include "engine/Track.h"
#include "platform/Settings.h"
#include "support/GlTest.h"
#include <cmath>

namespace {

class TransitionTest : public GlTest {
protected:
    Paint out{1, 0, 0}, in{0, 1, 0};

    void drawAt(Transition& t, int time) {
        out.drawn.clear();
        in.drawn.clear();
        Track track;
        Fx first(&out, 2000, nullptr), second(&in, 2000, nullptr);
        Transit transit(&t, 1000);
        track.add(first).add(transit).add(second);
        track.active(time)->draw(time);
    }
};

TEST_F(TransitionTest, WipesSplitTheWindowIntoTheirViewports) {
    Tr1 tr1(0);
    Tr3 tr3(0);
    const struct {
        Transition* wipe;
        bool big;
        int time;
        const char *from, *to; // "x y w h" of each entry's viewport
    } rows[] = {
        {&tr1, true, 1500, "0 0 400 300", "400 300 800 600"},
        {&tr1, true, 1000, "0 0 800 600", "800 600 800 600"},
        {&tr1, false, 1500, "0 0 320 240", "320 240 640 480"},
        {&tr3, true, 1250, "200 150 600 450", "600 450 200 150"},
        {&tr3, false, 1500, "320 240 320 240", "320 240 320 240"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.from) + " / " + r.to);
        open(r.big);
        drawAt(*r.wipe, r.time);
        const std::string at = "@" + std::to_string(r.time) + ";";
        EXPECT_EQ(out.drawn, r.from + std::string(" 0+2000") + at);
        EXPECT_EQ(in.drawn, r.to + std::string(" 1000+2000") + at);
    }
}

// The outgoing entry red in its lower-left quarter, the incoming one green in its upper
// right: through the mirrored zoom of half-size |(1 - (p + 1)^2) / 2| the layers turn by
// 360 p and 360 (1 - p), and add up. Quarters of the window: lower left, lower right,
// upper left, upper right, and the lower-right corner; r, g, y(ellow) or k (black).
TEST_F(TransitionTest, BlurTransitionTurnsTheTwoPicturesAgainstEachOther) {
    out.x1 = out.y1 = 0;
    in.x0 = in.y0 = 0;
    const std::pair<int, std::string> rows[] = {
        {0, "rkkgk"}, {250, "kkykk"}, {500, "rkkgk"}, {750, "kykkk"}};
    for (bool big : {true, false}) {
        open(big);
        TrBlur trBlur(1);
        const int w = platform::settings().width, h = platform::settings().height;
        for (const auto& [elapsed, want] : rows) {
            fill(0, 0, 0);
            glColor3f(1, 1, 1);
            for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE})
                glEnable(cap);
            drawAt(trBlur, 1000 + elapsed);
            EXPECT_FALSE(out.textured || in.textured) << "entries drawn in the frame's state";
            std::string got;
            for (auto [x, y] : {std::pair{w / 4, h / 4},
                                {3 * w / 4, h / 4},
                                {w / 4, 3 * h / 4},
                                {3 * w / 4, 3 * h / 4},
                                {w - 2, 1}}) {
                const Rgba p = pixel(x, y);
                got += p[0] ? (p[1] ? 'y' : 'r') : (p[1] ? 'g' : 'k');
            }
            EXPECT_EQ(got, want) << elapsed << ", big " << big;
        }
        glColor3f(0.5f, 0.5f, 0.5f); // both layers are drawn in the current colour
        drawAt(trBlur, 1000);
        EXPECT_EQ(pixel(5, 5)[0], 128);
    }
}

} // namespace
