#pragma once
// The moments of the show that the soundtrack is composed to, in ms of show time:
// written by assetgen_show from the show's own timeline, read by assetgen_music.
#include "effects/FlashKind.h"
#include <string>
#include <vector>

// A flash entry of the flash track or the mark track, and the part of it that is drawn
// (an entry added earlier to the track wins where two cover the same moment).
struct FlashSpan {
    int start = 0, end = 0; // the entry; a sine flash is brightest halfway
    int from = 0, to = 0;   // drawn from `from` up to `to`
    int mode = 0;           // what it draws: flashKind(mode)
    bool visible() const {
        return flashKind(mode) == FlashKind::White || flashKind(mode) == FlashKind::Inverting;
    }
    bool fadeIn() const { return flashKind(mode) == FlashKind::FadeIn; }
    bool fadeOut() const { return flashKind(mode) == FlashKind::FadeOut; }
    int peak() const { return start + (end - start) / 2; }
};

struct Show {
    int length = 0;                 // the first moment at which nothing is drawn
    std::vector<int> cuts;          // the scene track's changes, ascending
    std::vector<int> cards;         // a card appears or a wipe to the next begins
    std::vector<FlashSpan> flashes; // every drawn stretch of a flash, ascending by start
};

// A flash rhythm: cycles of four flashes end to end and a pause, all cycles alike,
// read as a grid of equal steps (the cycle over its shortest flash, rounded).
struct Rhythm {
    int first = 0; // the first flash's start
    int cycle = 0; // ms from one cycle's start to the next
    int cycles = 0;
    int steps = 0; // steps in a cycle
    int last = 0;  // the last flash's end
    std::vector<FlashSpan> flashes;
    double step() const { return static_cast<double>(cycle) / steps; }
};

// The rhythms among `flashes` (as in Show), in order.
std::vector<Rhythm> rhythmsOf(const std::vector<FlashSpan>& flashes);

// The event file: one line a moment ("cut 10000", "card 21500",
// "flash START END FROM TO MODE") after "length MS". False on an I/O error, or with
// the line that could not be read.
bool writeShow(const std::string& path, const Show& show);
bool readShow(const std::string& path, Show& show, std::string& error);
