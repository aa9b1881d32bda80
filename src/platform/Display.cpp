#include "platform/Display.h"
#include <SDL.h>
#include <cstdio>

namespace platform {

bool openDisplay(std::string& error) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    error = std::string("cannot open the X display (") + SDL_GetError() +
            "); set DISPLAY or use xvfb-run";
    return false;
}

void closeDisplay() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

bool desktopSize(int& width, int& height) {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
}

Answer askYesNo(const char* text, const char* caption, bool warning) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData box = {warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
                                    nullptr,
                                    caption,
                                    text,
                                    2,
                                    buttons,
                                    nullptr};
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return Answer::Other;
    return answer == 1 ? Answer::Yes : answer == 0 ? Answer::No : Answer::Other;
}

void reportError(const char* text, const char* caption) {
    std::fprintf(stderr, "velmora: %s (%s)\n", text, SDL_GetError());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

} // namespace platform
