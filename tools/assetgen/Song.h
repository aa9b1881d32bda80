#pragma once
#include "Dsp.h"
#include "Score.h"

// Plays the score through the instruments and the mix: 44.1 kHz stereo, peaks at
// `peak` of full scale, rising from silence at the start and back to it at the end.
dsp::Stereo renderSong(const Score& score, float peak);

// The voices a stem holds.
using VoiceSet = bool[voices];

// The same song with only the voices `heard` sounding: every voice played and mixed as
// in the song, brought to its level by the song's own gain, but not limited. The stems
// of a split of the voices add up to the song wherever its limiter does not act.
dsp::Stereo renderStem(const Score& score, float peak, const VoiceSet& heard);
