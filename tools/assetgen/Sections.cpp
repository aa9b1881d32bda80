// The score's seven sections, each from a cut: the intro, its rise on the first rhythm's
// grid, the theme, the darker turn on the second rhythm's, the theme at full height on
// the third's, the calm on the cards' pace, and the finale; then the show's hits.
#include "Arranger.h"
#include "Hits.h"
#include <cmath>

namespace {

const FlashSpan* firstFade(const Show& show, bool in, bool last) {
    const FlashSpan* found = nullptr;
    for (const FlashSpan& f : show.flashes)
        if ((in ? f.fadeIn() : f.fadeOut()) && (!found || last)) found = &f;
    return found;
}

class Sections {
public:
    Sections(const Show& shown, Score& score, const std::vector<Rhythm>& rhythms)
        : show(shown), s(score), w(score), r(rhythms) {
        for (int cut : show.cuts)
            c.push_back(cut / 1000.0);
    }

    // Pads alone while the picture fades in, then the arpeggio creeping in, on the grid
    // of the rhythm that follows the first cut.
    void intro() {
        const Grid grid = gridOf(r[0]);
        opening.chords = theme;
        opening.padTone[0] = 0.15f;
        opening.padTone[1] = 0.3f;
        w.stretch(grid, 0, s.fadeIn, opening);
        opening.padTone[0] = 0.3f;
        opening.padTone[1] = 0.45f;
        opening.arpEvery = 1;
        opening.arpLevel = 0.5f;
        opening.arpTone[0] = 0.3f;
        opening.arpTone[1] = 0.5f;
        w.stretch(grid, s.fadeIn, c[0], opening);
    }

    // A seven-beat groove on the first rhythm's steps.
    void rise() {
        const Grid grid = gridOf(r[0]);
        Part up = opening;
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
        w.stretch(grid, c[0], c[1], up);
        const double lastCycle = (r[0].first + (r[0].cycles - 1) * r[0].cycle) / 1000.0;
        w.riser(lastCycle, c[1]);
        w.roll(r[0].last / 1000.0, c[1], grid.step / 2, 0.3f, 0.9f);
    }

    // The theme in four-four under the next two scenes; the tune enters with the second.
    void themeSection() {
        const Grid main = barsBetween(c[1], c[3], 2.0);
        themed.chords = theme;
        themed.padTone[0] = themed.padTone[1] = 0.55f;
        themed.arpEvery = 1;
        themed.arpTone[0] = 0.55f;
        themed.arpTone[1] = 0.7f;
        themed.bass = pulse(2, 16, 1.7);
        themed.hat = every(1, 16);
        themed.kick = {0, 4, 8, 12};
        themed.snare = {4, 12};
        themed.openHat = {2, 6, 10, 14};
        w.stretch(main, c[1], c[3], themed);
        w.crash(c[2], 0.8f);
        w.melody(main, main.stepsTo(c[2]), themeTune, 4, c[3], 0, 0.85f, 0.5f);
        w.roll(c[3] - 8 * main.step, c[3], main.step, 0.4f, 0.9f);
    }

    // The outlined scene: D minor on the second rhythm's steps, a syncopated bass, a
    // brighter arpeggio; the drums break off for the last bar.
    void turn() {
        const Grid grid = gridOf(r[1]);
        Part minor;
        minor.chords = detour;
        minor.padTone[0] = minor.padTone[1] = 0.45f;
        minor.arpEvery = 1;
        minor.arpTone[0] = 0.65f;
        minor.arpTone[1] = 0.85f;
        for (double step : {0, 2, 3, 5, 7, 9, 10, 12, 14, 16, 17, 19})
            minor.bass.push_back({step, 0.9, static_cast<int>(step) % 3 == 0 ? 0 : 12});
        minor.bassTone = 0.65f;
        minor.hat = every(1, 21);
        minor.kick = {0, 9, 13};
        minor.snare = {6, 18};
        const double breakAt = grid.at(21.0 * (r[1].cycles - 1));
        w.stretch(grid, c[3], breakAt, minor);
        Part hush = minor;
        hush.kick = hush.snare = hush.hat = {};
        hush.bass = {};
        w.stretch(grid, breakAt, c[4], hush);
        w.melody(grid, 21, darkTune, 1, breakAt, 0, 0.8f, 0.65f);
        w.melody(grid, 105, darkTune, 1, breakAt, 0, 0.85f, 0.75f);
        w.riser(breakAt, c[4]);
        w.roll(c[4] - 6 * grid.step, c[4], grid.step / 2, 0.2f, 1.0f);
    }

    // The theme at full height under the cube's changing variants, two chords a bar on the
    // third rhythm's slow steps, half steps driving it; a cymbal on each change.
    void full() {
        const Grid grid = gridOf(r[2]);
        Part high;
        high.chords = theme;
        high.changes = {0, 12};
        high.padTone[0] = high.padTone[1] = 0.65f;
        high.arpEvery = 0.5;
        high.arpTone[0] = high.arpTone[1] = 0.85f;
        high.bass = pulse(1, 12, 0.8);
        high.bassTone = 0.6f;
        high.hat = every(0.5, 21);
        high.kick = {0, 9, 12};
        high.snare = {6, 18};
        high.openHat = {4.5, 13.5};
        w.stretch(grid, c[4], c[10], high);
        for (size_t i = 5; i < 10; ++i)
            w.crash(c[i], 0.5f);
        w.melody(grid, 0, fullTune, 1, c[10], 0, 0.9f, 0.6f);
        w.melody(grid, 84, fullTune, 1, c[10], 0, 0.9f, 0.75f);
        w.melody(grid, 84, fullTune, 1, c[10], 12, 0.4f, 0.5f);
        w.roll(c[10] - 6 * grid.step, c[10], grid.step / 2, 0.3f, 1.0f);
    }

    // Calm under the moving background: two bars to each card, no drums, soft ticks
    // later; a swell through the fade to black.
    void calmSection() {
        size_t k = 0;
        while (k + 1 < show.cards.size() && show.cards[k] < show.cuts[10])
            ++k;
        const double cardPace = (show.cards[k + 1] - show.cards[k]) / 1000.0;
        const Grid still{c[10], cardPace / 2 / 16, 16, 4};
        Part quiet;
        quiet.chords = calm;
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
        w.melody(still, 8 * 16, calmTune, 4, c[11], 0, 0.6f, 0.35f);
        const FlashSpan* dim = nullptr; // the fade to black before the finale
        for (const FlashSpan& f : show.flashes)
            if (f.fadeOut() && f.end == show.cuts[11]) dim = &f;
        w.riser(dim ? dim->start / 1000.0 : c[11] - 4, c[11]);
        w.roll(c[11] - 8 * still.step, c[11], still.step, 0.1f, 0.9f);
    }

    // The theme once more, fading to silence with the picture.
    void finale() {
        const Grid last = barsBetween(c[11], s.fadeEnd, 2.0);
        Part again = themed;
        again.padTone[0] = again.padTone[1] = 0.65f;
        again.arpTone[0] = again.arpTone[1] = 0.85f;
        again.bassTone = 0.6f;
        w.stretch(last, c[11], s.length, again);
        w.melody(last, 0, themeTune, 4, s.fadeEnd, 0, 0.9f, 0.7f);
    }

    void hits() {
        hitMoments(show, w, s);
        w.tieHeldNotes();
    }

private:
    const Show& show;
    Score& s;
    Writer w;
    const std::vector<Rhythm>& r;
    std::vector<double> c; // the cuts, in seconds
    Part opening;          // the intro's, on which the rise builds
    Part themed;           // the theme's, which the finale plays again
};

} // namespace

bool compose(const Show& show, Score& s, std::string& error) {
    const std::vector<Rhythm> r = rhythmsOf(show.flashes);
    const FlashSpan* fadeIn = firstFade(show, true, false);
    const FlashSpan* fadeOut = firstFade(show, false, true);
    if (show.cuts.size() != 12 || r.size() != 3 || show.cards.size() < 2 || !fadeIn || !fadeOut) {
        error = "the score is written for 12 cuts and 3 flash rhythms, the show has " +
                std::to_string(show.cuts.size()) + " and " + std::to_string(r.size());
        return false;
    }
    s = Score();
    s.length = std::ceil(show.length / 1000.0);
    s.fadeIn = fadeIn->end / 1000.0;
    s.fadeStart = fadeOut->start / 1000.0;
    s.fadeEnd = fadeOut->end / 1000.0;
    Sections sections(show, s, r);
    sections.intro();
    sections.rise();
    sections.themeSection();
    sections.turn();
    sections.full();
    sections.calmSection();
    sections.finale();
    sections.hits();
    return true;
}
