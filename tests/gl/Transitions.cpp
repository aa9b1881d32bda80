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
        fill(0, 0, 1);
        drawAt(*r.wipe, r.time);
        const std::string at = "@" + std::to_string(r.time) + ";";
        EXPECT_EQ(out.drawn, r.from + std::string(" 0+2000") + at);
        EXPECT_EQ(in.drawn, r.to + std::string(" 1000+2000") + at);
        // Inside the rectangles their colours, the incoming one drawn last; nothing else.
        int x, y, w, h;
        std::sscanf(r.to, "%d %d %d %d", &x, &y, &w, &h);
        const int W = platform::settings().width, H = platform::settings().height;
        if (x < W && y < H) {
            EXPECT_EQ(pixel(x, y), (Rgba{0, 255, 0, 255}));
        }
        std::sscanf(r.from, "%d %d %d %d", &x, &y, &w, &h);
        if (std::string(r.from) != r.to) {
            EXPECT_EQ(pixel(x + w / 2 - 1, y + h / 2 - 1), (Rgba{255, 0, 0, 255}));
        }
        if (x > 0) {
            EXPECT_EQ(pixel(x - 1, y), (Rgba{0, 0, 255, 255}));
        }
        if (r.wipe == &tr1 && r.time > 1000) {
            EXPECT_EQ(pixel(W - 1, 0), (Rgba{0, 0, 255, 255}));
        }
    }
}

// Window pixel (px, py) at progress p with the outgoing entry red in its lower-left
// quarter and the incoming one green in its upper-right: the layers' colours, or false
// where the pixel is too near an edge to tell.
bool layered(int px, int py, double p, int& red, int& green) {
    const int w = platform::settings().width, h = platform::settings().height;
    double d = (1 - (p + 1) * (p + 1)) * 0.5;
    if (d == 0) d = 1; // an empty range leaves the identity
    const double x = d * ((px + 0.5) / w * 2 - 1), y = d * ((py + 0.5) / h * 2 - 1);
    red = green = 0;
    for (int layer = 0; layer < 2; ++layer) {
        const double turn = (layer == 0 ? p : 1 - p) * 2 * M_PI; // undone here
        const double u = std::cos(turn) * x + std::sin(turn) * y;
        const double v = -std::sin(turn) * x + std::cos(turn) * y;
        const double inside = 1 - std::max(std::abs(u), std::abs(v));
        if (std::abs(inside) < 0.01 || std::abs(u * w / 2) < 2 || std::abs(v * h / 2) < 2)
            return false;
        if (inside < 0) continue;
        if (layer == 0 && u < 0 && v < 0) red = 1;
        if (layer == 1 && u > 0 && v > 0) green = 1;
    }
    return true;
}

TEST_F(TransitionTest, BlurTransitionTurnsTheTwoPicturesAgainstEachOther) {
    out.x1 = out.y1 = 0;
    in.x0 = in.y0 = 0;
    for (bool big : {true, false}) {
        open(big);
        TrBlur trBlur(1);
        for (int elapsed : {0, 125, 500, 750, 900}) {
            SCOPED_TRACE("at " + std::to_string(elapsed) + ", big " + std::to_string(big));
            fill(0, 0, 0);
            glColor3f(1, 1, 1);
            glEnable(GL_DEPTH_TEST);
            glEnable(GL_LIGHTING);
            glEnable(GL_CULL_FACE);
            drawAt(trBlur, 1000 + elapsed);
            EXPECT_FALSE(out.textured || in.textured) << "entries drawn in the frame's state";
            EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
            int checked = 0;
            for (int py = 2; py < platform::settings().height; py += 11)
                for (int px = 3; px < platform::settings().width; px += 13) {
                    int red, green;
                    if (!layered(px, py, elapsed / 1000.0, red, green)) continue;
                    ++checked;
                    const Rgba got = pixel(px, py);
                    ASSERT_EQ(Rgba({got[0], got[1], got[2], 0}),
                              (Rgba{red * 255, green * 255, 0, 0}))
                        << px << "," << py;
                }
            EXPECT_GT(checked, 1500);
        }
        glColor3f(0.5f, 0.5f, 0.5f); // both layers are drawn in the current colour
        drawAt(trBlur, 1000);
        EXPECT_EQ(pixel(5, 5)[0], 128);
    }
}

} // namespace
