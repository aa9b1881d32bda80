#include "app/Player.h"
#include "engine/Music.h"
#include "glpp/Guards.h"
#include "glpp/Screen.h"
#include "platform/Clock.h"
#include "platform/Presentation.h"
#include "script/Timeline.h"
#include <algorithm>

using namespace GLPP;

namespace {
const int stepMs = 5000; // how far Left and Right go
}

Player::Player(FrameStep frameStep, Music* m) : step(std::move(frameStep)), music(m) {}

bool Player::paused() const { return platform::clockPaused(); }

bool Player::frame() {
    platform::beginFrame();
    const bool running = step();
    if (paused()) hold();
    platform::endFrame();
    return running;
}

bool Player::press(Control key) {
    const int now = platform::clockElapsedMs();
    switch (key) {
    case Control::Pause:
        return togglePause();
    case Control::Back:
        return jump(std::max(now - stepMs, 0));
    case Control::Forward:
        return jump(std::min(now + stepMs, showLength));
    case Control::Home:
        return jump(0);
    }
    return true;
}

bool Player::jump(int ms) {
    platform::clockSet(ms);
    if (music) music->seek(ms);
    return !paused() || frame();
}

bool Player::togglePause() {
    const bool stand = !paused();
    platform::clockPause(stand);
    if (music) {
        stand ? music->pause() : music->resume();
        music->seek(platform::clockElapsedMs()); // stands, and goes on, at the moment shown
    }
    // The frame shown last was not kept: draw the one to stand, at the same moment.
    return !stand || frame();
}

void Player::hold() {
    glppEnable<GL_TEXTURE_2D> texturing;
    if (!still) still = makeScreenTexture();
    captureScreen(still);
}

void Player::showStill() {
    if (!still) return;
    platform::beginFrame();
    {
        glppOrtho2D flat(0, 1, 0, 1);
        glppEnable<GL_TEXTURE_2D> texturing;
        glppDisable<GL_BLEND> opaque;
        glppDisable<GL_DEPTH_TEST> noDepth;
        glppDisable<GL_LIGHTING> unlit;
        glppDisable<GL_CULL_FACE> bothFaces;
        glBindTexture(GL_TEXTURE_2D, still);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        const ScreenExtent e = screenExtent();
        glBegin(GL_QUADS);
        quadCorners(0, 0, 1, 1, e.sMax, e.tMax);
        glEnd();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE); // as the show left it
    }
    platform::endFrame();
}
