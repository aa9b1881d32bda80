#include "Hits.h"
#include <algorithm>
#include <cmath>

void hitMoments(const Show& show, Writer& w, Score& s) {
    // The flash's hit by its mode: white, and the two inverting ones.
    const Voice byMode[] = {Voice::crack, Voice::zap, Voice::bell};
    const auto sec = [](int ms) { return ms / 1000.0; };
    std::vector<double> hits;
    for (int cut : show.cuts) {
        Writer::add(s[Voice::impact], sec(cut), 1, 0, 1, 0.5f, 0);
        hits.push_back(sec(cut));
    }
    for (int card : show.cards)
        Writer::add(s[Voice::chime], sec(card), 1.5, w.chordAt(sec(card)).tones[3] + 24, 0.8f, 0.5f,
                    0.3f);
    for (const FlashSpan& f : show.flashes) {
        if (!f.visible()) continue;
        int hit = f.from;
        for (int cut : show.cuts)
            if (std::abs(cut - f.peak()) <= 1 && cut >= f.from && cut < f.to) hit = cut;
        const Chord& chord = w.chordAt(sec(hit));
        const float pitch = static_cast<float>(chord.tones[f.mode == 1 ? 0 : 2] + 12);
        Writer::add(s[byMode[f.mode]], sec(hit), sec(f.to - hit), pitch, 1, 0.5f, 0);
        hits.push_back(sec(hit));
        if (hit > f.from)
            w.riser(sec(f.from), sec(hit));
        else if (f.to - f.from > 300 && f.from == f.start)
            Writer::add(s[Voice::swell], sec(f.start), sec(f.end - f.start), pitch, 0.8f,
                        flashKind(f.mode) == FlashKind::White ? 0.9f : 0.5f, 0);
    }
    // The grid's notes give way where they would come a moment before a hit and blur it.
    for (std::vector<Note>* part :
         {&s[Voice::kick], &s[Voice::snare], &s[Voice::hat], &s[Voice::openHat], &s[Voice::arp]}) {
        part->erase(std::remove_if(part->begin(), part->end(),
                                   [&](const Note& n) {
                                       return std::any_of(hits.begin(), hits.end(), [&](double h) {
                                           return n.start < h - 1e-6 && n.start > h - 0.05;
                                       });
                                   }),
                    part->end());
    }
}
