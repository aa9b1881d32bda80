#include "glpp/Screen.h"
#include "glpp/Guards.h"
#include "platform/Gl.h"
#include "platform/Settings.h"
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

namespace GLPP {

glppOrtho2D::glppOrtho2D(float left, float right, float bottom, float top) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // GL rejects an empty range; keep the identity it would leave without the bad call.
    if (left != right && bottom != top) gluOrtho2D(left, right, bottom, top);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

glppOrtho2D::~glppOrtho2D() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace GLPP

void makeScreenTextures(GLuint* names, int count, int w, int h) {
    GLPP::glppEnable<GL_TEXTURE_2D> texturing;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(count, names);
    for (int i = 0; i < count; ++i) {
        glBindTexture(GL_TEXTURE_2D, names[i]);
        platform::setTextureParameters(GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
}

GLuint makeScreenTexture() {
    GLuint name = 0;
    makeScreenTextures(&name, 1, platform::settings().texWidth, platform::settings().texHeight);
    return name;
}

void captureScreen(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, platform::settings().width,
                        platform::settings().height);
}

ScreenExtent screenExtent() {
    const platform::Settings& s = platform::settings();
    return {static_cast<float>(s.width) / static_cast<float>(s.texWidth),
            static_cast<float>(s.height) / static_cast<float>(s.texHeight)};
}

namespace {
// Along one axis: the pixels whose centre P samples texel coordinate T = scale * P + offset
// with T in [first - 0.5, last + 1.5), the samples that mix in a texel first..last.
bool reachAxis(int first, int last, double scale, double offset, int size, int& from, int& to) {
    const int margin = 2;
    if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(offset)) {
        from = 0; // no telling: all of it
        to = size - 1;
        return true;
    }
    const double lo = (first - 0.5 - offset) / scale - 0.5;
    const double hi = (last + 1.5 - offset) / scale - 0.5;
    from = static_cast<int>(std::clamp(std::floor(lo) - margin, 0.0, static_cast<double>(size)));
    to = static_cast<int>(std::clamp(std::ceil(hi) + margin, -1.0, size - 1.0));
    return from <= to;
}
} // namespace

PixelBox reachOf(const PixelBox& lit, const TexelMap& map, int width, int height) {
    PixelBox box;
    if (lit.empty()) return box;
    if (!reachAxis(lit.x0, lit.x1, map.scaleX, map.offsetX, width, box.x0, box.x1) ||
        !reachAxis(lit.y0, lit.y1, map.scaleY, map.offsetY, height, box.y0, box.y1))
        return PixelBox();
    return box;
}

void quadCorners(float x0, float y0, float x1, float y1, float s, float t) {
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(s, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(s, t);
    glVertex2f(x1, y1);
    glTexCoord2f(0, t);
    glVertex2f(x0, y1);
}

namespace {
// sin of a 32-bit angle, rounded to 32 bits: the texels depend on both roundings.
float wave(int i) {
    const float angle = static_cast<float>(i * 8 * 3.1415927f * 0.00390625f);
    return static_cast<float>(std::sin(angle));
}
} // namespace

std::vector<uint8_t> ripplePixels() {
    std::vector<uint8_t> pixels(256 * 256 * 4);
    size_t at = 0;
    for (int i = 0; i < 256; ++i) {
        const float a = wave(i);
        for (int j = 0; j < 256; ++j) {
            const float b = wave(j);
            const int v = static_cast<int>(static_cast<double>(b) * 63 * a + 192);
            pixels[at++] = static_cast<uint8_t>(v);
            pixels[at++] = static_cast<uint8_t>(v);
            pixels[at++] = static_cast<uint8_t>(v);
            pixels[at++] = 255;
        }
    }
    return pixels;
}

GLuint makeRippleTexture() {
    const std::vector<uint8_t> pixels = ripplePixels();
    GLPP::glppEnable<GL_TEXTURE_2D> texturing;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    platform::setTextureParameters(GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}
