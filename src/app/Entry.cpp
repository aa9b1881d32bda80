#include "app/Entry.h"
#include "app/Options.h"
#include "app/Player.h"
#include "engine/Demo.h"
#include "platform/Gl.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include <cstdio>

using namespace platform;

namespace {

// Returns the mode the window is to open in: full screen unless the answer is No. An
// option answers its question instead, and the box is not shown.
bool askStartupQuestions(const PlayerOptions& options) {
    const bool fullscreen = options.fullscreen
                                ? *options.fullscreen
                                : askYesNo("Would You Like To Run In Fullscreen Mode?",
                                           "Start FullScreen?") != Answer::No;
    ScreenSize size = bigSize;
    int screenW = 0, screenH = 0;
    if (options.native) {
        if (desktopSize(screenW, screenH)) size = largestWithin(screenW, screenH);
        keepDesktopMode();
    } else if (options.size) {
        size = *options.size;
    } else if (askYesNo("800x600?", "yes->800x600; no->640->480?") == Answer::No) {
        size = smallSize;
    }
    chooseResolution(settings(), size);
    return fullscreen;
}

// What an event asks of the player: a control key, or, while paused, the held frame
// shown again when the window was uncovered or resized. False when it ended the show.
bool take(Player& player, const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        const Uint8 what = event.window.event;
        if (player.paused() &&
            (what == SDL_WINDOWEVENT_EXPOSED || what == SDL_WINDOWEVENT_SIZE_CHANGED))
            player.showStill();
        return true;
    }
    if (event.type == SDL_AUDIODEVICEREMOVED && !event.adevice.iscapture && demo.music)
        demo.music->lose(); // a sound device gone leaves the music behind
    if (event.type != SDL_KEYDOWN || event.key.repeat) return true;
    switch (event.key.keysym.scancode) {
    case SDL_SCANCODE_SPACE:
        return player.press(Control::Pause);
    case SDL_SCANCODE_LEFT:
        return player.press(Control::Back);
    case SDL_SCANCODE_RIGHT:
        return player.press(Control::Forward);
    case SDL_SCANCODE_HOME:
        return player.press(Control::Home);
    default:
        return true;
    }
}

void loop(Player& player) {
    bool done = false;
    for (;;) {
        SDL_Event event;
        // Nothing to draw while paused or minimised: wait for events instead of spinning.
        bool got = player.paused()  ? SDL_WaitEvent(&event) == 1
                   : windowActive() ? SDL_PollEvent(&event) == 1
                                    : SDL_WaitEventTimeout(&event, 20) == 1;
        for (; got; got = SDL_PollEvent(&event) == 1) {
            if (!handleEvent(event)) return;
            if (windowActive() && !take(player, event)) done = true;
        }
        if (windowActive() && !done) {
            if (keyPressed(SDL_SCANCODE_ESCAPE))
                done = true;
            else if (!player.paused() && !player.frame())
                done = true;
        }
        if (keyPressed(SDL_SCANCODE_F1)) {
            clearKey(SDL_SCANCODE_F1);
            toggleFullscreen(); // a refused switch keeps the current mode
            if (player.paused()) player.showStill();
        }
        if (done) return;
    }
}

} // namespace

int runVelmora(const PlayerOptions& options, const ShowBuilder& build) {
    std::string error;
    if (!openDisplay(error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        return 1;
    }
    const bool fullscreen = askStartupQuestions(options);
    const Settings& s = settings();
    if (!createWindow("Morvanta Quorbel", s.width, s.height, 32, fullscreen)) {
        closeDisplay();
        return 1;
    }
    if (!glHoldsScreen(error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        killWindow();
        closeDisplay();
        return 1;
    }
    SDL_DisableScreenSaver();
    FrameStep frame = build(); // opens the music, so before the player takes it
    Player player(std::move(frame), demo.music.get());
    if (options.start > 0) player.jump(options.start);
    loop(player);
    killWindow();
    // Audio belongs to the music player, which shuts it down when the program ends.
    closeDisplay();
    return 0;
}
