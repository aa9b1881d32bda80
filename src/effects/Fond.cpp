#include "effects/Fond.h"
#include "glpp/Guards.h"
#include "glpp/Screen.h"
#include <cmath>

using namespace GLPP;

namespace {
// One quad of the pattern, texture (0, 0)..(1, 1) on the given corners.
void texturedQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    quadCorners(x0, y0, x1, y1, 1, 1);
    glEnd();
}
} // namespace

Fond::Fond() : Effect(1), pattern(makeRippleTexture()) {}

float Fond::wedgeScale(int degrees, int time) {
    const double a = time / 800.0;
    const float angle = static_cast<float>(static_cast<float>(degrees) * 3.1415927 / 180 + a);
    const float wave = static_cast<float>(std::sin(angle));
    return static_cast<float>(wave * 0.25 + 0.95);
}

void Fond::draw(int time) {
    glppOrtho2D ortho(-0.5f, 0.5f, -0.5f, 0.5f);
    glppEnable<GL_TEXTURE_2D> texturing;
    glppDisable<GL_DEPTH_TEST> noDepth;
    glppDisable<GL_LIGHTING> unlit;
    glppEnable<GL_BLEND> blending;
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, pattern);

    glppColorf base(0.4f, 0.4f, 0.4f, 1);
    texturedQuad(-1, -1, 1, 1); // only the middle half of the pattern is on screen

    glppColorf rosette(0.15f, 0.15f, 0.15f, 1);
    const double turn = time / 100.0; // degrees: 10 per second
    for (int k = 0; k < 360; k += 30) {
        glPushMatrix();
        const float s = wedgeScale(k, time);
        glScalef(s, s, s);
        glRotatef(static_cast<float>(k + turn), 0, 0, 1);
        texturedQuad(0, 0, 1, 1);
        glPopMatrix();
    }
}
