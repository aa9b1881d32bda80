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

void quad(float c, float x0, float y0, float x1, float y1, float s, float t) {
    glColor4f(c, c, c, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(x0, y0);
    glTexCoord2f(s, 0), glVertex2f(x1, y0);
    glTexCoord2f(s, t), glVertex2f(x1, y1);
    glTexCoord2f(0, t), glVertex2f(x0, y1);
    glEnd();
}

// The frame copied into the screen texture, then added onto with textured quads.
ScreenExtent captured(GLuint screen) {
    const platform::Settings& s = platform::settings();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, screen);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, s.width, s.height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    return {float(s.width) / s.texWidth, float(s.height) / s.texHeight};
}

// A 63 x 63 miniature blurred across then up with weights (0.5 - x^2 / 32) x 3.1 / 7,
// the frame drawn back, and the miniature added over it at 0.85.
void describedGlow(const Blur& blur) {
    const ScreenExtent e = captured(blur.screen);
    glViewport(0, 0, 63, 63);
    ortho(0, 63, 0, 63);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int pass = 0; pass < 2; ++pass) {
        for (int x = -3; x <= 3; ++x) {
            const float w = float((0.5f - 0.03125f * x * x) * 0.14285715f * 3.1f);
            pass ? quad(w, 0, x, 63, x + 63, 1, 1) : quad(w, x, 0, x + 63, 63, e.sMax, e.tMax);
        }
        glBindTexture(GL_TEXTURE_2D, blur.work);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 64, 64, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glViewport(0, 0, platform::settings().width, platform::settings().height);
    ortho(0, 1, 0, 1);
    glBindTexture(GL_TEXTURE_2D, blur.screen);
    quad(1, 0, 0, 1, 1, e.sMax, e.tMax);
    glBindTexture(GL_TEXTURE_2D, blur.work);
    quad(0.85f, 0, 0, 1, 1, 1, 1);
}

// floor(level + 5p) + 1 layers at 1 / (5p), at most 1, each 1.013 times the one before.
void describedZoom(const Blur& blur, int level, float p) {
    const ScreenExtent e = captured(blur.screen);
    ortho(-1, 1, -1, 1);
    for (int i = 0; i <= level + 5.0 * p; ++i) {
        glScalef(1.013f, 1.013f, 1.013f);
        quad(std::min(1.0f, 1 / (5 * p)), -1, -1, 1, 1, e.sMax, e.tMax);
    }
}

void paint(int x, int y, int w, int h, bool noise) {
    std::mt19937 random(unsigned(x + w));
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (uint8_t& v : rgba)
        v = noise ? uint8_t(random()) : 200;
    ortho(0, platform::settings().width, 0, platform::settings().height);
    glRasterPos2i(x, y);
    glDrawPixels(w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

// Nothing lit; spots in the glow's corner, at the right and top edges and near the left;
// noise in a patch; noise everywhere.
const std::function<void(int, int)> pictures[] = {
    [](int, int) {},
    [](int w, int h) {
        paint(0, 0, 3, 3, false), paint(w - 2, h / 2, 2, 1, false);
        paint(w / 2, h - 1, 1, 1, false), paint(10, h / 3, 1, 40, false);
    },
    [](int, int) { paint(500, 100, 37, 23, true); },
    [](int w, int h) { paint(0, 0, w, h, true); },
};

using BlurTest = GlTest;

TEST_F(BlurTest, ZoomAndGlowAreTheirDescriptions) {
    // 1 / (5p) is infinite at p = 0: at most 1, or black texels would turn into no number.
    EXPECT_EQ(std::vector<float>({Blur::zoomIntensity(0), Blur::zoomIntensity(1)}),
              std::vector<float>({1, 0.2f}));
    for (bool big : {true, false}) {
        open(big);
        Blur blur(1);
        const auto after = [&](size_t picture, const std::function<void()>& draw) {
            startState(false);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            pictures[picture](platform::settings().width, platform::settings().height);
            glScissor(100, 120, 30, 40); // a box left from earlier, the test itself off
            glEnable(GL_DEPTH_TEST);
            glDisable(GL_TEXTURE_2D);
            draw();
            return frame();
        };
        const auto show = [&](std::initializer_list<std::pair<const char*, int>> keys,
                              int elapsed) {
            AttribSet set;
            for (auto [key, value] : keys)
                set.set(Attrib(key, value));
            Fx entry(&blur, 1000, &set);
            entry.start = 2000;
            entry.draw(2000 + elapsed);
        };
        for (size_t n = 0; n < std::size(pictures); ++n) {
            SCOPED_TRACE("picture " + std::to_string(n) + ", big " + std::to_string(big));
            for (auto [level, elapsed] : {std::pair{1, 0}, {5, 600}, {30, 999}, {-10, 500}}) {
                const auto got = after(n, [&] { show({{"mode", 0}, {"level", level}}, elapsed); });
                EXPECT_TRUE(got == after(n, [&] { describedZoom(blur, level, elapsed / 1000.0f); }))
                    << "level " << level << " at " << elapsed;
            }
            // Without "level" an entry zooms at level 1, whatever the one before had.
            const auto plain = after(n, [&] { show({{"mode", 0}}, 300); });
            EXPECT_TRUE(plain == after(n, [&] { describedZoom(blur, 1, 0.3f); }));
            const auto glow = after(n, [&] { describedGlow(blur); });
            for (int elapsed : {0, 700}) // no level, nor progress, in the glow
                EXPECT_TRUE(after(n, [&] { show({{"mode", 1}, {"level", 9}}, elapsed); }) == glow);
        }
    }
}

} // namespace
