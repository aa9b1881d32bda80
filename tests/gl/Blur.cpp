// The blur against the pictures its description draws over the whole window, pixel for
// pixel, on frames lit everywhere, at the edges and in the glow's corner, or nowhere:
// what it leaves out for speed must change nothing.
#include "effects/Blur.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "glpp/Screen.h"
#include "platform/Settings.h"
#include "support/GlTest.h"
#include <random>

namespace {

void ortho(double l, double r, double b, double t) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(l, r, b, t, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void greyQuad(float c, float x0, float y0, float x1, float y1, float s, float t) {
    glColor4f(c, c, c, 1);
    glBegin(GL_QUADS);
    quadCorners(x0, y0, x1, y1, s, t);
    glEnd();
}

void capture(GLuint screen) {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, screen);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, platform::settings().width,
                        platform::settings().height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
}

void describedGlow(const Blur& blur) {
    const ScreenExtent e = screenExtent();
    capture(blur.screen);
    glViewport(0, 0, 63, 63);
    ortho(0, 63, 0, 63);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int pass = 0; pass < 2; ++pass) { // across, then up, weights (0.5 - x^2 / 32) x 3.1 / 7
        for (int x = -3; x <= 3; ++x) {
            const float w = float((0.5f - 0.03125f * x * x) * 0.14285715f * 3.1f);
            if (pass == 0) greyQuad(w, x, 0, x + 63, 63, e.sMax, e.tMax);
            if (pass == 1) greyQuad(w, 0, x, 63, x + 63, 1, 1);
        }
        glBindTexture(GL_TEXTURE_2D, blur.work);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 64, 64, 0);
        if (pass == 0) glClear(GL_COLOR_BUFFER_BIT);
    }
    glViewport(0, 0, platform::settings().width, platform::settings().height);
    glClear(GL_COLOR_BUFFER_BIT);
    ortho(0, 1, 0, 1);
    glBindTexture(GL_TEXTURE_2D, blur.screen);
    greyQuad(1, 0, 0, 1, 1, e.sMax, e.tMax);
    glBindTexture(GL_TEXTURE_2D, blur.work);
    greyQuad(0.85f, 0, 0, 1, 1, 1, 1);
}

// floor(level + 5p) + 1 layers at 1 / (5p), at most 1, each 1.013 times the one before.
void describedZoom(const Blur& blur, int level, float p) {
    capture(blur.screen);
    ortho(-1, 1, -1, 1);
    const float c = std::min(1.0f, 1 / (5 * p));
    for (int i = 0; i <= level + 5.0 * p; ++i) {
        glScalef(1.013f, 1.013f, 1.013f);
        greyQuad(c, -1, -1, 1, 1, screenExtent().sMax, screenExtent().tMax);
    }
}

void paint(int x, int y, int w, int h, float r, float g, float b) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glDisable(GL_SCISSOR_TEST);
}

void noise(int x, int y, int w, int h) {
    std::mt19937 random(unsigned(x + w));
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (uint8_t& v : rgba)
        v = uint8_t(random());
    ortho(0, platform::settings().width, 0, platform::settings().height);
    glRasterPos2i(x, y);
    glDrawPixels(w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

const std::function<void(int, int)> pictures[] = {
    [](int, int) {},
    [](int w, int h) {
        paint(0, 0, 3, 3, 1, 0.5f, 0.2f);          // inside the glow's corner
        paint(w - 2, h / 2, 2, 1, 0.3f, 1, 0.9f);  // the right edge
        paint(w / 2, h - 1, 1, 1, 1, 1, 1);        // the top edge
        paint(10, h / 3, 1, 40, 0.6f, 0.6f, 0.1f); // near the left edge
    },
    [](int, int) { noise(500, 100, 37, 23); },
    [](int w, int h) { noise(0, 0, w, h); },
};

class BlurTest : public GlTest {
protected:
    std::vector<uint8_t> after(const std::function<void(int, int)>& picture,
                               const std::function<void()>& blur) {
        fill(0, 0, 0);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        picture(platform::settings().width, platform::settings().height);
        glScissor(100, 120, 30, 40); // a box left from earlier, the test itself off
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        blur();
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        return frame();
    }
};

TEST_F(BlurTest, ZoomAndGlowAreTheirDescriptions) {
    for (bool big : {true, false}) {
        open(big);
        Blur blur(1);
        AttribSet glow, zoomWithoutLevel;
        glow.set(Attrib("mode", 1));
        glow.set(Attrib("level", 9)); // the glow takes no level, nor the progress
        zoomWithoutLevel.set(Attrib("mode", 0));
        const auto show = [&](const AttribSet* set, int elapsed) {
            Fx entry(&blur, 1000, set);
            entry.start = 2000;
            entry.draw(2000 + elapsed);
        };
        for (size_t n = 0; n < std::size(pictures); ++n) {
            SCOPED_TRACE("picture " + std::to_string(n) + ", big " + std::to_string(big));
            for (auto [level, elapsed] : {std::pair{1, 0}, {5, 600}, {30, 999}, {-10, 500}}) {
                AttribSet zoom;
                zoom.set(Attrib("mode", 0));
                zoom.set(Attrib("level", level));
                const auto want =
                    after(pictures[n], [&] { describedZoom(blur, level, elapsed / 1000.0f); });
                EXPECT_TRUE(after(pictures[n], [&] { show(&zoom, elapsed); }) == want)
                    << "level " << level << " at " << elapsed;
            }
            // Without "level" an entry zooms at level 1, whatever the one before had.
            const auto one = after(pictures[n], [&] { describedZoom(blur, 1, 0.3f); });
            EXPECT_TRUE(after(pictures[n], [&] { show(&zoomWithoutLevel, 300); }) == one);
            const auto haloed = after(pictures[n], [&] { describedGlow(blur); });
            for (int elapsed : {0, 700})
                EXPECT_TRUE(after(pictures[n], [&] { show(&glow, elapsed); }) == haloed);
        }
        EXPECT_EQ(blur.level, 1);
    }
}

} // namespace
