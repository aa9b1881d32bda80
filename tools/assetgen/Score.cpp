#include "Score.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr double beat = 0.5; // seconds: 120 beats per minute, so every scene cut is on a beat

struct Chord {
    int root;     // the bass note
    int tones[4]; // the pad's voicing
};

// Am7, Fmaj7, C, G: the theme, one chord a bar.
const Chord theme[] = {
    {33, {57, 60, 64, 67}}, {29, {53, 57, 60, 64}}, {36, {55, 60, 64, 67}}, {31, {55, 59, 62, 67}}};
// Dm, Bb, C, A: a darker turn for the outlined scene.
const Chord detour[] = {
    {38, {50, 53, 57, 62}}, {34, {50, 53, 58, 62}}, {36, {52, 55, 60, 64}}, {33, {49, 52, 57, 61}}};
// Fmaj7, G6, Em7, Am9, two bars each: the calm before the finale.
const Chord calm[] = {{29, {53, 57, 60, 64}}, {29, {53, 57, 60, 64}}, {31, {55, 59, 62, 64}},
                      {31, {55, 59, 62, 64}}, {28, {52, 55, 59, 62}}, {28, {52, 55, 59, 62}},
                      {33, {57, 60, 64, 71}}, {33, {57, 60, 64, 71}}};

// A melody note: start and length in beats from the phrase's start.
struct Tune {
    double at, length;
    int pitch;
};

// The theme's tune, eight bars over Am F C G twice: a call, then its answer.
const Tune themeTune[] = {
    {0, 1, 76},      {1.5, 0.5, 74}, {2, 1.5, 76}, {3.5, 0.5, 79}, {4, 2.5, 72},    {7, 1, 69},
    {8, 0.5, 67},    {8.5, 0.5, 69}, {9, 1, 72},   {10, 1, 74},    {11, 1, 76},     {12, 1.5, 74},
    {13.5, 0.5, 71}, {14, 2, 67},    {16, 1, 76},  {17, 1, 81},    {18, 0.5, 79},   {18.5, 1.5, 76},
    {20, 1, 77},     {21, 1, 76},    {22, 2, 72},  {24, 0.5, 76},  {24.5, 0.5, 74}, {25, 1, 72},
    {26, 1, 67},     {27, 1, 72},    {28, 2, 71},  {30, 2, 69}};
// Four bars over Dm Bb C A.
const Tune detourTune[] = {{0, 1.5, 69}, {1.5, 0.5, 74}, {2, 1.5, 77}, {3.5, 0.5, 76}, {4, 3, 74},
                           {7, 0.5, 77}, {7.5, 0.5, 74}, {8, 1.5, 76}, {9.5, 0.5, 79}, {10, 1, 76},
                           {11, 1, 72},  {12, 2, 73},    {14, 1, 76},  {15, 1, 69}};
// Long notes falling through the calm chords.
const Tune calmTune[] = {{0, 6, 72},  {6, 2, 69},  {8, 6, 74}, {14, 2, 71},
                         {16, 6, 71}, {22, 2, 67}, {24, 8, 69}};

template <size_t N> std::vector<Tune> tune(const Tune (&t)[N]) { return {t, t + N}; }
template <size_t N> std::vector<Chord> chords(const Chord (&c)[N]) { return {c, c + N}; }

// What plays through a stretch of a section. Tones ramp from the first value to
// the second over the stretch.
struct Part {
    std::vector<Chord> chords;
    float padTone[2] = {0.5f, 0.5f};
    float arpTone[2] = {0.5f, 0.5f};
    float arpLevel = 1;
    int arp = 0;  // 0 none, 1 eighths, 2 sixteenths
    int bass = 0; // 0 none, 1 held, 2 eighths with octaves, 3 syncopated sixteenths
    float bassLevel = 1, bassTone = 0.5f;
    int hats = 0; // 0 none, 1 offbeat eighths, 2 sixteenths
    float hatLevel = 1, kickLevel = 1;
    bool kick = false, snare = false, openHats = false;
};

class Writer {
public:
    explicit Writer(Score& score) : s(score) {}

    // Lays `part` over beats [from, to); its chords change every bar counted from `origin`.
    void stretch(double origin, double from, double to, const Part& part) {
        for (double bar = origin; bar < to; bar += 4) {
            const Chord& chord =
                part.chords[static_cast<size_t>((bar - origin) / 4) % part.chords.size()];
            const double a = std::max(bar, from), b = std::min(bar + 4, to);
            if (a >= b) continue;
            const float x = static_cast<float>((a - from) / (to - from));
            const float padTone = part.padTone[0] + x * (part.padTone[1] - part.padTone[0]);
            const float arpTone = part.arpTone[0] + x * (part.arpTone[1] - part.arpTone[0]);
            for (int i = 0; i < 4; ++i)
                add(s.pad, a, b - a, chord.tones[i], 0.8f, padTone, -0.3f + 0.2f * i);
            bassBar(part, chord, bar, a, b);
            arpBar(part, chord, bar, a, b, arpTone);
            drumBar(part, bar, a, b);
        }
    }

    void crash(double at, float velocity = 1) { add(s.crash, at, 4, 0, velocity, 0.5f, 0); }
    void riser(double from, double to) { add(s.riser, from, to - from, 0, 1, 0.5f, 0); }
    // Sixteenth snares growing louder and brighter: a fill into the next section.
    void roll(double from, double to, float v0, float v1) {
        for (double t = from; t < to - 1e-9; t += 0.25) {
            const float x = static_cast<float>((t - from) / (to - from));
            add(s.snare, t, 0.25, 0, v0 + x * (v1 - v0), x, 0);
        }
    }
    void melody(double at, const std::vector<Tune>& tune, int transpose, float velocity,
                float tone) {
        for (const Tune& n : tune)
            add(s.lead, at + n.at, n.length * 0.92, n.pitch + transpose, velocity, tone, 0);
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

private:
    Score& s;

    static void add(std::vector<Note>& to, double at, double length, float pitch, float velocity,
                    float tone, float pan) {
        Note n;
        n.start = at * beat;
        n.length = length * beat;
        n.pitch = pitch;
        n.velocity = velocity;
        n.tone = tone;
        n.pan = pan;
        to.push_back(n);
    }

    void bassBar(const Part& p, const Chord& c, double bar, double a, double b) {
        if (p.bass == 1) add(s.bass, a, b - a, c.root, 0.8f * p.bassLevel, p.bassTone, 0);
        if (p.bass == 2) {
            for (int i = 0; i < 8; ++i) {
                const double t = bar + 0.5 * i;
                if (t < a || t >= b) continue;
                add(s.bass, t, 0.42, c.root + (i % 2) * 12, (i % 4 ? 0.8f : 1.0f) * p.bassLevel,
                    p.bassTone, 0);
            }
        }
        if (p.bass == 3) {
            // x.xx.x.xx.xx.x.x, climbing to the octave and the fifth.
            static const int steps[] = {0, 2, 3, 5, 7, 8, 10, 11, 13, 15};
            static const int lift[] = {0, 12, 0, 7, 0, 12, 0, 12, 7, 12};
            for (int i = 0; i < 10; ++i) {
                const double t = bar + 0.25 * steps[i];
                if (t < a || t >= b) continue;
                add(s.bass, t, 0.22, c.root + lift[i], (i % 3 ? 0.8f : 1.0f) * p.bassLevel,
                    p.bassTone, 0);
            }
        }
    }

    void arpBar(const Part& p, const Chord& c, double bar, double a, double b, float tone) {
        if (p.arp == 0) return;
        const int t[4] = {c.tones[0] + 12, c.tones[1] + 12, c.tones[2] + 12, c.tones[3] + 12};
        const int eighths[8] = {t[0], t[1], t[2], t[3], t[0] + 12, t[3], t[2], t[1]};
        const int sixteenths[8] = {t[0], t[2], t[1], t[3], t[2], t[0] + 12, t[3], t[1] + 12};
        const double step = p.arp == 1 ? 0.5 : 0.25;
        for (int i = 0; i * step < 4; ++i) {
            const double at = bar + i * step;
            if (at < a || at >= b) continue;
            const int pitch = p.arp == 1 ? eighths[i % 8] : sixteenths[i % 8];
            const float accent = i % 4 == 0 ? 1.0f : 0.75f;
            add(s.arp, at, step * 0.8, pitch, accent * p.arpLevel, tone, i % 2 ? 0.4f : -0.4f);
        }
    }

    void drumBar(const Part& p, double bar, double a, double b) {
        for (int i = 0; i < 16; ++i) {
            const double t = bar + 0.25 * i;
            if (t < a || t >= b) continue;
            const bool onBeat = i % 4 == 0, offBeat = i % 4 == 2;
            if (p.kick && onBeat)
                add(s.kick, t, 1, 0, (i == 0 ? 1.0f : 0.92f) * p.kickLevel, 0.5f, 0);
            if (p.snare && (i == 4 || i == 12)) add(s.snare, t, 1, 0, 0.9f, 0.5f, 0);
            if (p.openHats && offBeat) {
                add(s.openHat, t, 1, 0, 0.5f * p.hatLevel, 0.5f, -0.2f);
                continue;
            }
            static const float sixteenth[4] = {0.55f, 0.25f, 0.42f, 0.25f};
            if (p.hats == 2) add(s.hat, t, 0.25, 0, sixteenth[i % 4] * p.hatLevel, 0.5f, 0.25f);
            if (p.hats == 1 && offBeat) add(s.hat, t, 0.25, 0, 0.5f * p.hatLevel, 0.5f, 0.25f);
        }
    }
};

} // namespace

// Beats: 0 intro, 40 (20 s) theme, 100 (50 s) the outlined scene, 170 (85 s) the theme
// at full height, 241 (120.5 s) calm, 327 (163.5 s) finale.
Score compose() {
    Score s;
    s.length = 176;
    s.fadeIn = 4;
    s.fadeStart = 172.125;
    s.fadeEnd = 175.6;
    Writer w(s);

    // Intro: pads alone, the arpeggio creeping in, a soft beat from the first cut at 10 s.
    Part intro;
    intro.chords = chords(theme);
    intro.padTone[0] = 0.15f;
    intro.padTone[1] = 0.3f;
    w.stretch(0, 0, 8, intro);
    intro.padTone[0] = 0.3f;
    intro.padTone[1] = 0.4f;
    intro.arp = 1;
    intro.arpLevel = 0.6f;
    intro.arpTone[0] = 0.3f;
    intro.arpTone[1] = 0.45f;
    w.stretch(0, 8, 20, intro);
    intro.padTone[0] = 0.4f;
    intro.padTone[1] = 0.55f;
    intro.arpTone[0] = 0.45f;
    intro.arpTone[1] = 0.6f;
    intro.arpLevel = 0.8f;
    intro.kick = true;
    intro.kickLevel = 0.7f;
    intro.hats = 1;
    intro.bass = 1;
    intro.bassTone = 0.3f;
    w.stretch(0, 20, 40, intro);
    w.crash(20, 0.7f);
    w.riser(32, 40);
    w.roll(36, 40, 0.15f, 0.8f);

    // The theme: the full beat; the tune enters with the lobed surface at 34 s.
    Part theme1;
    theme1.chords = chords(theme);
    theme1.padTone[0] = theme1.padTone[1] = 0.55f;
    theme1.arp = 2;
    theme1.arpTone[0] = 0.55f;
    theme1.arpTone[1] = 0.7f;
    theme1.bass = 2;
    theme1.bassTone = 0.5f;
    theme1.hats = 2;
    theme1.kick = theme1.snare = theme1.openHats = true;
    w.stretch(40, 40, 100, theme1);
    w.crash(40);
    w.crash(68, 0.8f);
    w.melody(68, tune(themeTune), 0, 0.85f, 0.5f);
    w.roll(98, 100, 0.4f, 0.9f);

    // The outlined scene: D minor, a syncopated bass, a brighter arpeggio; a break at the end.
    Part dark;
    dark.chords = chords(detour);
    dark.padTone[0] = dark.padTone[1] = 0.45f;
    dark.arp = 2;
    dark.arpTone[0] = 0.65f;
    dark.arpTone[1] = 0.85f;
    dark.bass = 3;
    dark.bassTone = 0.65f;
    dark.hats = 2;
    dark.kick = dark.snare = true;
    w.stretch(100, 100, 164, dark);
    w.crash(100);
    w.melody(132, tune(detourTune), 0, 0.8f, 0.65f);
    w.melody(148, tune(detourTune), 0, 0.85f, 0.75f);
    Part dark2 = dark;
    dark2.kick = dark2.snare = false;
    dark2.bass = 0;
    dark2.hats = 0;
    w.stretch(100, 164, 170, dark2);
    w.riser(162, 170);
    w.roll(166, 170, 0.2f, 1.0f);

    // The theme at full height under the cube's changing variants, a cymbal on each change.
    Part theme2 = theme1;
    theme2.padTone[0] = theme2.padTone[1] = 0.65f;
    theme2.arpTone[0] = theme2.arpTone[1] = 0.85f;
    theme2.bassTone = 0.6f;
    w.stretch(170, 170, 241, theme2);
    for (int at = 170; at <= 230; at += 10)
        w.crash(at, at == 170 ? 1.0f : 0.7f);
    w.melody(170, tune(themeTune), 0, 0.9f, 0.6f);
    w.melody(202, tune(themeTune), 0, 0.9f, 0.75f);
    w.melody(202, tune(themeTune), 12, 0.4f, 0.5f);
    w.roll(238, 241, 0.3f, 1.0f);

    // Calm under the moving background and the closing cards: no drums, soft ticks later.
    Part still;
    still.chords = chords(calm);
    still.padTone[0] = 0.55f;
    still.padTone[1] = 0.45f;
    still.arp = 1;
    still.arpLevel = 0.6f;
    still.arpTone[0] = still.arpTone[1] = 0.55f;
    still.bass = 1;
    still.bassLevel = 0.6f;
    still.bassTone = 0.15f;
    w.stretch(241, 241, 273, still);
    still.hats = 1;
    still.hatLevel = 0.45f;
    w.stretch(241, 273, 327, still);
    w.crash(241, 0.6f);
    w.melody(273, tune(calmTune), 0, 0.6f, 0.35f);
    w.riser(311, 327);
    w.roll(323, 327, 0.1f, 0.9f);

    // Finale: the theme once more, fading to silence with the picture.
    Part last = theme2;
    w.stretch(327, 327, 352, last);
    w.crash(327);
    w.melody(327, tune(themeTune), 0, 0.9f, 0.7f);

    w.tieHeldNotes();
    return s;
}
