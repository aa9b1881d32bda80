#pragma once
// The soundtrack's musical material: its chords and its tunes.
#include <vector>

struct Chord {
    int root;     // the bass note
    int tones[4]; // the pad's voicing
};

// A note of a tune, or of a bass line under one chord: start and length in steps of
// its grid, and a pitch (for a bass line, added to the chord's root).
struct Tune {
    double at, length;
    int pitch;
};

// Am7, Fmaj7, C, G: the theme.
extern const std::vector<Chord> theme;
// Dm, Bb, C, A: a darker turn for the outlined scene.
extern const std::vector<Chord> detour;
// Fmaj7, G6, Em7, Am9, two bars each: the calm before the finale.
extern const std::vector<Chord> calm;
// The theme's tune in beats, eight bars over Am F C G twice: a call, then its answer.
extern const std::vector<Tune> themeTune;
// Long notes falling through the calm chords, in beats.
extern const std::vector<Tune> calmTune;
// The flash rhythms' bars are 21 steps, flashes starting on steps 0, 3, 4 and 9; the
// tunes of their sections move with the flashes and hold through the pause.
// Four bars over Dm Bb C A.
extern const std::vector<Tune> darkTune;
// The theme again, four bars of Am F | C G, two chords a bar (changing on step 12).
extern const std::vector<Tune> fullTune;
