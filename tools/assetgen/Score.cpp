#include "Score.h"
#include <algorithm>
#include <cmath>

namespace {

struct Chord {
    int root;     // the bass note
    int tones[4]; // the pad's voicing
};

// Am7, Fmaj7, C, G: the theme.
const Chord theme[] = {
    {33, {57, 60, 64, 67}}, {29, {53, 57, 60, 64}}, {36, {55, 60, 64, 67}}, {31, {55, 59, 62, 67}}};
// Dm, Bb, C, A: a darker turn for the outlined scene.
const Chord detour[] = {
    {38, {50, 53, 57, 62}}, {34, {50, 53, 58, 62}}, {36, {52, 55, 60, 64}}, {33, {49, 52, 57, 61}}};
// Fmaj7, G6, Em7, Am9, two bars each: the calm before the finale.
const Chord calm[] = {{29, {53, 57, 60, 64}}, {29, {53, 57, 60, 64}}, {31, {55, 59, 62, 64}},
                      {31, {55, 59, 62, 64}}, {28, {52, 55, 59, 62}}, {28, {52, 55, 59, 62}},
                      {33, {57, 60, 64, 71}}, {33, {57, 60, 64, 71}}};

// A note of a tune, or of a bass line under one chord: start and length in steps of
// its grid, and a pitch (for a bass line, added to the chord's root).
struct Tune {
    double at, length;
    int pitch;
};

// The theme's tune in beats, eight bars over Am F C G twice: a call, then its answer.
const Tune themeTune[] = {
    {0, 1, 76},      {1.5, 0.5, 74}, {2, 1.5, 76}, {3.5, 0.5, 79}, {4, 2.5, 72},    {7, 1, 69},
    {8, 0.5, 67},    {8.5, 0.5, 69}, {9, 1, 72},   {10, 1, 74},    {11, 1, 76},     {12, 1.5, 74},
    {13.5, 0.5, 71}, {14, 2, 67},    {16, 1, 76},  {17, 1, 81},    {18, 0.5, 79},   {18.5, 1.5, 76},
    {20, 1, 77},     {21, 1, 76},    {22, 2, 72},  {24, 0.5, 76},  {24.5, 0.5, 74}, {25, 1, 72},
    {26, 1, 67},     {27, 1, 72},    {28, 2, 71},  {30, 2, 69}};
// Long notes falling through the calm chords, in beats.
const Tune calmTune[] = {{0, 6, 72},  {6, 2, 69},  {8, 6, 74}, {14, 2, 71},
                         {16, 6, 71}, {22, 2, 67}, {24, 8, 69}};
// The flash rhythms' bars are 21 steps, flashes starting on steps 0, 3, 4 and 9; the
// tunes of their sections move with the flashes and hold through the pause.
// Four bars over Dm Bb C A.
const Tune darkTune[] = {{0, 3, 69},  {3, 1, 74},  {4, 5, 77},  {9, 6, 76},  {15, 6, 74},
                         {21, 3, 74}, {24, 1, 77}, {25, 5, 82}, {30, 6, 81}, {36, 6, 77},
                         {42, 3, 79}, {45, 1, 76}, {46, 5, 72}, {51, 3, 74}, {54, 3, 76},
                         {57, 6, 79}, {63, 3, 81}, {66, 1, 76}, {67, 5, 73}, {72, 12, 69}};
// The theme again, four bars of Am F | C G, two chords a bar (changing on step 12).
const Tune fullTune[] = {{0, 3, 76},  {3, 1, 74},  {4, 5, 76},  {9, 3, 79},  {12, 6, 72},
                         {18, 3, 69}, {21, 3, 67}, {24, 1, 69}, {25, 5, 72}, {30, 3, 74},
                         {33, 3, 76}, {36, 3, 74}, {39, 3, 71}, {42, 3, 76}, {45, 1, 81},
                         {46, 5, 79}, {51, 3, 76}, {54, 3, 77}, {57, 3, 76}, {60, 3, 72},
                         {63, 3, 76}, {66, 1, 74}, {67, 5, 72}, {72, 3, 67}, {75, 3, 72},
                         {78, 6, 71}};

template <class T, size_t N> std::vector<T> list(const T (&a)[N]) { return {a, a + N}; }

// Equal steps in bars of `steps`, counted from a bar line at `origin`; seconds.
struct Grid {
    double origin = 0, step = 0.125;
    int steps = 16, beat = 4; // steps to a bar, and to a beat
    double at(double n) const { return origin + n * step; }
    double stepsTo(double t) const { return (t - origin) / step; }
};

// The grid of a flash rhythm: its cycle is the bar.
Grid gridOf(const Rhythm& r) { return {r.first / 1000.0, r.step() / 1000.0, r.steps, 3}; }

// Four-four bars of sixteenths from `from`, as near `bar` seconds long as fits whole
// bars up to `to`.
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

// What plays through a stretch of a section. Tones ramp from the first value to the
// second over the stretch; drums and changes are steps within a bar.
struct Part {
    std::vector<Chord> chords;
    std::vector<int> changes = {0}; // where the chord changes
    float padTone[2] = {0.5f, 0.5f};
    float arpTone[2] = {0.5f, 0.5f};
    float arpLevel = 1;
    double arpEvery = 0;    // steps from one arpeggio note to the next; 0 none
    std::vector<Tune> bass; // under each chord; length 0 holds to the next change
    float bassLevel = 1, bassTone = 0.5f;
    std::vector<double> kick, snare, hat, openHat;
    float kickLevel = 1, hatLevel = 1;
};

// Root, octave, root ... on every `by` steps of a chord up to `steps`.
std::vector<Tune> pulse(double by, int steps, double length) {
    std::vector<Tune> line;
    int i = 0;
    for (double s : every(by, steps))
        line.push_back({s, length, 12 * (i++ % 2)});
    return line;
}

class Writer {
public:
    explicit Writer(Score& score) : s(score) {}

    // Lays `p` over [from, to) seconds of `g`; its chords follow each other from the
    // grid's bar 0 on, so a stretch before bar 0 ends with the chords that lead into it.
    void stretch(const Grid& g, double from, double to, const Part& p) {
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
                    add(s.pad, a, b - a, chord.tones[i], 0.8f, padTone, -0.3f + 0.2f * i);
                for (const Tune& t : p.bass) {
                    const double at = g.at(c0 + t.at);
                    const double end = t.length > 0 ? g.at(c0 + t.at + t.length) : g.at(c1);
                    if (at >= a && at < b)
                        add(s.bass, at, std::min(end, b) - at, chord.root + t.pitch,
                            (t.at == 0 ? 1.0f : 0.8f) * p.bassLevel, p.bassTone, 0);
                }
                arpeggio(g, c0, c1, a, b, chord, p, arpTone);
            }
        }
    }

    void crash(double at, float velocity = 1) { add(s.crash, at, 4, 0, velocity, 0.5f, 0); }
    // Both stop short of `to`, so that the hit there stands out.
    void riser(double from, double to) {
        if (to - gap > from) add(s.riser, from, to - gap - from, 0, 1, 0.5f, 0);
    }
    // Snares every `step` seconds growing louder and brighter: a fill into what follows.
    void roll(double from, double to, double step, float v0, float v1) {
        for (double t = from; t < to - gap; t += step) {
            const float x = static_cast<float>((t - from) / (to - from));
            add(s.snare, t, step, 0, v0 + x * (v1 - v0), x, 0);
        }
    }
    // `tune` from step `at` of `g` up to `until` seconds, its steps scaled by `scale`
    // (4 for a tune in beats on sixteenths).
    void melody(const Grid& g, double at, const std::vector<Tune>& tune, double scale,
                double until, int transpose, float velocity, float tone) {
        for (const Tune& n : tune) {
            const double t = g.at(at + n.at * scale);
            if (t < until)
                add(s.lead, t, std::min(n.length * scale * g.step * 0.92, until - t),
                    n.pitch + transpose, velocity, tone, 0);
        }
    }

    // The chord sounding at `t`: the one laid last that began at or before it.
    const Chord& chordAt(double t) const {
        const Chord* c = &harmony.front().second;
        for (const auto& [at, chord] : harmony)
            if (at <= t + 1e-6) c = &chord;
        return *c;
    }

    // Pad notes that continue into the next chord are held rather than struck again.
    void tieHeldNotes() {
        std::vector<Note>& pad = s.pad;
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

    static void add(std::vector<Note>& to, double at, double length, float pitch, float velocity,
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

private:
    static constexpr double gap = 0.06; // s
    Score& s;
    std::vector<std::pair<double, Chord>> harmony; // in the order laid, which is by time

    void drums(const Grid& g, double b0, double from, double to, const Part& p) {
        const auto lay = [&](const std::vector<double>& steps, std::vector<Note>& into,
                             float accent, float weak, float level, double length, float pan) {
            for (double step : steps) {
                const double t = g.at(b0 + step);
                if (t < from || t >= to) continue;
                const bool onBeat = std::fmod(step, g.beat) == 0;
                add(into, t, length, 0, (onBeat ? accent : weak) * level, 0.5f, pan);
            }
        };
        lay(p.kick, s.kick, 1.0f, 0.92f, p.kickLevel, 1, 0);
        lay(p.snare, s.snare, 0.9f, 0.9f, 1, 1, 0);
        lay(p.openHat, s.openHat, 0.5f, 0.5f, p.hatLevel, 1, -0.2f);
        lay(p.hat, s.hat, 0.55f, 0.3f, p.hatLevel, 0.25, 0.25f);
    }

    void arpeggio(const Grid& g, double c0, double c1, double a, double b, const Chord& c,
                  const Part& p, float tone) {
        if (p.arpEvery <= 0) return;
        const int t[4] = {c.tones[0] + 12, c.tones[1] + 12, c.tones[2] + 12, c.tones[3] + 12};
        const int order[8] = {t[0], t[2], t[1], t[3], t[2], t[0] + 12, t[3], t[1] + 12};
        int i = 0;
        for (double step = c0; step < c1 - 1e-9; step += p.arpEvery, ++i) {
            const double at = g.at(step);
            if (at < a || at >= b) continue;
            const float accent = std::fmod(step, g.beat) == 0 ? 1.0f : 0.75f;
            add(s.arp, at, p.arpEvery * g.step * 0.8, order[i % 8], accent * p.arpLevel, tone,
                i % 2 ? 0.4f : -0.4f);
        }
    }
};

// A hit on every visible flash, where it starts, or on the cut that a flash is centred
// on; longer flashes swell to their brightest moment. An impact on every cut, a chime
// on every card change, pitched to the chord of the moment.
void hitMoments(const Show& show, Writer& w, Score& s) {
    const auto sec = [](int ms) { return ms / 1000.0; };
    std::vector<double> hits;
    for (int cut : show.cuts) {
        Writer::add(s.impact, sec(cut), 1, 0, 1, 0.5f, 0);
        hits.push_back(sec(cut));
    }
    for (int card : show.cards)
        Writer::add(s.chime, sec(card), 1.5, w.chordAt(sec(card)).tones[3] + 24, 0.8f, 0.5f,
                    0.3f);
    for (const FlashSpan& f : show.flashes) {
        if (!f.visible()) continue;
        int hit = f.from;
        for (int cut : show.cuts)
            if (std::abs(cut - f.peak()) <= 1 && cut >= f.from && cut < f.to) hit = cut;
        const Chord& chord = w.chordAt(sec(hit));
        const float pitch = static_cast<float>(chord.tones[f.mode == 1 ? 0 : 2] + 12);
        Writer::add(s.flash[f.mode], sec(hit), sec(f.to - hit), pitch, 1, 0.5f, 0);
        hits.push_back(sec(hit));
        if (hit > f.from)
            w.riser(sec(f.from), sec(hit));
        else if (f.to - f.from > 300 && f.from == f.start)
            Writer::add(s.swell, sec(f.start), sec(f.end - f.start), pitch, 0.8f,
                        f.mode == 0 ? 0.9f : 0.5f, 0);
    }
    // The grid's notes give way where they would come a moment before a hit and blur it.
    for (std::vector<Note>* part : {&s.kick, &s.snare, &s.hat, &s.openHat, &s.arp}) {
        part->erase(std::remove_if(part->begin(), part->end(),
                                   [&](const Note& n) {
                                       return std::any_of(hits.begin(), hits.end(), [&](double h) {
                                           return n.start < h - 1e-6 && n.start > h - 0.05;
                                       });
                                   }),
                    part->end());
    }
}

const FlashSpan* firstFade(const Show& show, bool in, bool last) {
    const FlashSpan* found = nullptr;
    for (const FlashSpan& f : show.flashes)
        if ((in ? f.fadeIn() : f.fadeOut()) && (!found || last)) found = &f;
    return found;
}

} // namespace

// Seven sections, each from a cut: the intro, its rise on the first rhythm's grid, the
// theme, the darker turn on the second rhythm's, the theme at full height on the
// third's, the calm on the cards' pace, and the finale.
bool compose(const Show& show, Score& s, std::string& error) {
    const std::vector<Rhythm> r = rhythmsOf(show.flashes);
    const FlashSpan* fadeIn = firstFade(show, true, false);
    const FlashSpan* fadeOut = firstFade(show, false, true);
    if (show.cuts.size() != 12 || r.size() != 3 || show.cards.size() < 2 || !fadeIn ||
        !fadeOut) {
        error = "the score is written for 12 cuts and 3 flash rhythms, the show has " +
                std::to_string(show.cuts.size()) + " and " + std::to_string(r.size());
        return false;
    }
    std::vector<double> c;
    for (int cut : show.cuts)
        c.push_back(cut / 1000.0);
    s = Score();
    s.length = std::ceil(show.length / 1000.0);
    s.fadeIn = fadeIn->end / 1000.0;
    s.fadeStart = fadeOut->start / 1000.0;
    s.fadeEnd = fadeOut->end / 1000.0;
    Writer w(s);

    // Intro: pads alone while the picture fades in, then the arpeggio creeping in, on the
    // grid of the rhythm that follows the first cut.
    const Grid rise = gridOf(r[0]);
    Part intro;
    intro.chords = list(theme);
    intro.padTone[0] = 0.15f;
    intro.padTone[1] = 0.3f;
    w.stretch(rise, 0, s.fadeIn, intro);
    intro.padTone[0] = 0.3f;
    intro.padTone[1] = 0.45f;
    intro.arpEvery = 1;
    intro.arpLevel = 0.5f;
    intro.arpTone[0] = 0.3f;
    intro.arpTone[1] = 0.5f;
    w.stretch(rise, s.fadeIn, c[0], intro);

    // The rise: a seven-beat groove on the first rhythm's steps.
    Part up = intro;
    up.padTone[0] = 0.45f;
    up.padTone[1] = 0.55f;
    up.arpLevel = 0.8f;
    up.arpTone[0] = 0.5f;
    up.arpTone[1] = 0.65f;
    up.bass = pulse(3, 21, 2.5);
    up.bassTone = 0.35f;
    up.kick = {0, 9, 12};
    up.snare = {6, 18};
    up.hat = every(1, 21);
    up.kickLevel = 0.8f;
    w.stretch(rise, c[0], c[1], up);
    const double lastCycle = (r[0].first + (r[0].cycles - 1) * r[0].cycle) / 1000.0;
    w.riser(lastCycle, c[1]);
    w.roll(r[0].last / 1000.0, c[1], rise.step / 2, 0.3f, 0.9f);

    // The theme in four-four under the next two scenes; the tune enters with the second.
    const Grid main = barsBetween(c[1], c[3], 2.0);
    Part theme1;
    theme1.chords = list(theme);
    theme1.padTone[0] = theme1.padTone[1] = 0.55f;
    theme1.arpEvery = 1;
    theme1.arpTone[0] = 0.55f;
    theme1.arpTone[1] = 0.7f;
    theme1.bass = pulse(2, 16, 1.7);
    theme1.hat = every(1, 16);
    theme1.kick = {0, 4, 8, 12};
    theme1.snare = {4, 12};
    theme1.openHat = {2, 6, 10, 14};
    w.stretch(main, c[1], c[3], theme1);
    w.crash(c[2], 0.8f);
    w.melody(main, main.stepsTo(c[2]), list(themeTune), 4, c[3], 0, 0.85f, 0.5f);
    w.roll(c[3] - 8 * main.step, c[3], main.step, 0.4f, 0.9f);

    // The outlined scene: D minor on the second rhythm's steps, a syncopated bass, a
    // brighter arpeggio; the drums break off for the last bar.
    const Grid dark = gridOf(r[1]);
    Part turn;
    turn.chords = list(detour);
    turn.padTone[0] = turn.padTone[1] = 0.45f;
    turn.arpEvery = 1;
    turn.arpTone[0] = 0.65f;
    turn.arpTone[1] = 0.85f;
    for (double step : {0, 2, 3, 5, 7, 9, 10, 12, 14, 16, 17, 19})
        turn.bass.push_back({step, 0.9, static_cast<int>(step) % 3 == 0 ? 0 : 12});
    turn.bassTone = 0.65f;
    turn.hat = every(1, 21);
    turn.kick = {0, 9, 13};
    turn.snare = {6, 18};
    const double breakAt = dark.at(21.0 * (r[1].cycles - 1));
    w.stretch(dark, c[3], breakAt, turn);
    Part hush = turn;
    hush.kick = hush.snare = hush.hat = {};
    hush.bass = {};
    w.stretch(dark, breakAt, c[4], hush);
    w.melody(dark, 21, list(darkTune), 1, breakAt, 0, 0.8f, 0.65f);
    w.melody(dark, 105, list(darkTune), 1, breakAt, 0, 0.85f, 0.75f);
    w.riser(breakAt, c[4]);
    w.roll(c[4] - 6 * dark.step, c[4], dark.step / 2, 0.2f, 1.0f);

    // The theme at full height under the cube's changing variants, two chords a bar on
    // the third rhythm's slow steps, half steps driving it; a cymbal on each change.
    const Grid full = gridOf(r[2]);
    Part theme2;
    theme2.chords = list(theme);
    theme2.changes = {0, 12};
    theme2.padTone[0] = theme2.padTone[1] = 0.65f;
    theme2.arpEvery = 0.5;
    theme2.arpTone[0] = theme2.arpTone[1] = 0.85f;
    theme2.bass = pulse(1, 12, 0.8);
    theme2.bassTone = 0.6f;
    theme2.hat = every(0.5, 21);
    theme2.kick = {0, 9, 12};
    theme2.snare = {6, 18};
    theme2.openHat = {4.5, 13.5};
    w.stretch(full, c[4], c[10], theme2);
    for (size_t i = 5; i < 10; ++i)
        w.crash(c[i], 0.5f);
    w.melody(full, 0, list(fullTune), 1, c[10], 0, 0.9f, 0.6f);
    w.melody(full, 84, list(fullTune), 1, c[10], 0, 0.9f, 0.75f);
    w.melody(full, 84, list(fullTune), 1, c[10], 12, 0.4f, 0.5f);
    w.roll(c[10] - 6 * full.step, c[10], full.step / 2, 0.3f, 1.0f);

    // Calm under the moving background: two bars to each card, no drums, soft ticks
    // later; a swell through the fade to black.
    size_t k = 0;
    while (k + 1 < show.cards.size() && show.cards[k] < show.cuts[10])
        ++k;
    const double cardPace = (show.cards[k + 1] - show.cards[k]) / 1000.0;
    const Grid still{c[10], cardPace / 2 / 16, 16, 4};
    Part quiet;
    quiet.chords = list(calm);
    quiet.padTone[0] = 0.55f;
    quiet.padTone[1] = 0.45f;
    quiet.arpEvery = 2;
    quiet.arpLevel = 0.6f;
    quiet.arpTone[0] = quiet.arpTone[1] = 0.55f;
    quiet.bass = {{0, 0, 0}};
    quiet.bassLevel = 0.6f;
    quiet.bassTone = 0.15f;
    const double ticks = still.at(8 * 16);
    w.stretch(still, c[10], ticks, quiet);
    quiet.hat = {2, 6, 10, 14};
    quiet.hatLevel = 0.45f;
    w.stretch(still, ticks, c[11], quiet);
    w.melody(still, 8 * 16, list(calmTune), 4, c[11], 0, 0.6f, 0.35f);
    const FlashSpan* dim = nullptr; // the fade to black before the finale
    for (const FlashSpan& f : show.flashes)
        if (f.fadeOut() && f.end == show.cuts[11]) dim = &f;
    w.riser(dim ? dim->start / 1000.0 : c[11] - 4, c[11]);
    w.roll(c[11] - 8 * still.step, c[11], still.step, 0.1f, 0.9f);

    // Finale: the theme once more, fading to silence with the picture.
    const Grid last = barsBetween(c[11], s.fadeEnd, 2.0);
    Part theme3 = theme1;
    theme3.padTone[0] = theme3.padTone[1] = 0.65f;
    theme3.arpTone[0] = theme3.arpTone[1] = 0.85f;
    theme3.bassTone = 0.6f;
    w.stretch(last, c[11], s.length, theme3);
    w.melody(last, 0, list(themeTune), 4, s.fadeEnd, 0, 0.9f, 0.7f);

    hitMoments(show, w, s);
    w.tieHeldNotes();
    return true;
}
