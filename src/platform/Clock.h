#pragma once
#include <cstdint>

// The millisecond clock of the show, on SDL's performance counter. Its readings
// (frequency, the moment it was last set, what it read then, whether it stands) are
// private to Clock.cpp.
namespace platform {

// Time zero is now.
void clockReset();

// The clock reads `ms` now, and runs on from there unless it stands.
void clockSet(int ms);

// Stops the clock where it reads, or lets it run on from there.
void clockPause(bool stand);
bool clockPaused();

// Milliseconds since time zero, read from the counter now.
int clockElapsedMs();

// ((now - base) * 1000) / frequency in signed 64-bit, truncated to 32 bits; 0 when
// there is no counter (frequency 0).
int elapsedMs(int64_t base, int64_t now, int64_t frequency);

} // namespace platform
