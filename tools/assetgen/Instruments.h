#pragma once
// The soundtrack's instruments. Each adds its notes, scaled by `gain`, into `out`.
#include "Dsp.h"
#include "Score.h"
#include <vector>

void playPad(const std::vector<Note>& notes, float gain, dsp::Stereo& out);  // detuned saws
void playBass(const std::vector<Note>& notes, float gain, dsp::Stereo& out); // saw and sine
void playArp(const std::vector<Note>& notes, float gain, dsp::Stereo& out);  // plucked pulse
void playLead(const std::vector<Note>& notes, float gain, dsp::Stereo& out); // two-operator FM

void playKick(const std::vector<Note>& hits, float gain, dsp::Stereo& out);
void playSnare(const std::vector<Note>& hits, float gain, dsp::Stereo& out);
void playHat(const std::vector<Note>& hits, float decay, float gain, dsp::Stereo& out);
void playCrash(const std::vector<Note>& hits, float gain, dsp::Stereo& out);
void playRiser(const std::vector<Note>& sweeps, float gain, dsp::Stereo& out); // noise sweep

// The show's moments.
void playCrack(const std::vector<Note>& hits, float gain, dsp::Stereo& out); // white flash
void playZap(const std::vector<Note>& hits, float gain, dsp::Stereo& out);   // falling FM
void playBell(const std::vector<Note>& hits, float gain, dsp::Stereo& out);  // struck metal
void playSwell(const std::vector<Note>& swells, float gain, dsp::Stereo& out); // to the peak
void playImpact(const std::vector<Note>& hits, float gain, dsp::Stereo& out);  // a cut
void playChime(const std::vector<Note>& hits, float gain, dsp::Stereo& out);   // a card
