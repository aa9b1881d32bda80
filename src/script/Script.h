#pragma once

// The demo script: its constructor builds every effect and lays the show out on the
// tracks of the global Demo; frame() draws one frame of it.
class Script {
public:
    Script();

    // One frame at the clock's time; false on the frame that found nothing to draw,
    // after which the clock restarts from zero.
    bool frame();

    // One frame at timeline time `time`: clears the screen and draws every track.
    bool frameAt(int time);
};
