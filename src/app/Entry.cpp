#include "app/Entry.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include <cstdio>

using namespace platform;

namespace {

// Returns the mode the window is to open in: full screen unless the answer is No.
bool askStartupQuestions() {
    const bool fullscreen =
        askYesNo("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?") != Answer::No;
    Settings& s = settings();
    chooseResolution(s, askYesNo("800x600?", "yes->800x600; no->640->480?") != Answer::No);
    return fullscreen;
}

void loop(const FrameStep& frame) {
    bool done = false;
    for (;;) {
        SDL_Event event;
        // Nothing to draw while minimised: wait for events instead of spinning.
        const bool got = windowActive() ? SDL_PollEvent(&event) : SDL_WaitEventTimeout(&event, 20);
        if (got) {
            if (!handleEvent(event)) return;
            continue;
        }
        if (windowActive()) {
            if (keyPressed(SDL_SCANCODE_ESCAPE)) {
                done = true;
            } else {
                beginFrame();
                if (!frame()) done = true;
                endFrame();
            }
        }
        if (keyPressed(SDL_SCANCODE_F1)) {
            clearKey(SDL_SCANCODE_F1);
            toggleFullscreen(); // a refused switch keeps the current mode
        }
        if (done) return;
    }
}

} // namespace

int runVelmora(const ShowBuilder& build) {
    std::string error;
    if (!openDisplay(error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        return 1;
    }
    const bool fullscreen = askStartupQuestions();
    const Settings& s = settings();
    if (!createWindow("Morvanta Quorbel", s.width, s.height, 32, fullscreen)) {
        closeDisplay();
        return 1;
    }
    SDL_DisableScreenSaver();
    const FrameStep frame = build();
    loop(frame);
    killWindow();
    // Audio belongs to the music player, which shuts it down when the program ends.
    closeDisplay();
    return 0;
}
