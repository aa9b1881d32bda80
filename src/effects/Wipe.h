#pragma once

class Transit;

// A viewport rectangle of a wipe, in pixels.
struct WipeRect {
    int x, y, w, h;
};

// Draws the transit's outgoing entry into `from` and its incoming entry into `to`,
// then leaves the viewport on the full window for the tracks above.
void drawWipe(Transit& transit, int time, const WipeRect& from, const WipeRect& to);
