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
