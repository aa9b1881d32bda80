#pragma once
#include "Image.h"

// The cube scene's reflection: a bright, soft, cool light in the centre that
// fades to a dark rim, crossed by a few faint streaks. 256 x 256 RGB.
Image drawFlare();

// A soft pattern of overlapping waves in muted blues and violets. 256 x 256 RGB.
Image drawMap();
