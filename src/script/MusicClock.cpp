#include "script/MusicClock.h"
#include <cmath>
#include <cstdlib>

int MusicClock::showTime(int clock, double music) {
    const int time = clock - behind;
    if (music < 0 || music == moved) return time;
    moved = music;
    const int heard = static_cast<int>(std::lround(music));
    if (std::abs(time - heard) <= slack) return time;
    behind = clock - heard;
    return heard;
}
