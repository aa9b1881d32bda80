#pragma once

// The show's screen: always exactly the settings' size, with its viewport and default
// projection. When the window's drawable has another size, frames are drawn offscreen
// and letterboxed onto it.
namespace platform {

// Viewport and default projection for a screen of width x height.
void resizeScene(int width, int height);

// Follows a drawable of drawW x drawH pixels: frames go straight to it when it is the
// show's size, otherwise (when framebuffer objects allow) to an offscreen screen.
void fitScreen(int drawW, int drawH);

// Draws of the next frame go to the show's screen.
void beginFrame();

// Puts the finished frame onto the drawable of drawW x drawH pixels, scaled with its
// aspect kept and black bars around it when drawn offscreen; the caller swaps buffers.
void presentFrame(int drawW, int drawH);

// Puts the finished frame (begun with beginFrame) onto the window and swaps its buffers:
// the window's part of the platform, the desktop's or the page's.
void endFrame();

// Lets the offscreen screen go; called while its context is still current.
void releaseScreen();

} // namespace platform
