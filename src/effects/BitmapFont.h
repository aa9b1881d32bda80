#pragma once
#include <GL/gl.h>
#include <string>

class TextureTga;

// A 16 x 16 grid font from an image file: one display list per glyph, each drawing a
// 32-unit textured quad centred on the pen and moving the pen 28.8 units right.
// Character code c is drawn with glyph c - 16.
class BitmapFont {
public:
    // Texture coordinates of one glyph's cell.
    struct Cell {
        float s0, s1; // left, right
        float t0, t1; // bottom, top
    };
    static Cell glyphCell(int glyph);

    static constexpr double advance = 28.8; // pen step after each glyph
    static constexpr float lineStep = 32;   // each line this much below the one before

    // Loads the image and builds the 256 glyph lists; needs a current GL context.
    explicit BitmapFont(const char* file);

    // Draws `text` at the current modelview position, line by line; only codes 32 to
    // 127 draw a glyph.
    void print(std::string text);

    GLuint listBase = 0;
    TextureTga* texture = nullptr;
    int charSet = 0; // each unit moves the list base by 128; always 0 when printing
};
