#include "effects/Tea.h"
#include "effects/Random.h"
#include "platform/Gl.h"
#include "platform/Settings.h"
#include "texture/Texture.h"
#include <GL/glut.h>
#include <cmath>

Tea::Tea(const char* fileName, int ms) : Effect(ms), map(new TextureTga(fileName)) { map->load(); }

namespace {
// The phase a 60 Hz run has reached before its frame at `elapsed` ms into the entry:
// each frame's two runs of the cube field add 2.02.
float phaseAt(int elapsed) { return static_cast<float>(2.02 * 60 * elapsed / 1000); }
} // namespace

void Tea::draw(int time) {
    lastTime = time;
    phase = phaseAt(time - start);
    glClear(GL_DEPTH_BUFFER_BIT);
    // Height over width: the picture is meant to come out stretched sideways.
    const platform::Settings& s = platform::settings();
    platform::loadPerspective(1.0f / (static_cast<float>(s.width) / static_cast<float>(s.height)),
                              1);
    glPushMatrix();
    glTranslatef(-2, -2, -20);
    glRotatef(static_cast<float>(time) / 5.0f, 1, 1, 1);

    GLPP::glppEnable<GL_LIGHTING> lighting;
    GLPP::glppEnable<GL_LIGHT0> light;
    GLPP::glppEnable<GL_COLOR_MATERIAL> colourMaterial;
    GLPP::glppEnable<GL_CULL_FACE> culling;
    Caller_t<Tea> caller(this, &Tea::cubeField);
    Contour_t<Caller_t<Tea>> contour(&caller, platform::scaledPixels(3), 0.19f, 0.19f, 0.19f,
                                     map->id);
    contour.draw();
    glPopMatrix();
}

namespace {
// Sines and cosines of single-precision arguments, rounded to single precision.
float fsin(double x) { return static_cast<float>(std::sin(static_cast<float>(x))); }
float fcos(double x) { return static_cast<float>(std::cos(static_cast<float>(x))); }
} // namespace

void Tea::cubeField() {
    phase = static_cast<float>(static_cast<double>(phase) + 1.01);
    const float a = static_cast<float>(platform::settings().width) /
                    static_cast<float>(platform::settings().height);
    glPushMatrix();
    glRotatef(static_cast<float>(static_cast<unsigned>(lastTime)) / 500.0f, 0, 0, 1);
    float y0 = -8;
    for (int i = 0; i < 6; ++i, y0 += 1.2f) {
        const double D = (static_cast<double>(y0) * i + 1) * 100;
        const float y = y0 * 0.5f * a;
        float x0 = -8;
        for (int j = 0; j < 6; ++j, x0 += 1.2f) {
            const float g = static_cast<float>(1 + i * j);
            const float o = static_cast<float>(i + j + 1);
            const float base = static_cast<float>(rand15() / 327670.0 + 0.9);
            glPushMatrix();
            const float s1 = fsin(g * phase / 500);
            const float c1 = fcos(o * phase / D);
            glRotatef(c1 * (s1 * 90), 0, 0, 1);
            glTranslatef(x0 * 0.5f, y, 0);
            const float s2 = fsin(g * phase / 5000);
            glRotatef(s2 * 180, 1, 0.5f, 0.8f);
            const float s3 = fsin(o * phase / 50);
            glutSolidCube(s3 * 0.5 + base);
            glPopMatrix();
        }
    }
    glPopMatrix();
}
