// Lays the show out as the demo does, but before any effect exists (so with no GL
// context), and writes the moments the soundtrack follows: when each track changes
// what it draws. The build composes DATAS/zik.mp3 from that file.
#include "Show.h"
#include "engine/Demo.h"
#include "script/Sets.h"
#include "script/Timeline.h"
#include "script/Tracks.h"
#include <algorithm>
#include <cstdio>

namespace {

// A stretch of time in which a track draws one entry.
struct Stretch {
    int from = 0, to = 0;
    bool wipe = false; // a transit from one entry into the next
    int start = 0, duration = 0;
    const AttribSet* attribs = nullptr;
    bool same(const Stretch& o) const {
        return wipe == o.wipe && start == o.start && duration == o.duration && attribs == o.attribs;
    }
};

// What `track` draws, millisecond by millisecond, as the sequencer finds it.
std::vector<Stretch> stretches(Track& track, int until) {
    std::vector<Stretch> out;
    for (int time = 0; time < until; ++time) {
        const Effect* e = track.active(time);
        if (!e) continue;
        Stretch s;
        s.from = time;
        s.to = time + 1;
        s.wipe = e == &track.currentTransit;
        s.start = e->start;
        s.duration = e->duration;
        s.attribs = s.wipe ? nullptr : track.current.attribs;
        if (!out.empty() && out.back().to == time && out.back().same(s))
            out.back().to = time + 1;
        else
            out.push_back(s);
    }
    return out;
}

int lastEnd(const Track& track) {
    int end = 0;
    for (const Fx& fx : track.entries)
        end = std::max(end, fx.start + fx.duration);
    for (const Transit& tr : track.transits)
        end = std::max(end, tr.start + tr.duration);
    return end;
}

Show momentsOf(Demo& laid) {
    int until = 0;
    for (auto& [number, track] : laid.tracks)
        until = std::max(until, lastEnd(*track));
    std::vector<bool> drawn(until + 1, false);
    Show show;
    int mode = 0; // the flash keeps its mode until an entry names another
    for (auto& [number, track] : laid.tracks) {
        for (const Stretch& s : stretches(*track, until)) {
            std::fill(drawn.begin() + s.from, drawn.begin() + s.to, true);
            if (number == sceneTrack && s.from > 0) show.cuts.push_back(s.from);
            if (number == cardTrack && (s.wipe || s.from == s.start)) show.cards.push_back(s.from);
            if ((number == flashTrack || number == markTrack) && !s.wipe) {
                readInt(s.attribs, "mode", mode);
                show.flashes.push_back({s.start, s.start + s.duration, s.from, s.to, mode});
            }
        }
    }
    show.length = static_cast<int>(std::find(drawn.begin(), drawn.end(), false) - drawn.begin());
    std::stable_sort(show.flashes.begin(), show.flashes.end(),
                     [](const FlashSpan& a, const FlashSpan& b) { return a.start < b.start; });
    return show;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.txt\n", argv[0]);
        return 2;
    }
    fillOpeningSets();
    Demo laid;
    laid.sound = false;
    layOutTimeline(laid);
    if (!writeShow(argv[1], momentsOf(laid))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
