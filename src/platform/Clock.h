#pragma once
#include <cstdint>

// Time on SDL's performance counter. nowMs() is the one monotonic reader; the show's
// clock (whole ms, settable, pausable) builds on it. The clock's readings (frequency,
// the moment it was last set, what it read then, whether it stands) are private to
// Clock.cpp.
namespace platform {

// Milliseconds on the counter since an arbitrary origin: fractional, never stopped or set.
double nowMs();

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
