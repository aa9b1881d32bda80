// The moving background against the picture its description draws: the pattern at 0.4
// over twice the screen, then twelve wedges of it at 0.15, each scaled and turned with
// the time, all added onto the frame.
#include "effects/Fond.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include <cmath>

namespace {

using FondTest = GlTest;

void described(GLuint pattern, int t) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, 0.5, -0.5, 0.5, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, pattern);
    const auto quad = [](float x0, float y0, float x1, float y1) {
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0), glVertex2f(x0, y0);
        glTexCoord2f(1, 0), glVertex2f(x1, y0);
        glTexCoord2f(1, 1), glVertex2f(x1, y1);
        glTexCoord2f(0, 1), glVertex2f(x0, y1);
        glEnd();
    };
    glColor4f(0.4f, 0.4f, 0.4f, 1);
    quad(-1, -1, 1, 1);
    glColor4f(0.15f, 0.15f, 0.15f, 1);
    for (int k = 0; k < 360; k += 30) {
        const float angle = float(float(k) * 3.1415927 / 180 + t / 800.0);
        const float s = float(float(std::sin(angle)) * 0.25 + 0.95);
        glPushMatrix();
        glScalef(s, s, s);
        glRotatef(float(k + t / 100.0), 0, 0, 1);
        quad(0, 0, 1, 1);
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

TEST_F(FondTest, DrawsItsDescriptionAndOnlyTheTimeMatters) {
    Fond fond;
    for (bool big : {true, false}) {
        open(big);
        for (int t : {0, 7777, 120625}) {
            SCOPED_TRACE(t);
            fill(0.1f, 0.1f, 0.1f);
            described(fond.pattern, t);
            const std::vector<uint8_t> want = frame();
            fill(0.1f, 0.1f, 0.1f);
            glEnable(GL_DEPTH_TEST);
            glEnable(GL_LIGHTING);
            Fx entry(&fond, 5000, nullptr);
            entry.start = t - 3000;
            entry.draw(t);
            EXPECT_TRUE(frame() == want);
            fill(0.1f, 0.1f, 0.1f);
            Fx other(&fond, 200, nullptr); // another entry at the same time
            other.start = t;
            other.draw(t);
            EXPECT_TRUE(frame() == want);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_LIGHTING);
        }
    }
}

} // namespace
