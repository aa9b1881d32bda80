#include "effects/FxFont.h"
#include "effects/Random.h"
#include "engine/Attrib.h"
#include "glpp/Screen.h"
#include "platform/Gl.h"

FxFont::FxFont(const char* fontFile, int ms) : Effect(ms), font(new BitmapFont(fontFile)) {}

void FxFont::configure(const AttribSet* attribs) { readText(attribs, "text", text); }

void FxFont::draw(int) {
    GLPP::glppDisable<GL_ALPHA_TEST> alphaTest;
    glDepthMask(GL_FALSE);
    // 800 units across, 400 up; the first glyph is centred a quarter of the width
    // from the left edge, at mid-height.
    GLPP::glppOrtho2D ortho(-200, 600, -200, 200);
    T state;
    platform::activeTexture(GL_TEXTURE0_ARB);
    glBlendFunc(GL_ONE, GL_ONE); // left so: it is set afresh by whoever needs another
    GLPP::glppColorf colour(0.8f, 0.8f, 0.8f, 1.0f);
    const float shake = static_cast<float>(rand15()) / 32767.0f * 5.5f;
    glPushMatrix();
    glTranslatef(shake, shake, 0);
    font->print(text);
    glPopMatrix();
    glDepthMask(GL_TRUE);
}
