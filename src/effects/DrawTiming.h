#pragma once

// Times the draw of one frame from its construction to its end, the renderer finished,
// for auto, which then picks the next frame's tiles from it. Inert in the other modes.
class DrawTiming {
public:
    DrawTiming();
    ~DrawTiming();
    DrawTiming(const DrawTiming&) = delete;
    DrawTiming& operator=(const DrawTiming&) = delete;

private:
    double begin = -1; // ms on the steady clock; negative when not timing
};
