#pragma once
#include <SDL.h>
#include <string>

// The one window with its GL context, its events and keys, and the message boxes.
// The window, the context and the key state are private to Window.cpp.
namespace platform {

// Starts SDL's video on X11 (freeglut talks to X11 directly, so SDL must use the same
// display). False with a reason when there is no display.
bool openDisplay(std::string& error);
void closeDisplay();

enum class Answer { Yes, No, Other };

// A yes/no question in a message box; a closed box, or one that cannot be shown, is Other.
Answer askYesNo(const char* text, const char* caption, bool warning = false);

// Shows a message box (or prints when none can be shown) and echoes it on stderr.
void reportError(const char* text, const char* caption);

// Opens the window with a current GL context; false after the failure was reported.
bool createWindow(const char* title, int width, int height, int bits, bool fullscreenFlag);

// A window that is never shown, with a current GL context: for drawing to files.
// False with a reason.
bool createHiddenWindow(int width, int height, std::string& error);

// Releases the context and the window, whatever exists of them.
void killWindow();

// Viewport and default projection for a screen of width x height.
void resizeScene(int width, int height);

// Handles one event; returns false when the event asks the program to quit.
bool handleEvent(const SDL_Event& event);

// Whether frames are drawn: false while the window is minimised.
bool windowActive();

// True while `key` is down, or when it was pressed since clearKey last forgot it: a
// quick tap whose release arrives in the same batch of events still counts.
bool keyPressed(SDL_Scancode key);
void clearKey(SDL_Scancode key);

// Switches full screen on the same window and context; false when refused.
bool toggleFullscreen();

// Frame bracketing: draws go to a screen of exactly the settings' size, and the
// finished frame reaches the window, scaled when the drawable differs.
void beginFrame();
void endFrame();

} // namespace platform
