#include "app/Clock.h"
#include <SDL.h>

int64_t clockFrequency = static_cast<int64_t>(SDL_GetPerformanceFrequency());
int64_t clockBase = 0;
int64_t clockNow = 0;

static int64_t counter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

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
