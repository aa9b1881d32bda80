#pragma once
#include "engine/Transit.h"
#include <vector>

// A strip of entries laid end to end by a time cursor.
class Track {
public:
    int cursor = 0;         // where the next added entry starts, ms
    Fx current;             // copy of the plain entry found by the latest active()
    Transit currentTransit; // copy of the transit found by the latest active()
    std::vector<Fx> entries;
    std::vector<Transit> transits;

    // Starts `fx` at the cursor (in the caller's object too) and moves the cursor past it.
    Track& add(Fx& fx);
    // Lays `tr` over the last tr.duration ms of the track and moves the cursor back to its start.
    Track& add(Transit& tr);
    Track& advance(int ms);

    // The work slot to draw at `time`, or none. A covering transit wins over plain
    // entries; among entries of one kind the first added wins.
    Effect* active(int time);
};

// Both cursors become the larger of the two.
void sync(Track& a, Track& b);
