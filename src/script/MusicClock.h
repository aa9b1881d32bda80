#pragma once

// The show's time: the counter's, held to the music while it plays, so that the
// pictures stay with what is heard whatever pace the sound device keeps.
class MusicClock {
public:
    // How far the music may be from the pictures before the show time moves to it, ms.
    // The mixer's position moves in steps of its buffer (23 ms), so less would chase them.
    static constexpr int slack = 20;
    // How long the music may stand still before the show goes on without it, ms: a
    // stalled sound device cannot stop the show.
    static constexpr int stall = 500;

    // The show time for a frame: `clock` is the counter's time, `music` the music's
    // position (both ms), negative when no music plays.
    int showTime(int clock, double music);

private:
    int behind = 0;    // ms the show time has been held back from the counter's
    double moved = -1; // the music's position when it last moved
    int movedAt = 0;   // the counter's time then
};
