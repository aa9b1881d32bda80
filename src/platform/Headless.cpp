#include "platform/Headless.h"
#include "platform/Gl.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "platform/Window.h"

namespace platform {

namespace {
Offscreen target;
}

bool openHeadless(ScreenSize size, std::string& error) {
    if (!openDisplay(error)) return false;
    Settings& s = settings();
    chooseResolution(s, size);
    if (!createHiddenWindow(s.width, s.height, error)) {
        closeDisplay();
        return false;
    }
    if (!glHoldsScreen(error)) {
        closeHeadless();
        return false;
    }
    if (!target.create(s.width, s.height)) {
        error = "the GL driver offers no framebuffer objects";
        closeHeadless();
        return false;
    }
    target.bind();
    resizeScene(s.width, s.height);
    return true;
}

void closeHeadless() {
    if (glContextCurrent()) target.release();
    killWindow();
    closeDisplay();
}

} // namespace platform
