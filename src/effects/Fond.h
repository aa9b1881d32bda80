#pragma once
#include "engine/Effect.h"
#include <GL/gl.h>

// The moving background: the ripple pattern added faintly over the frame, and a
// rosette of twelve turning, breathing wedges of it. Driven by the timeline time
// alone, so it flows on across consecutive entries.
class Fond : public Effect {
public:
    GLuint pattern; // the 256 x 256 ripple texture

    Fond();

    // Leaves the blend function at (GL_ONE, GL_ONE).
    void draw(int time) override;

    // Scale of the rosette wedge at `degrees` (0, 30, ... 330) at time `time`.
    static float wedgeScale(int degrees, int time);
};
