#include "platform/Clock.h"
#include <SDL.h>

namespace platform {

namespace {
int64_t counter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

int64_t clockFrequency = static_cast<int64_t>(SDL_GetPerformanceFrequency()); // before main
int64_t clockBase = 0; // counter value at the show's time zero
int64_t clockNow = 0;  // counter value of the latest frame
} // namespace

void clockReset() {
    clockBase = counter();
    clockNow = clockBase;
}

int elapsedMs(int64_t base, int64_t now, int64_t frequency) {
    if (frequency <= 0) return 0; // no counter: the show stands still rather than dividing by 0
    return static_cast<int>((now - base) * 1000 / frequency);
}

int clockElapsedMs() {
    clockNow = counter();
    return elapsedMs(clockBase, clockNow, clockFrequency);
}

} // namespace platform
