#pragma once
#include <cstdlib>

// The C library's rand(), never seeded, cut to 0..32767: the range the text shake and
// the outlined cubes' sizes are scaled for. One sequence, drawn on in call order.
inline int rand15() { return std::rand() & 0x7FFF; }

// Starts the sequence again from `seed`, so that two renders of one moment shake alike.
inline void restartRandom(unsigned seed) { std::srand(seed); }
