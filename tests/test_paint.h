#pragma once
#include "engine/Effect.h"
#include <GL/gl.h>

// A plain entry for effect tests: fills a rectangle of its viewport with one colour
// (the whole viewport by default) and records how it was asked to draw.
struct Paint : Effect {
    float r, g, b;
    float x0 = -1, y0 = -1, x1 = 1, y1 = 1; // the filled part, in [-1, 1]
    bool scribble = false; // leaves a tiny viewport behind, as a careless effect might

    int draws = 0;
    int lastTime = -1, lastStart = -1, lastDuration = -1;
    GLint viewport[4] = {0, 0, 0, 0};
    bool texturing = false; // whether GL_TEXTURE_2D was on when it drew

    Paint(float red, float green, float blue) : Effect(0), r(red), g(green), b(blue) {}

    void draw(int time) override {
        ++draws;
        lastTime = time;
        lastStart = start;
        lastDuration = duration;
        glGetIntegerv(GL_VIEWPORT, viewport);
        texturing = glIsEnabled(GL_TEXTURE_2D);

        // Untextured only when texturing is off, like the show's simple effects.
        glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glColor3f(r, g, b);
        glBegin(GL_QUADS);
        glVertex2f(x0, y0);
        glVertex2f(x1, y0);
        glVertex2f(x1, y1);
        glVertex2f(x0, y1);
        glEnd();
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopAttrib();
        if (scribble) glViewport(0, 0, 7, 7);
    }
};
