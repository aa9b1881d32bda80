#pragma once
// Whole-track effects of the soundtrack's mix.
#include "Dsp.h"
#include "Score.h"
#include <vector>

// Replaces `bus` with its echoes, bouncing between left and right every `seconds`.
void pingPong(dsp::Stereo& bus, double seconds, float feedback);

// Replaces `bus` with a stereo room reverberation of it (wet only).
void reverberate(dsp::Stereo& bus);

// A gain curve that dips by `depth` at each kick and recovers, so that the kick
// pushes the sustained parts aside.
std::vector<float> ducking(const std::vector<Note>& kicks, size_t frames, float depth);
void applyGain(dsp::Stereo& bus, const std::vector<float>& gain);

// Takes out any offset from silence (a first-order high pass near 3 Hz).
void removeOffset(dsp::Stereo& bus);

// Removes what lies above `cutoff` (fourth order), as the MP3 encoder would; done
// before the limiter, the encoded peaks then stay near the limiter's ceiling.
void lowPass(dsp::Stereo& bus, double cutoff);

// Brings every peak down to `ceiling` with a smooth gain that starts to fall
// shortly before the peak and recovers after it.
void limit(dsp::Stereo& bus, float ceiling);
