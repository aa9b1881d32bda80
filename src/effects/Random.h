#pragma once

// The show's one random sequence, drawn on in call order by the text shake and the
// outlined cubes' sizes. It is glibc's rand() (the additive feedback generator of
// random(), TYPE_3), drawn here so that every C library, the browser's included, shows
// the cards and the outlined scene as the desktop does. Never seeded, it starts as
// glibc's does: as if restarted from 1.

// The next number, 0 to 2^31 - 1, as glibc's rand() gives it.
int drawRandom();

// The next number cut to 0..32767: the range the text shake and the cube sizes are scaled for.
inline int rand15() { return drawRandom() & 0x7FFF; }

// Starts the sequence again from `seed` (0 counts as 1), as glibc's srand() does, so that
// two renders of one moment shake alike.
void restartRandom(unsigned seed);
