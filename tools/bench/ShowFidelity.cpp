#include "ShowFidelity.h"
#include "Fidelity.h"
#include "Span.h"
#include "Stats.h"
#include "effects/Detail.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "script/Script.h"
#include "script/Timeline.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// One frame of the show as the capture tool takes it, with the cube scene's designed
// meshes or not: both pictures of a moment draw the same text shake and outlined cubes.
std::vector<uint8_t> pictureAt(Script& script, int t, Detail detail) {
    selectDetail(detail);
    script.momentAt(t);
    return platform::readRgbTopDown(platform::settings().width, platform::settings().height);
}

// The moments of a set and how far each one's picture is from the designed one.
struct FidelitySet {
    std::string name;
    std::vector<int> times;
};

std::string decibels(double db) {
    if (std::isinf(db)) return "same";
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", db);
    return text;
}

void printFidelity(const std::vector<FidelitySet>& sets, const std::map<int, Difference>& found) {
    const platform::Settings& st = platform::settings();
    std::printf("fidelity at %dx%d: every frame as drawn against the same frame drawn with the "
                "cube scene's designed meshes\n(PSNR in dB over the RGB channels; same: not a "
                "pixel differs)\n\n",
                st.width, st.height);
    std::printf("%-38s %6s %7s %7s %7s %9s %5s %5s\n", "frames", "count", "min", "at ms", "median",
                "differing", "<35", "<40");
    int worstTime = -1;
    for (const FidelitySet& set : sets) {
        std::vector<double> all, differing;
        int at = -1, below35 = 0, below40 = 0;
        for (int t : set.times) {
            const double db = found.at(t).psnr;
            all.push_back(db);
            if (!std::isinf(db)) differing.push_back(db);
            if (at < 0 || db < found.at(at).psnr) at = t;
            below35 += db < 35;
            below40 += db < 40;
        }
        if (worstTime < 0 || found.at(at).psnr < found.at(worstTime).psnr) worstTime = at;
        std::printf("%-38s %6zu %7s %7d %7s %9s %5d %5d\n", set.name.c_str(), set.times.size(),
                    decibels(found.at(at).psnr).c_str(), at, decibels(median(all)).c_str(),
                    differing.empty() ? "-" : decibels(median(differing)).c_str(), below35,
                    below40);
    }
    const Difference& d = found.at(worstTime);
    std::printf("\nmedian: over all the frames of the set; differing: over those that differ at all"
                "\nworst frame: %d ms, %s dB",
                worstTime, decibels(d.psnr).c_str());
    if (d.pixels)
        std::printf(": %ld pixels differ (%ld by more than %d levels, %ld by more than %d, %ld "
                    "by more than %d), by at most %d of 255, within x %d-%d and y %d-%d (from "
                    "the top left); the %dx%d block at (%d, %d) holds %.0f%% of the squared "
                    "error\n",
                    d.pixels, d.above[0], Difference::levels[0], d.above[1], Difference::levels[1],
                    d.above[2], Difference::levels[2], d.largest, d.x0, d.x1, d.y0, d.y1,
                    Difference::blockSize, Difference::blockSize, d.blockX, d.blockY,
                    100 * d.blockShare);
    else
        std::printf("\n");
}

} // namespace

void measureFidelity(Script& script, std::vector<Section>& sections,
                     const std::vector<bool>& tiles) {
    std::vector<FidelitySet> sets;
    sets.push_back({"whole show, 2 fps", spanTimes(2, 0, showLength)});
    FidelitySet everyTileSection{"every tile section, 30 fps", {}};
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!tiles[i]) continue;
        const Section& s = sections[i];
        const FidelitySet set{std::to_string(s.entry.start) + "-" + std::to_string(s.end()) + " " +
                                  s.effect + ", 30 fps",
                              spanTimes(30, s.entry.start, s.end())};
        everyTileSection.times.insert(everyTileSection.times.end(), set.times.begin(),
                                      set.times.end());
        sets.push_back(set);
    }
    sets.push_back(everyTileSection);

    std::map<int, Difference> found;
    for (const FidelitySet& set : sets)
        for (int t : set.times)
            found[t];
    const platform::Settings& st = platform::settings();
    size_t done = 0;
    for (auto& [t, difference] : found) {
        const std::vector<uint8_t> designed = pictureAt(script, t, Detail::Designed);
        difference =
            compareFrames(designed, pictureAt(script, t, Detail::Coarse), st.width, st.height);
        if (++done % 100 == 0)
            std::fprintf(stderr, "\rfidelity: %zu/%zu frames", done, found.size());
    }
    std::fprintf(stderr, "\n");
    printFidelity(sets, found);
}
