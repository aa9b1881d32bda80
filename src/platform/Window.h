#pragma once
#include "platform/Display.h"
#include "platform/Keys.h"
#include "platform/Presentation.h"
#include <SDL.h>
#include <string>

// The one window with its GL context, and its events. The window and the context are
// private to Window.cpp; the display, the keys and the show's screen each have a part of
// their own, included here because the main loop uses all of them.
namespace platform {

// Full screen keeps the desktop's own mode, the show drawn at its size between bars,
// instead of asking for a mode of the show's size. Said before createWindow.
void keepDesktopMode();

// Opens the window with a current GL context; false after the failure was reported.
bool createWindow(const char* title, int width, int height, int bits, bool fullscreenFlag);

// A window that is never shown, with a current GL context: for drawing to files.
// False with a reason.
bool createHiddenWindow(int width, int height, std::string& error);

// Releases the context and the window, whatever exists of them.
void killWindow();

// Handles one event; returns false when the event asks the program to quit.
bool handleEvent(const SDL_Event& event);

// Whether frames are drawn: false while the window is minimised.
bool windowActive();

// Switches full screen on the same window and context; false when refused.
bool toggleFullscreen();

} // namespace platform
