#include "glpp/Screen.h"
#include "app/Settings.h"
#include "glpp/Guards.h"
#include <GL/glu.h>
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
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
}

GLuint makeScreenTexture() {
    GLuint name = 0;
    makeScreenTextures(&name, 1, settings().texWidth, settings().texHeight);
    return name;
}

void captureScreen(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, settings().width, settings().height);
}

ScreenExtent screenExtent() {
    const Settings& s = settings();
    return {static_cast<float>(s.width) / static_cast<float>(s.texWidth),
            static_cast<float>(s.height) / static_cast<float>(s.texHeight)};
}

namespace {
// sin of a 32-bit angle, rounded to 32 bits, as the pattern was made.
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
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}
