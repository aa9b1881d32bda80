// A show of its own on the real platform layer, for driving the program as a user
// would: a textured checkerboard that lasts VELMORA_TESTSHOW_MS milliseconds.
#include "platform/Clock.h"
#include "app/Entry.h"
#include "engine/Demo.h"
#include "glpp/Guards.h"
#include "glpp/Screen.h"
#include <GL/gl.h>
#include <cstdlib>
#include <vector>

namespace {

class Checker : public Effect {
public:
    Checker() : Effect(0) {
        std::vector<unsigned char> texels(8 * 8 * 3);
        for (int i = 0; i < 64; ++i) {
            const bool light = ((i % 8) + (i / 8)) % 2 == 0;
            texels[i * 3 + 0] = light ? 40 : 200;
            texels[i * 3 + 1] = light ? 200 : 40;
            texels[i * 3 + 2] = 90;
        }
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    }
    void draw(int) override {
        GLPP::glppOrtho2D ortho(0, 1, 0, 1);
        GLPP::glppEnable<GL_TEXTURE_2D> texturing;
        GLPP::glppDisable<GL_DEPTH_TEST> noDepth;
        glBindTexture(GL_TEXTURE_2D, texture);
        GLPP::glppColorf white(1, 1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(0, 0);
        glTexCoord2f(1, 0);
        glVertex2f(1, 0);
        glTexCoord2f(1, 1);
        glVertex2f(1, 1);
        glTexCoord2f(0, 1);
        glVertex2f(0, 1);
        glEnd();
    }
    GLuint texture = 0;
};

} // namespace

int main() {
    return runVelmora([] {
        const char* ms = std::getenv("VELMORA_TESTSHOW_MS");
        Fx entry(new Checker(), ms ? std::atoi(ms) : 600000, nullptr);
        demo.track(0).add(entry);
        platform::clockReset();
        return FrameStep([] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            const bool running = demo.play(platform::clockElapsedMs());
            if (!running) platform::clockReset();
            return running;
        });
    });
}
