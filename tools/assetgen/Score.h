#pragma once
// The soundtrack as notes: what each instrument plays and when.
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

struct Score {
    double length = 0;    // seconds of sound to render
    double fadeIn = 0;    // the sound rises from silence over this many seconds
    double fadeStart = 0; // the sound falls from here ...
    double fadeEnd = 0;   // ... to silence here
    std::vector<Note> pad, bass, arp, lead;
    std::vector<Note> kick, snare, hat, openHat, crash, riser;
};

// 120 beats per minute in A minor; sections change with the show's scenes.
Score compose();
