#include "Arranger.h"
#include <algorithm>
#include <cmath>

Grid gridOf(const Rhythm& r) { return {r.first / 1000.0, r.step() / 1000.0, r.steps, 3}; }

Grid barsBetween(double from, double to, double bar) {
    const double bars = std::max(1.0, std::round((to - from) / bar));
    return {from, (to - from) / bars / 16, 16, 4};
}

std::vector<double> every(double by, int steps) {
    std::vector<double> at;
    for (double s = 0; s < steps - 1e-9; s += by)
        at.push_back(s);
    return at;
}

std::vector<Tune> pulse(double by, int steps, double length) {
    std::vector<Tune> line;
    int i = 0;
    for (double s : every(by, steps))
        line.push_back({s, length, 12 * (i++ % 2)});
    return line;
}

void Writer::stretch(const Grid& g, double from, double to, const Part& p) {
    const long first = static_cast<long>(std::floor(g.stepsTo(from) / g.steps));
    const long last = static_cast<long>(std::ceil(g.stepsTo(to) / g.steps));
    const long n = static_cast<long>(p.changes.size());
    for (long bar = first; bar < last; ++bar) {
        const double b0 = static_cast<double>(bar * g.steps);
        drums(g, b0, from, to, p);
        for (long j = 0; j < n; ++j) {
            const double c0 = b0 + p.changes[j];
            const double c1 = b0 + (j + 1 < n ? p.changes[j + 1] : g.steps);
            const long k = bar * n + j, count = static_cast<long>(p.chords.size());
            const Chord& chord = p.chords[((k % count) + count) % count];
            const double a = std::max(g.at(c0), from), b = std::min(g.at(c1), to);
            if (a >= b) continue;
            harmony.push_back({a, chord});
            const float x = static_cast<float>((a - from) / (to - from));
            const float padTone = p.padTone[0] + x * (p.padTone[1] - p.padTone[0]);
            const float arpTone = p.arpTone[0] + x * (p.arpTone[1] - p.arpTone[0]);
            for (int i = 0; i < 4; ++i)
                add(s[Voice::pad], a, b - a, chord.tones[i], 0.8f, padTone, -0.3f + 0.2f * i);
            for (const Tune& t : p.bass) {
                const double at = g.at(c0 + t.at);
                const double end = t.length > 0 ? g.at(c0 + t.at + t.length) : g.at(c1);
                if (at >= a && at < b)
                    add(s[Voice::bass], at, std::min(end, b) - at, chord.root + t.pitch,
                        (t.at == 0 ? 1.0f : 0.8f) * p.bassLevel, p.bassTone, 0);
            }
            arpeggio(g, c0, c1, a, b, chord, p, arpTone);
        }
    }
}

void Writer::riser(double from, double to) {
    if (to - gap > from) add(s[Voice::riser], from, to - gap - from, 0, 1, 0.5f, 0);
}

void Writer::roll(double from, double to, double step, float v0, float v1) {
    for (double t = from; t < to - gap; t += step) {
        const float x = static_cast<float>((t - from) / (to - from));
        add(s[Voice::snare], t, step, 0, v0 + x * (v1 - v0), x, 0);
    }
}

void Writer::melody(const Grid& g, double at, const std::vector<Tune>& tune, double scale,
                    double until, int transpose, float velocity, float tone) {
    for (const Tune& n : tune) {
        const double t = g.at(at + n.at * scale);
        if (t < until)
            add(s[Voice::lead], t, std::min(n.length * scale * g.step * 0.92, until - t),
                n.pitch + transpose, velocity, tone, 0);
    }
}

const Chord& Writer::chordAt(double t) const {
    const Chord* c = &harmony.front().second;
    for (const auto& [at, chord] : harmony)
        if (at <= t + 1e-6) c = &chord;
    return *c;
}

void Writer::tieHeldNotes() {
    std::vector<Note>& pad = s[Voice::pad];
    std::stable_sort(pad.begin(), pad.end(),
                     [](const Note& a, const Note& b) { return a.start < b.start; });
    std::vector<Note> tied;
    for (const Note& n : pad) {
        auto held = std::find_if(tied.begin(), tied.end(), [&](const Note& t) {
            return t.pitch == n.pitch && std::fabs(t.start + t.length - n.start) < 1e-6;
        });
        if (held != tied.end())
            held->length += n.length;
        else
            tied.push_back(n);
    }
    pad = tied;
}

void Writer::add(std::vector<Note>& to, double at, double length, float pitch, float velocity,
                 float tone, float pan) {
    Note n;
    n.start = at;
    n.length = length;
    n.pitch = pitch;
    n.velocity = velocity;
    n.tone = tone;
    n.pan = pan;
    to.push_back(n);
}

void Writer::drums(const Grid& g, double b0, double from, double to, const Part& p) {
    const auto lay = [&](const std::vector<double>& steps, std::vector<Note>& into, float accent,
                         float weak, float level, double length, float pan) {
        for (double step : steps) {
            const double t = g.at(b0 + step);
            if (t < from || t >= to) continue;
            const bool onBeat = std::fmod(step, g.beat) == 0;
            add(into, t, length, 0, (onBeat ? accent : weak) * level, 0.5f, pan);
        }
    };
    lay(p.kick, s[Voice::kick], 1.0f, 0.92f, p.kickLevel, 1, 0);
    lay(p.snare, s[Voice::snare], 0.9f, 0.9f, 1, 1, 0);
    lay(p.openHat, s[Voice::openHat], 0.5f, 0.5f, p.hatLevel, 1, -0.2f);
    lay(p.hat, s[Voice::hat], 0.55f, 0.3f, p.hatLevel, 0.25, 0.25f);
}

void Writer::arpeggio(const Grid& g, double c0, double c1, double a, double b, const Chord& c,
                      const Part& p, float tone) {
    if (p.arpEvery <= 0) return;
    const int t[4] = {c.tones[0] + 12, c.tones[1] + 12, c.tones[2] + 12, c.tones[3] + 12};
    const int order[8] = {t[0], t[2], t[1], t[3], t[2], t[0] + 12, t[3], t[1] + 12};
    int i = 0;
    for (double step = c0; step < c1 - 1e-9; step += p.arpEvery, ++i) {
        const double at = g.at(step);
        if (at < a || at >= b) continue;
        const float accent = std::fmod(step, g.beat) == 0 ? 1.0f : 0.75f;
        add(s[Voice::arp], at, p.arpEvery * g.step * 0.8, order[i % 8], accent * p.arpLevel, tone,
            i % 2 ? 0.4f : -0.4f);
    }
}
