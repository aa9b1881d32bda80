#include "effects/TrBlur.h"
#include "engine/Attrib.h"
#include "glpp/Guards.h"
#include "glpp/Screen.h"
#include "platform/Settings.h"

using namespace GLPP;

namespace {
// Draws the entry, keeps its picture in `into` and leaves the frame empty. The entry
// draws in the state the frame had: texturing is on only for the copy.
void capture(Fx& entry, GLuint into, int time) {
    entry.draw(time);
    glppEnable<GL_TEXTURE_2D> texturing;
    captureScreen(into);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// One captured picture on the square (-1, -1)..(1, 1), turned by `degrees`.
void layer(GLuint texture, float degrees) {
    const ScreenExtent e = screenExtent();
    glPushMatrix();
    glppEnable<GL_TEXTURE_2D> texturing;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glRotatef(degrees, 0, 0, 1);
    glBegin(GL_QUADS);
    quadCorners(-1, -1, 1, 1, e.sMax, e.tMax);
    glEnd();
    glPopMatrix();
}
} // namespace

TrBlur::TrBlur(int ms) : Transition(ms), first(0), second(0) {
    GLuint names[2];
    makeScreenTextures(names, 2, platform::settings().texWidth, platform::settings().texHeight);
    first = names[0];
    second = names[1];
}

void TrBlur::configure(const AttribSet* attribs) {
    readInt(attribs, "level", level);
    readFloat(attribs, "scale", scale);
}

void TrBlur::draw(int time) {
    if (!transit) return;
    const float p = progress(time);
    capture(transit->from, first, time);
    capture(transit->to, second, time);

    // Negative once under way: the square of half-size p + p^2 / 2 about the centre,
    // seen mirrored on both axes. At p = 0 the range is empty and the view the identity.
    const float grown = p + 1;
    const float d = static_cast<float>((1 - grown * grown) * 0.5);
    glppOrtho2D ortho(-d, d, -d, d);
    glppEnable<GL_BLEND> blending;
    glppDisable<GL_DEPTH_TEST> noDepth;
    glBlendFunc(GL_ONE, GL_ONE);
    glppDisable<GL_CULL_FACE> bothSides;
    glppDisable<GL_LIGHTING> unlit;

    layer(first, p * 360);
    layer(second, static_cast<float>((1.0 - p) * 360.0));
    scale = 1.0f;
    level = 1;
}
