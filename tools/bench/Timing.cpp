#include "Timing.h"
#include "BareTiles.h"
#include "Stats.h"
#include "effects/CubeVom.h"
#include "script/Script.h"
#include <SDL.h>
#include <algorithm>
#include <sys/resource.h>

double nowMs() {
    return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

Section* sectionAt(std::vector<Section>& sections, int t) {
    for (Section& s : sections)
        if (s.covers(t)) return &s;
    return nullptr;
}

double referenceMs(const std::vector<Section>& sections) {
    double heaviest = 0;
    for (const Section& s : sections)
        if (!s.bare.empty()) heaviest = std::max(heaviest, median(s.bare));
    return heaviest;
}

void keepFastest(std::vector<double>& kept, size_t i, double took) {
    if (i == kept.size())
        kept.push_back(took);
    else
        kept[i] = std::min(kept[i], took);
}

bool drawsTiles(Section& s) {
    if (s.entry.effect != static_cast<const Effect*>(cubeEffect) || s.times.empty()) return false;
    const std::vector<ListCall> calls = recordListCalls(s.entry, s.times.front());
    return !calls.empty() && cubeEffect->isTile(calls.front().list);
}

void measureBare(Section& s, int pass) {
    for (size_t i = 0; i < s.times.size(); ++i) {
        const std::vector<ListCall> calls = recordListCalls(s.entry, s.times[i]);
        const auto bare = [&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            drawBareTiles(*cubeEffect, calls);
        };
        if (pass == 0) bare();
        keepFastest(s.bare, i, timed(bare));
    }
}

void measureScene(Section& s, int pass) {
    for (size_t i = 0; i < s.times.size(); ++i) {
        const int t = s.times[i];
        const auto scene = [&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            s.entry.draw(t);
        };
        if (pass == 0) scene();
        keepFastest(s.scene, i, timed(scene));
    }
}

double peakRssMb() {
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    return static_cast<double>(self.ru_maxrss) / 1024.0; // kilobytes on Linux
}
