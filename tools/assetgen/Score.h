#pragma once
// The soundtrack as notes: what each instrument plays and when.
#include "Show.h"
#include <string>
#include <vector>

// One note or drum hit. Times in seconds from the start of the show.
struct Note {
    double start = 0;
    double length = 0;
    float pitch = 0;    // MIDI note number (drums: unused)
    float velocity = 1; // 0 to 1
    float tone = 0.5f;  // brightness, 0 (dark) to 1 (bright); each instrument reads it its way
    float pan = 0;      // -1 left to 1 right
};

// Who plays a note: every part of the soundtrack, in the order the mix adds them up.
// Each has its instrument, level and sends in the band (Instruments.cpp).
enum class Voice {
    kick,
    snare,
    hat,
    openHat,
    crash,
    riser, // a noise sweep into what follows
    bass,
    pad,
    arp,
    lead,
    // The show's own moments: a hit on every visible flash when it starts, by its mode
    // (white, and the two inverting ones); a swell that meets the brightest moment of
    // each longer flash; an impact on every cut and a chime on every card change.
    crack,
    zap,
    bell,
    swell,
    impact,
    chime,
    count
};
constexpr int voices = static_cast<int>(Voice::count);

struct Score {
    double length = 0;    // seconds of sound to render
    double fadeIn = 0;    // the sound rises from silence over this many seconds
    double fadeStart = 0; // the sound falls from here ...
    double fadeEnd = 0;   // ... to silence here
    std::vector<Note> notes[voices];

    std::vector<Note>& operator[](Voice v) { return notes[static_cast<int>(v)]; }
    const std::vector<Note>& operator[](Voice v) const { return notes[static_cast<int>(v)]; }
};

// Composes the soundtrack to `show`: its sections change with the scenes, each flash
// rhythm sets the grid its section plays on, and the moments get their hits. False,
// saying why, for a show of another shape than the one the sections are written for.
bool compose(const Show& show, Score& score, std::string& error);
