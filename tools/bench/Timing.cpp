#include "Timing.h"
#include "BareTiles.h"
#include "Stats.h"
#include "effects/CubeVom.h"
#include "script/Script.h"
#include <algorithm>
#include <sys/resource.h>

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
    return !s.times.empty() && !placedTiles(s.entry, s.times.front()).empty();
}

namespace {
// Each of the section's moments on a cleared screen, timed, the fastest kept in `kept`:
// `prepare(t)`, untimed, gives the draw of moment t. In the first pass each moment is
// drawn once untimed first.
template <class Prepare>
void measureEach(Section& s, std::vector<double>& kept, int pass, Prepare prepare) {
    for (size_t i = 0; i < s.times.size(); ++i) {
        const auto draw = prepare(s.times[i]);
        const auto cleared = [&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            draw();
        };
        if (pass == 0) cleared();
        keepFastest(kept, i, timed(cleared));
    }
}
} // namespace

void measureBare(Section& s, int pass) {
    measureEach(s, s.bare, pass, [&](int t) {
        return [tiles = placedTiles(s.entry, t)] { cubeEffect->drawDesignedTiles(tiles); };
    });
}

void measureScene(Section& s, int pass) {
    measureEach(s, s.scene, pass, [&](int t) { return [&s, t] { s.entry.draw(t); }; });
}

double peakRssMb() {
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    return static_cast<double>(self.ru_maxrss) / 1024.0; // kilobytes on Linux
}
