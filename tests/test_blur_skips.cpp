// The blur draws only where it can change the picture: the glow works in its corner
// and leaves the rest of the frame in place, the zoom draws each layer only where it
// can reach lit pixels. Checked against the plain way of drawing everything over the
// whole window, pixel for pixel, on frames with something at the edges, in the corner
// and nowhere at all.
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "effects/Blur.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include <functional>
#include <memory>
#include <random>

namespace {

float weight(int x) { return static_cast<float>((0.5f - 0.03125f * x * x) * 0.14285715f * 3.1f); }

void greyQuad(float c, float x0, float y0, float x1, float y1, float s, float t) {
    glColor4f(c, c, c, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(s, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(s, t);
    glVertex2f(x1, y1);
    glTexCoord2f(0, t);
    glVertex2f(x0, y1);
    glEnd();
}

void ortho(double l, double r, double b, double t) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(l, r, b, t, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The glow drawn the plain way: full-window clears, the whole frame drawn back.
void plainGlow(const Blur& blur) {
    const ScreenExtent e = screenExtent();
    const platform::Settings& s = platform::settings();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, blur.screen);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, s.width, s.height);
    glViewport(0, 0, 63, 63);
    ortho(0, 63, 0, 63);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ONE);
    for (int x = -3; x <= 3; ++x)
        greyQuad(weight(x), x, 0, x + 63, 63, e.sMax, e.tMax);
    glBindTexture(GL_TEXTURE_2D, blur.work);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 64, 64, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int y = -3; y <= 3; ++y)
        greyQuad(weight(y), 0, y, 63, y + 63, 1, 1);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 64, 64, 0);
    glViewport(0, 0, s.width, s.height);
    glClear(GL_COLOR_BUFFER_BIT);
    ortho(0, 1, 0, 1);
    glBindTexture(GL_TEXTURE_2D, blur.screen);
    greyQuad(1, 0, 0, 1, 1, e.sMax, e.tMax);
    glBindTexture(GL_TEXTURE_2D, blur.work);
    greyQuad(0.85f, 0, 0, 1, 1, 1, 1);
}

// The zoom drawn the plain way: every layer over the whole window.
void plainZoom(const Blur& blur, int level, float p) {
    const ScreenExtent e = screenExtent();
    const platform::Settings& s = platform::settings();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, blur.screen);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, s.width, s.height);
    ortho(-1, 1, -1, 1);
    const float c = Blur::zoomIntensity(p);
    glColor4f(c, c, c, 1);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ONE);
    const double L = level + 5.0 * p;
    for (int i = 0; i <= L; ++i) {
        glScalef(1.013f, 1.013f, 1.013f);
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glTexCoord2f(0, 0);
        glVertex2f(-1, -1);
        glTexCoord2f(e.sMax, 0);
        glVertex2f(1, -1);
        glTexCoord2f(e.sMax, e.tMax);
        glVertex2f(1, 1);
        glTexCoord2f(0, e.tMax);
        glVertex2f(-1, 1);
        glEnd();
    }
}

// Pictures to blur: each paints a whole frame.
using Picture = std::function<void()>;

void paint(int x, int y, int w, int h, float r, float g, float b) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glDisable(GL_SCISSOR_TEST);
}

void noise(int x, int y, int w, int h, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (uint8_t& v : rgba)
        v = uint8_t(random());
    ortho(0, platform::settings().width, 0, platform::settings().height);
    glRasterPos2i(x, y);
    glDrawPixels(w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

std::vector<std::pair<const char*, Picture>> pictures() {
    return {
        {"black", [] {}},
        {"spots at the edges and in the corner",
         [] {
             const int w = platform::settings().width, h = platform::settings().height;
             paint(0, 0, 3, 3, 1, 0.5f, 0.2f);          // inside the glow's work corner
             paint(w - 2, h / 2, 2, 1, 0.3f, 1, 0.9f);  // the right edge
             paint(w / 2, h - 1, 1, 1, 1, 1, 1);        // the top edge
             paint(10, h / 3, 1, 40, 0.6f, 0.6f, 0.1f); // near the left edge
         }},
        {"a small lit patch off centre", [] { noise(500, 100, 37, 23, 7); }},
        {"noise everywhere",
         [] { noise(0, 0, platform::settings().width, platform::settings().height, 11); }},
    };
}

std::vector<uint8_t> drawn(const Picture& picture, const std::function<void()>& blur) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    picture();
    ortho(-1, 1, -1, 1);
    blur();
    glFinish();
    return platform::readRgbTopDown(platform::settings().width, platform::settings().height);
}

class BlurSkipTest : public GlTest {
protected:
    void make(bool big) {
        open(big);
        blur = std::make_unique<Blur>(1);
    }
    void show(const AttribSet& set, int elapsed) {
        Fx entry(blur.get(), 1000, &set);
        entry.start = 2000;
        entry.draw(2000 + elapsed);
    }
    std::unique_ptr<Blur> blur;
};

} // namespace

TEST_F(BlurSkipTest, GlowIsThePlainGlowPixelForPixel) {
    AttribSet glow;
    glow.set(Attrib("mode", 1));
    for (bool big : {true, false}) {
        make(big);
        for (const auto& [name, picture] : pictures()) {
            const auto plain = drawn(picture, [&] { plainGlow(*blur); });
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_DEPTH_TEST);
            const auto skipping = drawn(picture, [&] { show(glow, 0); });
            EXPECT_TRUE(plain == skipping) << name << ", big " << big;
        }
    }
}

TEST_F(BlurSkipTest, ZoomIsThePlainZoomPixelForPixel) {
    for (bool big : {true, false}) {
        make(big);
        for (const auto& [level, elapsed] : {std::pair{1, 0}, {5, 600}, {30, 999}})
            for (const auto& [name, picture] : pictures()) {
                AttribSet zoom;
                zoom.set(Attrib("mode", 0));
                zoom.set(Attrib("level", level));
                const float p = elapsed / 1000.0f;
                const auto plain = drawn(picture, [&] { plainZoom(*blur, level, p); });
                glDisable(GL_TEXTURE_2D);
                glEnable(GL_DEPTH_TEST);
                const auto skipping = drawn(picture, [&] { show(zoom, elapsed); });
                EXPECT_TRUE(plain == skipping)
                    << name << ", level " << level << ", " << elapsed << " ms, big " << big;
            }
    }
}

// The scissor is left as it was, and a box left from earlier does not clip the glow.
TEST_F(BlurSkipTest, TheScissorIsLeftAsItWas) {
    make(true);
    const AttribSet glow = [] {
        AttribSet s;
        s.set(Attrib("mode", 1));
        return s;
    }();
    const Picture spots = pictures()[1].second;
    const auto plain = drawn(spots, [&] { plainGlow(*blur); });
    for (bool enabled : {false, true}) {
        const auto withStaleBox = drawn(spots, [&] {
            glScissor(100, 120, 30, 40);
            if (enabled) glEnable(GL_SCISSOR_TEST);
            show(glow, 0);
        });
        EXPECT_EQ(bool(glIsEnabled(GL_SCISSOR_TEST)), enabled);
        GLint box[4];
        glGetIntegerv(GL_SCISSOR_BOX, box);
        EXPECT_EQ((std::array<GLint, 4>{box[0], box[1], box[2], box[3]}),
                  (std::array<GLint, 4>{100, 120, 30, 40}));
        glDisable(GL_SCISSOR_TEST);
        if (!enabled) {
            EXPECT_TRUE(plain == withStaleBox);
        }
    }
}
