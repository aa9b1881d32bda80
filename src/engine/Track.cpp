#include "engine/Track.h"
#include <cstddef>

namespace {
bool covers(const Effect& e, int time) { return e.start <= time && time - e.start < e.duration; }
} // namespace

Track& Track::add(Fx& fx) {
    fx.start = cursor;
    entries.push_back(fx);
    cursor += fx.duration;
    return *this;
}

Track& Track::add(Transit& tr) {
    if (entries.empty()) {
        tr.start = 0;
    } else {
        tr.start = cursor - tr.duration;
        cursor -= tr.duration;
    }
    transits.push_back(tr);
    return *this;
}

Track& Track::advance(int ms) {
    cursor += ms;
    return *this;
}

Effect* Track::active(int time) {
    for (const Transit& tr : transits) {
        if (!covers(tr, time)) continue;
        currentTransit = tr;
        // Missing neighbours leave their slot empty; the transition skips it.
        currentTransit.from = Fx();
        currentTransit.to = Fx();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!covers(entries[i], currentTransit.start)) continue;
            currentTransit.from = entries[i];
            if (i + 1 < entries.size()) currentTransit.to = entries[i + 1];
            break;
        }
        return &currentTransit;
    }
    for (const Fx& fx : entries) {
        if (!covers(fx, time)) continue;
        current = fx;
        return &current;
    }
    return nullptr;
}

void sync(Track& a, Track& b) {
    if (a.cursor < b.cursor)
        a.cursor = b.cursor;
    else
        b.cursor = a.cursor;
}
