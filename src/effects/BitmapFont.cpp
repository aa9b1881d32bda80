#include "effects/BitmapFont.h"
#include "glpp/Guards.h"
#include "texture/Texture.h"

BitmapFont::Cell BitmapFont::glyphCell(int glyph) {
    const int col = glyph % 16, row = glyph / 16;
    Cell c;
    c.s0 = static_cast<float>(col * 0.0625);
    c.s1 = static_cast<float>(c.s0 + 0.0625);
    // The cell row counts from the t = 1 edge and sits 0.001 higher than the grid.
    const float u = static_cast<float>(row * 0.0625 - 0.001);
    c.t0 = static_cast<float>(1.0 - u);
    c.t1 = static_cast<float>(1.0 - u + 0.0625);
    return c;
}

BitmapFont::BitmapFont(const char* file) : texture(new TextureTga(file)) {
    texture->load();
    listBase = glGenLists(256);
    texture->bind();
    for (int i = 0; i < 256; ++i) {
        const Cell c = glyphCell(i);
        glNewList(listBase + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glTexCoord2f(c.s0, c.t0);
        glVertex2i(-16, -16);
        glTexCoord2f(c.s0, c.t1);
        glVertex2i(-16, 16);
        glTexCoord2f(c.s1, c.t1);
        glVertex2i(16, 16);
        glTexCoord2f(c.s1, c.t0);
        glVertex2i(16, -16);
        glEnd();
        glTranslated(advance, 0, 0);
        glEndList();
    }
    charSet = 0;
}

void BitmapFont::print(std::string text) {
    charSet = 0;
    float y = -lineStep;
    GLPP::glppEnable<GL_TEXTURE_2D> texturing;
    texture->bind();
    glListBase(listBase + 128 * charSet - 16);
    glPushMatrix();
    // Every character up to the terminating NUL. A line break only moves the pen
    // back to the start of the next line, and codes without a glyph of the grid's
    // printable part draw nothing.
    for (const char* p = text.c_str(); *p; ++p) {
        if (*p == '\n') {
            glPopMatrix();
            glPushMatrix();
            glTranslatef(0, y, 0);
            y -= lineStep;
            continue;
        }
        const unsigned char code = static_cast<unsigned char>(*p);
        if (code < 32 || code > 127) continue;
        const GLbyte glyph = static_cast<GLbyte>(code);
        glCallLists(1, GL_BYTE, &glyph);
    }
    glPopMatrix();
}
