// Measures the show on this machine's renderer: start-up, every section of the scene
// track, the whole show, and the cube scene's tiles against a bare reference. With
// --fidelity it measures pictures instead: the show as drawn against the show drawn
// with the cube scene's designed meshes.
// The parts: Options (the command line), Timing (what is measured and how), Report (the
// JSON and the table) and ShowFidelity (the --fidelity mode).
#include "Options.h"
#include "Report.h"
#include "ShowFidelity.h"
#include "Timing.h"
#include "engine/Demo.h"
#include "platform/Cli.h"
#include "platform/Headless.h"
#include "script/Script.h"
#include "script/Timeline.h"
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    Options o;
    const int ended =
        cli::readCommandLine(argc, argv, "velmora-bench", usage, help(),
                             [&](const std::vector<std::string>& words, std::string& error) {
                                 return parse(words, o, error);
                             });
    if (ended >= 0) return ended;
    std::string error;
    if (!platform::openHeadless(o.size, error)) {
        std::fprintf(stderr, "velmora-bench: %s\n", error.c_str());
        return 1;
    }
    demo.sound = false;       // timing only: the music is never heard
    Script* script = nullptr; // lives to the end of the process, as in the demo
    const double startup = timed([&] { // as the demo starts: built, then rehearsed
        script = new Script();
        script->rehearse();
    });

    std::vector<Section> sections;
    for (const Fx& fx : demo.track(0).entries)
        sections.push_back({fx, entryName(fx), {}, {}, {}, {}, {}});
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
