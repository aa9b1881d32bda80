#pragma once
#include "platform/Settings.h"
#include <string>

// A GL context without a visible window, drawing into an offscreen screen of exactly
// the settings' size: for rendering frames to files and for tests.
namespace platform {

// Fills the settings for a screen of `size`. False with a reason on failure.
bool openHeadless(ScreenSize size, std::string& error);
void closeHeadless();

} // namespace platform
