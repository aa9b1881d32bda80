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
    if (target.openScreen(error)) return true;
    closeHeadless();
    return false;
}

void closeHeadless() {
    if (glContextCurrent()) target.release();
    killWindow();
    closeDisplay();
}

} // namespace platform
