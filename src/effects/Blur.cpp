#include "effects/Blur.h"
#include "engine/Attrib.h"
#include "glpp/Guards.h"
#include "glpp/Screen.h"
#include "glpp/Software.h"
#include "platform/Settings.h"

using namespace GLPP;

namespace {
// Weight of the blur tap at offset x (-3..3); together they brighten by 1.1625.
float weight(int x) { return static_cast<float>((0.5f - 0.03125f * x * x) * 0.14285715f * 3.1f); }

// The same in grey `c`; the colour before it is current again afterwards.
void greyQuad(float c, float x0, float y0, float x1, float y1, float s, float t) {
    glppColorf grey(c, c, c, 1);
    glBegin(GL_QUADS);
    quadCorners(x0, y0, x1, y1, s, t);
    glEnd();
}

// Additive drawing over whatever is there, depth ignored.
struct Additive {
    glppEnable<GL_BLEND> blending;
    glppDisable<GL_DEPTH_TEST> noDepth;
    Additive() { glBlendFunc(GL_ONE, GL_ONE); }
};
} // namespace

Blur::Blur(int ms) : Effect(ms), screen(makeScreenTexture()), work(0) {
    makeScreenTextures(&work, 1, 64, 64);
}

void Blur::configure(const AttribSet* attribs) {
    readInt(attribs, "level", level);
    readInt(attribs, "mode", mode);
}

float Blur::zoomIntensity(float p) {
    const float c = 1 / (5 * p);
    // At p = 0 the quotient is infinite; GL would clamp it to 1, but infinity times a
    // black texel is not a number, so clamp here.
    return c <= 1 ? c : 1;
}

void Blur::draw(int time) {
    const float p = progress(time);
    glFlush();
    glFinish();
    {
        glppEnable<GL_TEXTURE_2D> texturing;
        captureScreen(screen);
        if (mode == 0)
            zoom(p);
        else
            glow();
    }
    level = 1;
}

void Blur::zoom(float p) {
    const ScreenExtent e = screenExtent();
    const platform::Settings& s = platform::settings();
    // Most of a frame is often black, and a layer adds nothing where it samples only
    // zero texels: on a CPU each layer is drawn only over the pixels that reach the lit ones.
    const PixelBox lit = software::litBox(s.width, s.height);
    glppOrtho2D ortho(-1, 1, -1, 1);
    const float c = zoomIntensity(p);
    glppColorf layers(c, c, c, 1);
    Additive additive;
    glppEnable<GL_SCISSOR_TEST> clipped;
    glPushMatrix();
    // Layer i is enlarged 1.013^(i + 1) about the centre; floor(L) + 1 layers in all.
    const double L = level + 5.0 * p;
    double scale = 1;
    for (int i = 0; i <= L; ++i) {
        glScalef(1.013f, 1.013f, 1.013f);
        scale *= 1.013f;
        const TexelMap enlarged = {1 / scale, s.width / 2.0 * (1 - 1 / scale), 1 / scale,
                                   s.height / 2.0 * (1 - 1 / scale)};
        const PixelBox reach = reachOf(lit, enlarged, s.width, s.height);
        if (reach.empty()) continue;
        glppScissor only(reach.x0, reach.y0, reach.x1 - reach.x0 + 1, reach.y1 - reach.y0 + 1);
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        quadCorners(-1, -1, 1, 1, e.sMax, e.tMax);
        glEnd();
    }
    glPopMatrix();
}

void Blur::glow() {
    const ScreenExtent e = screenExtent();
    PixelBox miniature; // its lit texels
    // Clears ignore the viewport: the scissor keeps them to the 64 x 64 corner that the
    // copies read, so the rest of the frame stays as captured and only the corner needs
    // drawing back.
    {
        glppEnable<GL_SCISSOR_TEST> clipped;
        glppScissor corner(0, 0, 64, 64);
        {
            // The blur runs in a 63 x 63 corner of the window, one unit a pixel.
            glppViewport cornerView(0, 0, 63, 63);
            glppOrtho2D ortho(0, 63, 0, 63);
            glClear(GL_COLOR_BUFFER_BIT);
            Additive additive;
            for (int x = -3; x <= 3; ++x) // the frame shrunk into the corner, smeared sideways
                greyQuad(weight(x), x, 0, x + 63, 63, e.sMax, e.tMax);
            glBindTexture(GL_TEXTURE_2D, work);
            glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 64, 64, 0);
            glClear(GL_COLOR_BUFFER_BIT);
            for (int y = -3; y <= 3; ++y) // then up and down
                greyQuad(weight(y), 0, y, 63, y + 63, 1, 1);
            // The top row and right column come from outside the corner: black.
            glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 64, 64, 0);
            miniature = software::litBox(64, 64);
        }
        glClear(GL_COLOR_BUFFER_BIT);
        Additive additive;
        glppOrtho2D ortho(0, 1, 0, 1);
        glBindTexture(GL_TEXTURE_2D, screen);
        greyQuad(1, 0, 0, 1, 1, e.sMax, e.tMax); // the frame back in the corner
    }
    // The glow stretched over the frame, where it is not zero: pixel centre P samples
    // texel 64 P / width across and 64 P / height up.
    const platform::Settings& s = platform::settings();
    const TexelMap stretched = {64.0 / s.width, 0, 64.0 / s.height, 0};
    const PixelBox reach = reachOf(miniature, stretched, s.width, s.height);
    Additive additive;
    glppOrtho2D ortho(0, 1, 0, 1);
    glBindTexture(GL_TEXTURE_2D, work);
    if (reach.empty()) return;
    glppEnable<GL_SCISSOR_TEST> clipped;
    glppScissor lit(reach.x0, reach.y0, reach.x1 - reach.x0 + 1, reach.y1 - reach.y0 + 1);
    greyQuad(0.85f, 0, 0, 1, 1, 1, 1);
}
