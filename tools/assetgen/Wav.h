#pragma once
#include "Dsp.h"
#include <string>

// Writes 16-bit PCM stereo WAV at the synthesiser's rate. False on an I/O error.
bool writeWav(const std::string& path, const dsp::Stereo& sound);
