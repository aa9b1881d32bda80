// The moving background against the picture its description draws: the pattern at 0.4
// over twice the screen, then twelve wedges of it at 0.15, each scaled and turned with
// the time alone, all added onto the frame.
#include "effects/Fond.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include <cmath>

namespace {

void texturedQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(x0, y0), glTexCoord2f(1, 0), glVertex2f(x1, y0);
    glTexCoord2f(1, 1), glVertex2f(x1, y1), glTexCoord2f(0, 1), glVertex2f(x0, y1);
    glEnd();
}

using FondTest = GlTest;

TEST_F(FondTest, DrawsItsDescriptionWhicheverEntryShowsIt) {
    Fond fond;
    for (bool big : {true, false}) {
        open(big);
        for (int t : {0, 7777, 120625}) {
            startState(false);
            fill(0.1f, 0.1f, 0.1f);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(-0.5, 0.5, -0.5, 0.5, -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            glBindTexture(GL_TEXTURE_2D, fond.pattern);
            glColor3f(0.4f, 0.4f, 0.4f);
            texturedQuad(-1, -1, 1, 1);
            glColor3f(0.15f, 0.15f, 0.15f);
            for (int k = 0; k < 360;
                 k += 30) { // scales 0.95 + sin(k + t / 800) / 4, turned k + t / 100
                const float s = float(
                    float(std::sin(float(float(k) * 3.1415927 / 180 + t / 800.0))) * 0.25 + 0.95);
                glPushMatrix();
                glScalef(s, s, s);
                glRotatef(float(k + t / 100.0), 0, 0, 1);
                texturedQuad(0, 0, 1, 1);
                glPopMatrix();
            }
            const std::vector<uint8_t> want = frame();
            for (int start : {t - 3000, t}) {
                fill(0.1f, 0.1f, 0.1f);
                glEnable(GL_DEPTH_TEST);
                glEnable(GL_LIGHTING);
                Fx entry(&fond, 5000, nullptr);
                entry.start = start;
                entry.draw(t);
                EXPECT_TRUE(frame() == want) << t << " from " << start << ", big " << big;
            }
        }
    }
}

} // namespace
