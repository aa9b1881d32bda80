#include "script/MusicClock.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

int MusicClock::showTime(int clock, double music) {
    int time = clock - behind;
    if (music >= 0) {
        const int heard = static_cast<int>(std::lround(music));
        const int held = std::abs(time - heard) > slack ? heard : time;
        time = std::max(held, std::min(time, last + (time - last) / 2));
        behind = clock - time;
    }
    last = time;
    return time;
}
