#include "platform/Presentation.h"
#include "platform/Gl.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"

namespace platform {

namespace {
Offscreen screen; // used only while the drawable differs from the show's size
bool useOffscreen = false;
} // namespace

void resizeScene(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    loadPerspective(static_cast<double>(width) / height, static_cast<double>(0.1f));
}

void fitScreen(int drawW, int drawH) {
    const Settings& s = settings();
    const bool differs = drawW != s.width || drawH != s.height;
    if (differs && !screen.valid()) screen.create(s.width, s.height);
    useOffscreen = differs && screen.valid();
    if (!useOffscreen) Offscreen::bindWindow();
}

void beginFrame() {
    if (useOffscreen) screen.bind();
}

void presentFrame(int drawW, int drawH) {
    if (useOffscreen) screen.present(drawW, drawH);
}

void releaseScreen() {
    screen.release();
    useOffscreen = false;
}

} // namespace platform
