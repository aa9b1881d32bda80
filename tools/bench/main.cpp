// Measures the show on this machine's renderer: start-up, every section of the scene
// track, the whole show, and the cube scene's tiles against a bare reference. With
// --fidelity it measures pictures instead: the show as drawn against the show drawn
// with the cube scene's designed meshes.
#include "BareTiles.h"
#include "Fidelity.h"
#include "Span.h"
#include "Stats.h"
#include "effects/Blur.h"
#include "effects/CubeVom.h"
#include "effects/Detail.h"
#include "effects/Flash.h"
#include "effects/Fond.h"
#include "effects/FxFont.h"
#include "effects/Tea.h"
#include "engine/Attrib.h"
#include "engine/Demo.h"
#include "platform/Cli.h"
#include "platform/Headless.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "script/Script.h"
#include "script/Timeline.h"
#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

struct Options {
    bool big = true;
    int step = 100;
    int repeat = 1; // passes over every moment; each moment's fastest counts
    bool json = false;
    Detail detail = Detail::Coarse; // as the live demo draws here, on a software renderer
    bool fidelity = false;          // compare pictures instead of timing them
};

const char* const usage =
    "usage: velmora-bench [--size 800x600|640x480] [--step MS] [--repeat N] [--json]\n"
    "                     [--detail designed|coarse]\n"
    "       velmora-bench --fidelity [--size 800x600|640x480]\n";
const char* const help =
    "Times the show on this machine's renderer, without a window or sound: start-up, each\n"
    "section's frame times, the whole show, peak memory, and the cube scene's tiles against\n"
    "a bare draw of the same tiles with the designed meshes.\n"
    "  --size WxH    800x600 (the default) or 640x480\n"
    "  --step MS     render every MS milliseconds of the show (100)\n"
    "  --repeat N    make N passes over the show and keep each moment's fastest (1)\n"
    "  --json        one JSON object instead of the table\n"
    "  --detail D    coarse (the default): small tiles of the cube scene with coarser\n"
    "                meshes, as the demo draws them where the frames do not afford more;\n"
    "                designed: every tile as designed\n"
    "  --exact       the same as --detail designed\n"
    "  --fidelity    instead of timing, compare the show's pictures with the same pictures\n"
    "                drawn with the designed meshes (PSNR, frame by frame)\n"
    "  --help, --version\n";

bool parse(const std::vector<std::string>& args, Options& o, std::string& error) {
    const std::vector<cli::Option> options = {
        {"--size", cli::sizeTakes, [&](const std::string& v) { return cli::readSize(v, o.big); }},
        {"--step", "milliseconds, 1 to 175625",
         [&](const std::string& v) { return cli::readWhole(v, 1, showLength, o.step); }},
        {"--repeat", "a count, 1 to 100",
         [&](const std::string& v) { return cli::readWhole(v, 1, 100, o.repeat); }},
        {"--json", nullptr, [&](const std::string&) { return o.json = true; }},
        {"--detail", detailTakes(false),
         [&](const std::string& v) { return readDetail(v, false, o.detail); }},
        {"--exact", nullptr,
         [&](const std::string&) { return (o.detail = Detail::Designed), true; }},
        {"--fidelity", nullptr, [&](const std::string&) { return o.fidelity = true; }},
    };
    return cli::readOptions(args, options, error);
}

double nowMs() {
    return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

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
Section* sectionAt(std::vector<Section>& sections, int t) {
    for (Section& s : sections)
        if (s.covers(t)) return &s;
    return nullptr;
}

// The yardstick of every ratio: the bare draw of the heaviest frame, with the designed
// meshes, as the median over the section whose bare draws take longest. (All tiles
// are placed in the rings and in the morphs alike, but the morphs' draw in half the
// time: a median over both would land on either side from run to run.)
double referenceMs(const std::vector<Section>& sections) {
    double heaviest = 0;
    for (const Section& s : sections)
        if (!s.bare.empty()) heaviest = std::max(heaviest, median(s.bare));
    return heaviest;
}

// A time over the reference for the JSON report: null without a reference.
std::string overJson(double ms, double ref) {
    if (!(ref > 0)) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms / ref);
    return text;
}

// The script's instance names, as a person reading the table knows the effects.
std::string effectName(const Fx& fx) {
    const Effect* e = fx.effect;
    if (e == static_cast<const Effect*>(cubeEffect)) {
        int method = 0;
        readInt(fx.attribs, "method", method);
        return "CubeVom method " + std::to_string(method);
    }
    if (e == static_cast<const Effect*>(teaEffect)) return "Tea";
    if (e == static_cast<const Effect*>(fondEffect)) return "Fond";
    if (e == static_cast<const Effect*>(blurEffect)) return "Blur";
    if (e == static_cast<const Effect*>(flashEffect)) return "Flash";
    if (e == static_cast<const Effect*>(fontEffect)) return "FxFont";
    return e ? "other" : "none";
}

// One run of `work`, in ms, with the renderer idle before and finished after.
template <class F> double timed(F work) {
    glFinish();
    const double begin = nowMs();
    work();
    glFinish();
    return nowMs() - begin;
}

// Keeps the faster of what moment i measured in earlier passes and `took`: other programs
// on the machine only ever slow a run down.
void keepFastest(std::vector<double>& kept, size_t i, double took) {
    if (i == kept.size())
        kept.push_back(took);
    else
        kept[i] = std::min(kept[i], took);
}

// Whether the section's entry draws the cube scene's tiles: the bare reference applies.
bool drawsTiles(Section& s) {
    if (s.entry.effect != static_cast<const Effect*>(cubeEffect) || s.times.empty()) return false;
    const std::vector<ListCall> calls = recordListCalls(s.entry, s.times.front());
    return !calls.empty() && calls.front().list == cubeEffect->tileList;
}

// The bare tiles at the section's moments. Measured before the show runs, as the
// reference program would draw them, on a renderer that nothing else has used: a
// renderer keeps its memory and threads in the shape the batches before left them in.
// In the first pass each moment is drawn once untimed first.
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

// The scene entry's own draw at the same moments, once the show has run.
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

void printJson(double startup, const std::vector<Section>& sections, const std::vector<double>& all,
               double rss) {
    const double ref = referenceMs(sections);
    std::printf("{\"startup_ms\": %.1f, \"sections\": [", startup);
    for (size_t i = 0; i < sections.size(); ++i) {
        const Section& s = sections[i];
        std::printf("%s{\"start_ms\": %d, \"end_ms\": %d, \"effect\": \"%s\", \"frames\": %zu, "
                    "\"median_ms\": %.2f, \"p95_ms\": %.2f, \"median_over_reference\": %s, "
                    "\"p95_over_reference\": %s",
                    i ? ", " : "", s.entry.start, s.end(), s.effect.c_str(), s.frames.size(),
                    median(s.frames), percentile(s.frames, 95),
                    overJson(median(s.frames), ref).c_str(),
                    overJson(percentile(s.frames, 95), ref).c_str());
        if (!s.bare.empty())
            std::printf(", \"scene_median_ms\": %.2f, \"bare_median_ms\": %.2f, "
                        "\"scene_over_bare\": %.3f",
                        median(s.scene), median(s.bare), median(s.ratio));
        std::printf("}");
    }
    std::printf("], \"show\": {\"median_ms\": %.2f, \"p95_ms\": %.2f, \"worst_ms\": %.2f, "
                "\"reference_ms\": %.2f, \"p95_over_reference\": %s}, \"peak_rss_mb\": %.1f}\n",
                median(all), percentile(all, 95), percentile(all, 100), ref,
                overJson(percentile(all, 95), ref).c_str(), rss);
}

void printTable(double startup, const std::vector<Section>& sections,
                const std::vector<double>& all, double rss) {
    const double ref = referenceMs(sections);
    std::printf("start-up: %.1f ms\n", startup);
    std::printf("reference: %.2f ms (the bare draw of the heaviest tiles, designed meshes)\n\n",
                ref);
    std::printf("%-15s %-17s %6s %9s %8s %7s %7s   %9s %9s %6s\n", "section (ms)", "effect",
                "frames", "median ms", "p95 ms", "med/ref", "p95/ref", "scene ms", "bare ms",
                "ratio");
    for (const Section& s : sections) {
        char span[32];
        std::snprintf(span, sizeof span, "%d-%d", s.entry.start, s.end());
        std::printf("%-15s %-17s %6zu %9.2f %8.2f %7.3f %7.3f", span, s.effect.c_str(),
                    s.frames.size(), median(s.frames), percentile(s.frames, 95),
                    median(s.frames) / ref, percentile(s.frames, 95) / ref);
        if (!s.bare.empty())
            std::printf("   %9.2f %9.2f %6.3f", median(s.scene), median(s.bare), median(s.ratio));
        std::printf("\n");
    }
    std::printf(
        "\nwhole show: median %.2f ms, p95 %.2f ms (%.3f of the reference), worst %.2f ms\n",
        median(all), percentile(all, 95), percentile(all, 95) / ref, percentile(all, 100));
    std::printf("peak resident memory: %.1f MB\n", rss);
    std::printf("\nmed/ref, p95/ref: the section's frame times over the reference; scene ms: the "
                "tile variant's own draw; bare ms: the same tiles drawn bare (medians); ratio: the "
                "median of scene / bare moment by moment\n");
}

// One frame of the show as the capture tool takes it, with the cube scene's designed
// meshes or not. Both pictures of a moment start from the same state: rand() feeds the
// text's shake and the outlined scene's cubes, and the outlined scene turns its cubes a
// step further at every draw.
std::vector<uint8_t> pictureAt(Script& script, int t, Detail detail) {
    const float phase = teaEffect->phase;
    const int lastTime = teaEffect->lastTime;
    std::srand(static_cast<unsigned>(t) + 1);
    selectDetail(detail);
    script.frameAt(t);
    teaEffect->phase = phase;
    teaEffect->lastTime = lastTime;
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

// Every frame of the show at 2 fps and of every tile section at 30 fps, each drawn as the
// show draws it and with the designed meshes.
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

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const int answered =
        cli::answerHelp(words, "velmora-bench", (std::string(usage) + help).c_str());
    if (answered >= 0) return answered;
    Options o;
    std::string error;
    if (!parse(words, o, error)) {
        std::fprintf(stderr, "velmora-bench: %s\n%s", error.c_str(), usage);
        return 2;
    }
    if (!platform::openHeadless(o.big, error)) {
        std::fprintf(stderr, "velmora-bench: %s\n", error.c_str());
        return 1;
    }
    demo.sound = false;       // timing only: the music is never heard
    Script* script = nullptr; // lives to the end of the process, as in the demo
    const double startup = timed([&] { script = new Script(); });

    std::vector<Section> sections;
    for (const Fx& fx : demo.track(0).entries)
        sections.push_back({fx, effectName(fx), {}, {}, {}, {}, {}});
    std::vector<int> times;
    for (int t = 0; t < showLength; t += o.step) {
        times.push_back(t);
        if (Section* s = sectionAt(sections, t)) s->times.push_back(t);
    }
    std::vector<bool> tiles;
    for (Section& s : sections)
        tiles.push_back(drawsTiles(s));
    if (o.fidelity) {
        // As the capture tool renders: the first frame first, unseen.
        script->frameAt(0);
        measureFidelity(*script, sections, tiles);
        platform::closeHeadless();
        return 0;
    }
    // --repeat N makes N passes over everything and keeps each moment's fastest: load
    // from other programs comes and goes over seconds, so renders of one moment minutes
    // apart are slowed by different bursts where renders back to back share one.
    std::vector<double> all;
    double rss = 0;
    for (int pass = 0; pass < o.repeat; ++pass) {
        for (size_t i = 0; i < sections.size(); ++i)
            if (tiles[i]) measureBare(sections[i], pass);
        selectDetail(o.detail);
        for (size_t k = 0; k < times.size(); ++k)
            keepFastest(all, k, timed([&] { script->frameAt(times[k]); }));
        if (pass == 0) rss = peakRssMb();
        for (size_t i = 0; i < sections.size(); ++i)
            if (tiles[i]) measureScene(sections[i], pass);
    }
    for (size_t k = 0; k < times.size(); ++k)
        if (Section* s = sectionAt(sections, times[k])) s->frames.push_back(all[k]);
    for (Section& s : sections)
        for (size_t i = 0; i < s.scene.size(); ++i)
            s.ratio.push_back(s.scene[i] / s.bare[i]);
    if (o.json)
        printJson(startup, sections, all, rss);
    else
        printTable(startup, sections, all, rss);
    platform::closeHeadless();
    return 0;
}
