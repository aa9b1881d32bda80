#include "script/MusicClock.h"
#include <algorithm>
#include <cmath>

MusicClock::Step MusicClock::frame(double now, int clock, double music) {
    const double gap = lastFrame < 0 ? 0 : std::min(now - lastFrame, double(longestFrame));
    lastFrame = now;
    if (music != lastMusic) {
        lastMusic = music;
        stillFor = 0;
    } else {
        stillFor += gap;
    }
    if (music < 0) { // nothing to follow; a seek still on its way rejoins the show itself
        leftBehind = false;
        return {clock, false, false};
    }
    if (stillFor > stall) {
        leftBehind = true;
        return {clock, false, false};
    }
    if (leftBehind) { // the device takes samples again: the music rejoins the show
        leftBehind = false;
        return {clock, false, true};
    }
    const int heard = static_cast<int>(std::lround(music));
    if (std::abs(clock - heard) <= slack) return {clock, false, false};
    return {heard, true, false};
}
