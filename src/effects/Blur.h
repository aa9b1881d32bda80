#pragma once
#include "engine/Effect.h"
#include <GL/gl.h>

// Post-processing of what the lower tracks drew this frame: either a stack of
// slightly enlarged copies added on top (zoom, mode 0) or the frame plus a soft
// glow made from a 64 x 64 blurred miniature (glow, any other mode).
class Blur : public Effect {
public:
    int level = 1; // base number of zoom layers; back to 1 after every draw
    int mode = 1;  // every entry names it; glow until one does
    GLuint screen; // the captured frame
    GLuint work;   // the blurred miniature

    explicit Blur(int ms);

    // Leaves the blend function at (GL_ONE, GL_ONE) and the last texture bound.
    void draw(int time) override;
    void configure(const AttribSet* attribs) override;

    // Intensity of each zoom layer at progress p: 1 / (5p), at most 1.
    static float zoomIntensity(float p);

private:
    void zoom(float p);
    void glow();
};
