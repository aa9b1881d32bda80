#pragma once
#include "glpp/Screen.h"

// The tunings for renderers that draw on the CPU (Mesa's llvmpipe, softpipe, swrast),
// all in this one place. There, reading pixels back is a copy, and handing a batch of
// draws over early lets the rasteriser threads start on it while this thread prepares
// the next; on a GPU both would stall its pipeline. So they are used only where
// GL_RENDERER names a software renderer, unless a switch forces the choice.
namespace software {

enum class Renderer { Detected, Software, Hardware };

// Forces the choice either way (the suite runs both on one renderer), or back to what
// GL_RENDERER says.
void forceRenderer(Renderer choice);

// Whether the tunings apply.
bool tuned();

// Whether a GL_RENDERER string names a software renderer.
bool namesSoftware(const char* renderer);

// Hands the draws made so far to the renderer, where tuned.
void handOver();

// Where tuned, the box of the pixels in the lower-left w x h of the bound framebuffer
// that are not all zero (RGBA), read back; empty when every one is. Elsewhere the whole
// w x h, which serves every caller as well, only slower on a CPU.
PixelBox litBox(int w, int h);

} // namespace software
