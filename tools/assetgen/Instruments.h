#pragma once
// The band: the instrument of every voice of the score, with its place in the mix.
// Adding an instrument is adding its row here and its voice to Score.h.
#include "Dsp.h"
#include "Score.h"
#include <vector>

// A voice's share of the dry mix, the reverb and the echo.
struct Sends {
    float dry, reverb, echo;
};

// How far the kick pushes a voice aside (Effects.h's ducking): not at all, by 0.3 or by 0.45.
enum class Duck { none, light, deep };

// The stems the band splits into: the hits on the show's flashes, cuts and cards, each
// alone, and the rest.
enum class Stem { rest, flashes, cuts, cards, count };
constexpr int stems = static_cast<int>(Stem::count);
extern const char* const stemNames[stems]; // "rest", "flashes", "cuts", "cards"

struct Instrument {
    Voice voice;
    // Adds the notes, scaled by `gain`, into `out`.
    void (*play)(const std::vector<Note>& notes, float gain, dsp::Stereo& out);
    float gain;
    Sends sends;
    Duck duck;
    bool sharesBus; // plays into the bus of the row before, with its sends and stem
    Stem stem;
};

// One row a voice, in the order of Voice.
extern const std::vector<Instrument> band;
