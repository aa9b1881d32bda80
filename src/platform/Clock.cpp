#include "platform/Clock.h"
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include <SDL.h>
#endif

namespace platform {

namespace {
#ifdef __EMSCRIPTEN__
// The page's performance.now(), in microseconds.
int64_t counter() { return static_cast<int64_t>(emscripten_get_now() * 1000.0); }
int64_t clockFrequency = 1000000;
double ticksMs() { return emscripten_get_now(); }
#else
int64_t counter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }
int64_t clockFrequency = static_cast<int64_t>(SDL_GetPerformanceFrequency()); // before main
double ticksMs() { return static_cast<double>(SDL_GetTicks64()); }
#endif
int64_t clockBase = 0; // counter value when the clock read clockOffset
int64_t clockNow = 0;  // counter value of the latest reading
int clockOffset = 0;   // what the clock read at clockBase, or all along while it stands
bool clockStands = false;
} // namespace

double nowMs() {
    // Without a counter, the millisecond ticks serve: coarser, but they still run.
    if (clockFrequency <= 0) return ticksMs();
    return static_cast<double>(counter()) * 1000.0 / static_cast<double>(clockFrequency);
}

void clockReset() { clockSet(0); }

void clockSet(int ms) {
    clockBase = counter();
    clockNow = clockBase;
    clockOffset = ms;
}

void clockPause(bool stand) {
    if (stand == clockStands) return;
    if (stand)
        clockOffset = clockElapsedMs();
    else
        clockBase = counter();
    clockStands = stand;
}

bool clockPaused() { return clockStands; }

int elapsedMs(int64_t base, int64_t now, int64_t frequency) {
    if (frequency <= 0) return 0; // no counter: the show stands still rather than dividing by 0
    return static_cast<int>((now - base) * 1000 / frequency);
}

int clockElapsedMs() {
    if (clockStands) return clockOffset;
    clockNow = counter();
    return clockOffset + elapsedMs(clockBase, clockNow, clockFrequency);
}

} // namespace platform
