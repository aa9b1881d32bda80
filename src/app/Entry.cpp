#include "app/Entry.h"
#include "app/Settings.h"
#include "app/Window.h"
#include <cstdio>

namespace {

bool openDisplay() {
    // freeglut talks to X11 directly, so SDL must use the same display.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_DEFAULT);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr,
                     "velmora: cannot open the X display (%s); set DISPLAY or use xvfb-run\n",
                     SDL_GetError());
        return false;
    }
    return true;
}

void askStartupQuestions() {
    if (askYesNo("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?") == Answer::No)
        fullscreen = false;
    Settings& s = settings();
    chooseResolution(s, askYesNo("800x600?", "yes->800x600; no->640->480?") != Answer::No);
}

bool loop(const FrameStep& frame) {
    bool done = false;
    for (;;) {
        SDL_Event event;
        // Nothing to draw while minimised: wait for events instead of spinning.
        const bool got = active ? SDL_PollEvent(&event) : SDL_WaitEventTimeout(&event, 20);
        if (got) {
            if (!handleEvent(event)) return true;
            continue;
        }
        if (active) {
            if (keys[SDL_SCANCODE_ESCAPE] || struck[SDL_SCANCODE_ESCAPE]) {
                done = true;
            } else {
                beginFrame();
                if (!frame()) done = true;
                endFrame();
            }
        }
        if (keys[SDL_SCANCODE_F1] || struck[SDL_SCANCODE_F1]) {
            keys[SDL_SCANCODE_F1] = false;
            struck[SDL_SCANCODE_F1] = false;
            toggleFullscreen(); // a refused switch keeps the current mode
        }
        if (done) return true;
    }
}

} // namespace

int runVelmora(const ShowBuilder& build) {
    if (!openDisplay()) return 1;
    askStartupQuestions();
    const Settings& s = settings();
    if (!createWindow("Morvanta Quorbel", s.width, s.height, 32, fullscreen)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return 1;
    }
    SDL_DisableScreenSaver();
    const FrameStep frame = build();
    loop(frame);
    killWindow();
    // Audio belongs to the music player, which shuts it down when the program ends.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
}
