#pragma once
#include "Image.h"

// The cube scene's reflection: a bright, soft, cool light in the centre that
// fades to a dark rim, crossed by a few faint streaks. 256 x 256 RGB.
Image drawFlare();

// A soft pattern of overlapping waves in muted blues and violets. 256 x 256 RGB.
Image drawMap();

// The program's icon, `pixels` a side, RGBA: a rounded tile like the cube scene's, lit
// by the flare, on a transparent ground. Drawn at each size rather than scaled, so that
// it stays sharp at 48 pixels.
Image drawIcon(int pixels);
