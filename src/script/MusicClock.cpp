#include "script/MusicClock.h"
#include <cmath>
#include <cstdlib>

int MusicClock::showTime(int clock, double music) {
    if (music != moved) {
        moved = music;
        movedAt = clock;
    }
    const int time = clock - behind;
    if (music < 0 || clock - movedAt > stall) return time;
    const int heard = static_cast<int>(std::lround(music));
    if (std::abs(time - heard) <= slack) return time;
    behind = clock - heard;
    return heard;
}
