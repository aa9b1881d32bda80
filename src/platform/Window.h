#pragma once
#include <SDL.h>

// Program-wide window state, shared by the entry routine and the event handler.
extern bool keys[SDL_NUM_SCANCODES];   // true while the key (by scancode) is down
extern bool struck[SDL_NUM_SCANCODES]; // pressed since the loop last looked: a quick tap
                                       // whose release arrives in the same batch still counts
extern bool active;                    // false while the window is minimised
extern bool fullscreen;                // the mode asked of createWindow
extern SDL_Window* window;
extern SDL_GLContext context;

// The GL context every window asks for: double-buffered, a depth buffer, colour
// channels for `bits` per pixel, and a compatibility profile (never a core one).
void requestGlContext(int bits);

// Opens the window with a current GL context; false after the failure was reported.
bool createWindow(const char* title, int width, int height, int bits, bool fullscreenFlag);

// Releases the context and the window, whatever exists of them.
void killWindow();

// Viewport and default projection for a screen of width x height.
void resizeScene(int width, int height);

// Handles one event; returns false when the event asks the program to quit.
bool handleEvent(const SDL_Event& event);

// Switches full screen on the same window and context; false when refused.
bool toggleFullscreen();

// Frame bracketing: draws go to a screen of exactly the settings' size, and the
// finished frame reaches the window, scaled when the drawable differs.
void beginFrame();
void endFrame();

enum class Answer { Yes, No, Other };

// A yes/no question in a message box; a closed box, or one that cannot be shown, is Other.
Answer askYesNo(const char* text, const char* caption, bool warning = false);

// Shows a message box (or prints when none can be shown) and echoes it on stderr.
void reportError(const char* text, const char* caption);

// Starts freeglut once a GL context exists (it needs the display SDL opened).
void initGlut();
