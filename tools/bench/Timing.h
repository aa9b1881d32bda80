#pragma once
#include "engine/Fx.h"
#include "platform/Clock.h"
#include <GL/gl.h>
#include <cstddef>
#include <string>
#include <vector>

// One entry of the scene track and what was measured while it was on.
struct Section {
    Fx entry;
    std::string effect;
    std::vector<int> times;     // the moments rendered
    std::vector<double> frames; // whole frames, every track
    std::vector<double> scene;  // the entry's own draw (tile variants only)
    std::vector<double> bare;   // the bare reference at the same moments
    std::vector<double> ratio;  // scene / bare, moment by moment

    int end() const { return entry.start + entry.duration; }
    bool covers(int t) const { return t >= entry.start && t < end(); }
};

// The section of the scene track that is on at `t`, or none.
Section* sectionAt(std::vector<Section>& sections, int t);

// The yardstick of every ratio: the bare draw of the heaviest frame, with the designed
// meshes, as the median over the section whose bare draws take longest. (All tiles
// are placed in the rings and in the morphs alike, but the morphs' draw in half the
// time: a median over both would land on either side from run to run.)
double referenceMs(const std::vector<Section>& sections);

// One run of `work`, in ms, with the renderer idle before and finished after.
template <class F> double timed(F work) {
    glFinish();
    const double begin = platform::nowMs();
    work();
    glFinish();
    return platform::nowMs() - begin;
}

// Keeps the faster of what moment i measured in earlier passes and `took`: other programs
// on the machine only ever slow a run down.
void keepFastest(std::vector<double>& kept, size_t i, double took);

// Whether the section's entry draws the cube scene's tiles: the bare reference applies.
bool drawsTiles(Section& s);

// The bare tiles at the section's moments. Measured before the show runs, as the
// reference program would draw them, on a renderer that nothing else has used: a
// renderer keeps its memory and threads in the shape the batches before left them in.
// In the first pass each moment is drawn once untimed first.
void measureBare(Section& s, int pass);

// The scene entry's own draw at the same moments, once the show has run.
void measureScene(Section& s, int pass);

double peakRssMb();
