#pragma once
#include "Dsp.h"
#include "Score.h"

// Plays the score through the instruments and the mix: 44.1 kHz stereo, peaks at
// `peak` of full scale, rising from silence at the start and back to it at the end.
dsp::Stereo renderSong(const Score& score, float peak);
