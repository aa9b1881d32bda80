#include "platform/Keys.h"

namespace platform {

namespace {
bool down[SDL_NUM_SCANCODES];   // true while the key (by scancode) is down
bool struck[SDL_NUM_SCANCODES]; // pressed since the loop last cleared it
} // namespace

void noteKey(const SDL_KeyboardEvent& event) {
    const SDL_Scancode key = event.keysym.scancode;
    if (event.type == SDL_KEYUP) {
        down[key] = false;
    } else if (!event.repeat) {
        down[key] = true;
        struck[key] = true;
    }
}

bool keyPressed(SDL_Scancode key) { return down[key] || struck[key]; }

void clearKey(SDL_Scancode key) {
    down[key] = false;
    struck[key] = false;
}

} // namespace platform
