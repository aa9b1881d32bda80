#pragma once
#include <string>

// A GL context without a visible window, drawing into an offscreen screen of exactly
// the settings' size: for rendering frames to files and for tests.
namespace platform {

// Fills the settings as the resolution answer `big` would. False with a reason on failure.
bool openHeadless(bool big, std::string& error);
void closeHeadless();

} // namespace platform
