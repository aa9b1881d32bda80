#pragma once
#include <cstdint>

// Performance-counter readings behind the millisecond timeline.
extern int64_t clockFrequency; // counts per second, read before main runs
extern int64_t clockBase;      // counter value at the show's time zero
extern int64_t clockNow;       // counter value of the latest frame

// Time zero is now: clockBase and clockNow both take the current counter.
void clockReset();

// Reads the counter into clockNow and returns the milliseconds since clockBase.
int clockElapsedMs();

// ((now - base) * 1000) / frequency in signed 64-bit, truncated to 32 bits.
int elapsedMs(int64_t base, int64_t now, int64_t frequency);
