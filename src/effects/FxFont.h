#pragma once
#include "effects/BitmapFont.h"
#include "engine/Effect.h"
#include "glpp/Guards.h"
#include <string>

// The text cards: the current text in the bitmap font, added onto the frame at 80 %
// with a small random shake that is drawn anew every frame.
class FxFont : public Effect {
public:
    // Lighting off, blending on, depth test off for the scope.
    class T : public GLPP::glppDisable<GL_LIGHTING>,
              public GLPP::glppEnable<GL_BLEND>,
              public GLPP::glppDisable<GL_DEPTH_TEST> {
    public:
        T() = default;
        ~T() override = default;
    };

    // Loads the font image; needs a current GL context.
    FxFont(const char* fontFile, int ms);

    void draw(int time) override;
    // Takes "text"; a set without it leaves the text as it was.
    void configure(const AttribSet* attribs) override;

    BitmapFont* font;
    std::string text;
};
