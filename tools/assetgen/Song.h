#pragma once
#include "Dsp.h"
#include "Score.h"
#include <vector>

// Plays the score through the instruments and the mix: 44.1 kHz stereo, peaks at
// `peak` of full scale, rising from silence at the start and back to it at the end.
dsp::Stereo renderSong(const Score& score, float peak);

// The song split into its stems (Instruments.h), in the order of Stem: every voice played
// and mixed as in the song and brought to its level by the song's own gain, but not
// limited. They add up to the song wherever its limiter does not act.
std::vector<dsp::Stereo> renderStems(const Score& score, float peak);
