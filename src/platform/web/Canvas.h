#pragma once
#include <string>

// The page's canvas, the show's screen in the browser: exactly the settings' size (the page
// scales it into view), with a WebGL 2 context on which our GL subset draws (src/gles).
namespace platform {

// Sizes the canvas to the settings and makes its context current; false with a reason.
bool openCanvas(std::string& error);

} // namespace platform
