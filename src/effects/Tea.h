#pragma once
#include "engine/Effect.h"
#include "glpp/Guards.h"
#include <GL/gl.h>

class TextureTga;

// Binds an object to one of its parameterless member functions.
template <class T> class Caller_t {
public:
    using Function = void (T::*)();

    Caller_t(T* o, Function f) : object(o), function(f) {}
    void operator()() const { (object->*function)(); }

    T* object;
    Function function;
};

// Ink outlines of whatever the caller draws: a first pass lays the geometry into the
// depth buffer only, a second pass draws its back faces as thick lines that this
// depth trims to the silhouettes.
template <class C> class Contour_t {
public:
    class FirstPass : public GLPP::glppEnable<GL_DEPTH_TEST>,
                      public GLPP::glppEnable<GL_CULL_FACE>,
                      public GLPP::glppCullFace<GL_BACK>,
                      public GLPP::glppPolygonMode<GL_FRONT>,
                      public GLPP::glppDepthFunc<GL_LEQUAL> {
    public:
        // The texture binding and environment are left as set.
        explicit FirstPass(GLuint texture) : GLPP::glppPolygonMode<GL_FRONT>(GL_FILL) {
            glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
            glBindTexture(GL_TEXTURE_2D, texture);
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        }
        ~FirstPass() override { glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE); }
    };

    class SecondPass : public GLPP::glppEnable<GL_DEPTH_TEST>,
                       public GLPP::glppEnable<GL_CULL_FACE>,
                       public GLPP::glppDisable<GL_TEXTURE_2D>,
                       public GLPP::glppCullFace<GL_FRONT>,
                       public GLPP::glppPolygonMode<GL_BACK>,
                       public GLPP::glppDepthFunc<GL_LEQUAL>,
                       public GLPP::glppLineWidth,
                       public GLPP::glppColorf,
                       public GLPP::glppDisable<GL_LIGHTING> {
    public:
        SecondPass(float lineWidth, float r, float g, float b)
            : GLPP::glppPolygonMode<GL_BACK>(GL_LINE), GLPP::glppLineWidth(lineWidth),
              GLPP::glppColorf(r, g, b, 1) {}
        ~SecondPass() override = default;
    };

    Contour_t(C* drawn, float width, float r, float g, float b, GLuint tex)
        : caller(drawn), lineWidth(width), red(r), green(g), blue(b), texture(tex) {}

    void draw() {
        {
            FirstPass pass(texture);
            (*caller)();
        }
        SecondPass pass(lineWidth, red, green, blue);
        (*caller)();
    }

    C* caller;
    float lineWidth;
    float red, green, blue;
    GLuint texture;
};

// A field of 36 tumbling cubes drawn as dark outlines over whatever the frame holds.
class Tea : public Effect {
public:
    int lastTime = 0;          // the time of the latest draw
    TextureTga* map = nullptr; // handed to the first outline pass
    float phase = 0;           // the cubes' motion: set by each draw, advanced by each run

    // Loads the image `fileName`; needs a current GL context.
    Tea(const char* fileName, int ms);

    // Sets the phase from the time into the entry, so that the cubes stand where a
    // 60 Hz run has them at every frame rate, then draws the two outline passes.
    void draw(int time) override;

    // The 36 cubes in the current matrices and state; each run advances the phase by
    // 1.01 (so the outline wobbles off the depth) and draws new random sizes.
    void cubeField();
};
