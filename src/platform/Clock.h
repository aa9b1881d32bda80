#pragma once
#include <cstdint>

// The millisecond clock of the show, on SDL's performance counter. Its readings
// (frequency, time zero, latest frame) are private to Clock.cpp.
namespace platform {

// Time zero is now.
void clockReset();

// Milliseconds since time zero, read from the counter now.
int clockElapsedMs();

// ((now - base) * 1000) / frequency in signed 64-bit, truncated to 32 bits; 0 when
// there is no counter (frequency 0).
int elapsedMs(int64_t base, int64_t now, int64_t frequency);

} // namespace platform
