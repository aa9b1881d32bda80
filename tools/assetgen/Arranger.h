#pragma once
// The arranging machinery: grids of steps, the parts a stretch of a section plays, and
// the writer that lays them out as notes of the score.
#include "Material.h"
#include "Score.h"
#include "Show.h"
#include <utility>
#include <vector>

// Equal steps in bars of `steps`, counted from a bar line at `origin`; seconds.
struct Grid {
    double origin = 0, step = 0.125;
    int steps = 16, beat = 4; // steps to a bar, and to a beat
    double at(double n) const { return origin + n * step; }
    double stepsTo(double t) const { return (t - origin) / step; }
};

// The grid of a flash rhythm: its cycle is the bar.
Grid gridOf(const Rhythm& r);

// Four-four bars of sixteenths from `from`, as near `bar` seconds long as fits whole
// bars up to `to`.
Grid barsBetween(double from, double to, double bar);

// Steps 0, by, 2 by ... below `steps`.
std::vector<double> every(double by, int steps);

// What plays through a stretch of a section. Tones ramp from the first value to the
// second over the stretch; drums and changes are steps within a bar.
struct Part {
    std::vector<Chord> chords;
    std::vector<int> changes = {0}; // where the chord changes
    float padTone[2] = {0.5f, 0.5f};
    float arpTone[2] = {0.5f, 0.5f};
    float arpLevel = 1;
    double arpEvery = 0;    // steps from one arpeggio note to the next; 0 none
    std::vector<Tune> bass; // under each chord; length 0 holds to the next change
    float bassLevel = 1, bassTone = 0.5f;
    std::vector<double> kick, snare, hat, openHat;
    float kickLevel = 1, hatLevel = 1;
};

// Root, octave, root ... on every `by` steps of a chord up to `steps`.
std::vector<Tune> pulse(double by, int steps, double length);

class Writer {
public:
    explicit Writer(Score& score) : s(score) {}

    // Lays `p` over [from, to) seconds of `g`; its chords follow each other from the
    // grid's bar 0 on, so a stretch before bar 0 ends with the chords that lead into it.
    void stretch(const Grid& g, double from, double to, const Part& p);

    void crash(double at, float velocity = 1) { add(s[Voice::crash], at, 4, 0, velocity, 0.5f, 0); }
    // Both stop short of `to`, so that the hit there stands out.
    void riser(double from, double to);
    // Snares every `step` seconds growing louder and brighter: a fill into what follows.
    void roll(double from, double to, double step, float v0, float v1);
    // `tune` from step `at` of `g` up to `until` seconds, its steps scaled by `scale`
    // (4 for a tune in beats on sixteenths).
    void melody(const Grid& g, double at, const std::vector<Tune>& tune, double scale, double until,
                int transpose, float velocity, float tone);

    // The chord sounding at `t`: the one laid last that began at or before it.
    const Chord& chordAt(double t) const;

    // Pad notes that continue into the next chord are held rather than struck again.
    void tieHeldNotes();

    static void add(std::vector<Note>& to, double at, double length, float pitch, float velocity,
                    float tone, float pan);

private:
    static constexpr double gap = 0.06; // s
    Score& s;
    std::vector<std::pair<double, Chord>> harmony; // in the order laid, which is by time

    void drums(const Grid& g, double b0, double from, double to, const Part& p);
    void arpeggio(const Grid& g, double c0, double c1, double a, double b, const Chord& c,
                  const Part& p, float tone);
};
