#pragma once
#include <string>

// The X display the program draws on, and the message boxes it asks and reports in.
namespace platform {

// Starts SDL's video on X11 (freeglut talks to X11 directly, so SDL must use the same
// display). False with a reason when there is no display.
bool openDisplay(std::string& error);
void closeDisplay();

// The desktop's size in pixels, on the first screen; false when the display cannot say.
bool desktopSize(int& width, int& height);

enum class Answer { Yes, No, Other };

// A yes/no question in a message box; a closed box, or one that cannot be shown, is Other.
Answer askYesNo(const char* text, const char* caption, bool warning = false);

// Shows a message box (or prints when none can be shown) and echoes it on stderr.
void reportError(const char* text, const char* caption);

} // namespace platform
