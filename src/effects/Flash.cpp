#include "effects/Flash.h"
#include "engine/Attrib.h"
#include "glpp/Guards.h"
#include "glpp/Screen.h"
#include <cmath>

using namespace GLPP;

namespace {
struct Blend {
    GLenum source;
    GLenum destination;
};

// The blend factors that make each mode draw what flashKind says it draws.
Blend blendOf(int mode) {
    switch (mode) {
    case 0:
        return {GL_ONE, GL_ONE};
    case 1:
        return {GL_ONE_MINUS_DST_COLOR, GL_DST_COLOR};
    case 2:
        return {GL_SRC_COLOR, GL_ONE_MINUS_DST_COLOR};
    case 3:
        return {GL_DST_COLOR, GL_ONE_MINUS_SRC_COLOR};
    case 4:
        return {GL_ZERO, GL_SRC_COLOR};
    default:
        return {GL_ZERO, GL_ONE_MINUS_SRC_COLOR};
    }
}

// 3.1415 rather than pi: at p = 1 the swell is still a trace above zero, and the
// flash leaves that trace of light.
float swell(float p) {
    const float angle = static_cast<float>(p * 3.1415);
    return static_cast<float>(std::sin(angle));
}
} // namespace

void Flash::configure(const AttribSet* attribs) { readInt(attribs, "mode", mode); }

void Flash::draw(int time) {
    const float p = progress(time);
    // Nothing drawn earlier in the frame may hide the quad.
    glClear(GL_DEPTH_BUFFER_BIT);
    glppDisable<GL_LIGHTING> unlit;
    glppEnable<GL_BLEND> blending;

    const float c = swells(flashKind(mode)) ? swell(p) : p;
    const Blend blend = blendOf(mode);
    glBlendFunc(blend.source, blend.destination);

    glppDisable<GL_TEXTURE_2D> untextured;
    glppOrtho2D ortho(0, 1, 0, 1);
    // Blend function and colour are left as set: every draw that needs them sets its own.
    glColor3f(c, c, c);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex2f(0, 0);
    glVertex2f(1, 0);
    glVertex2f(1, 1);
    glVertex2f(0, 1);
    glEnd();
}
