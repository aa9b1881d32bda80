#pragma once
#include <SDL.h>

// The keyboard as the main loop reads it, kept from the window's key events.
namespace platform {

// Notes a key going down (SDL_KEYDOWN; repeats change nothing) or up (SDL_KEYUP).
void noteKey(const SDL_KeyboardEvent& event);

// True while `key` is down, or when it was pressed since clearKey last forgot it: a
// quick tap whose release arrives in the same batch of events still counts.
bool keyPressed(SDL_Scancode key);
void clearKey(SDL_Scancode key);

} // namespace platform
