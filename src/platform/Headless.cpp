#include "app/Headless.h"
#include "app/Offscreen.h"
#include "app/Settings.h"
#include "app/Window.h"

namespace {
Offscreen target;
}

bool openHeadless(bool big, std::string& error) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot open the X display (") + SDL_GetError() +
                "); set DISPLAY or use xvfb-run";
        return false;
    }
    Settings& s = settings();
    chooseResolution(s, big);
    requestGlContext(32);
    window =
        SDL_CreateWindow("velmora", 0, 0, s.width, s.height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window) context = SDL_GL_CreateContext(window);
    if (!window || !context || SDL_GL_MakeCurrent(window, context) != 0) {
        error = std::string("cannot create a GL context (") + SDL_GetError() + ")";
        closeHeadless();
        return false;
    }
    initGlut();
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
    if (context) target.release();
    killWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
