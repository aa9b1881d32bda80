#pragma once

// Holds the show's clock and the music together, frame by frame. It keeps no time of
// its own: it says when the show's clock moves to the music, and when the music moves
// to the show. Pure logic on the counter's time, the clock's reading and the music's
// position, so that any platform's frame loop can drive it.
class MusicClock {
public:
    // How far the music may be from the pictures before the show's clock moves to it, ms:
    // beyond the jitter of a device's pace, within what an eye and an ear take as one.
    static constexpr int slack = 12;
    // How long the music may stand still while frames are drawn before the show goes on
    // without it, ms: a stalled sound device cannot stop the show. With a frame to notice
    // and the slack, the picture stands half a second at most.
    static constexpr int stall = 450;
    // The most one frame adds to a stall, ms: a longer gap between frames means none
    // were drawn (the process stopped, the window minimised), not that the music stood.
    static constexpr int longestFrame = 100;

    struct Step {
        int time;       // the frame's show time
        bool moveClock; // the show's clock is to read `time` from now on
        bool moveMusic; // the music is to go on from `time`
    };

    // One frame: `now` is the counter's time (ms, any origin, never set), `clock` the
    // show's clock, `music` the music's position (ms), negative when none plays or it
    // is not known yet.
    Step frame(double now, int clock, double music);

private:
    double lastFrame = -1;   // the counter's time at the previous frame
    double lastMusic = -1;   // the music's position then
    double stillFor = 0;     // ms of frames drawn since the music last moved
    bool leftBehind = false; // the music stalled and the show went on without it
};
