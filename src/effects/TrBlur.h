#pragma once
#include "engine/Transit.h"
#include <GL/gl.h>

// Transition that captures the outgoing and the incoming entry and lays both over a
// cleared frame, additively, as two counter-rotating layers zooming out of the centre.
class TrBlur : public Transition {
public:
    int level = 1;      // accepted from parameter sets; the picture does not use it
    float scale = 1.0f; // likewise
    GLuint first;       // capture of the outgoing entry
    GLuint second;      // capture of the incoming entry

    explicit TrBlur(int ms);

    // Leaves the blend function at (GL_ONE, GL_ONE) and the texture environment at
    // GL_MODULATE; draws in the current colour.
    void draw(int time) override;
    void configure(const AttribSet* attribs) override;
};
