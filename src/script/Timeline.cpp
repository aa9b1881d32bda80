#include "script/Timeline.h"
#include "effects/Blur.h"
#include "effects/CubeVom.h"
#include "effects/Flash.h"
#include "effects/Fond.h"
#include "effects/FxFont.h"
#include "effects/Tea.h"
#include "effects/Tr1.h"
#include "effects/Tr3.h"
#include "engine/Demo.h"
#include "script/Script.h"
#include "script/Sets.h"
#include "script/Tracks.h"

namespace {

// Five factors of a flash rhythm: the pause and the four flash lengths.
struct Rhythm {
    double pause, fourth, third, second, first;
    int modeOffset[4]; // added to the cycle number, mod 4, for the four flashes
};

// The first rhythm's constants are partly 32-bit floats widened to double, and
// the durations depend on that rounding.
const Rhythm r1 = {0.3,
                   static_cast<double>(0.3f),
                   0.25,
                   static_cast<double>(0.05f),
                   static_cast<double>(0.15f),
                   {-3, 1, 0, -1}};
const Rhythm r2 = {0.5,
                   static_cast<double>(0.1f),
                   0.25,
                   static_cast<double>(0.05f),
                   static_cast<double>(0.15f),
                   {-2, -1, 0, 0}};

class Layout {
public:
    explicit Layout(Demo& d) : demo(d) {}

    Track& t(int n) { return demo.track(n); }

    void add(int track, Effect* effect, int duration, const AttribSet* set) {
        Fx entry(effect, duration, set);
        t(track).add(entry);
    }
    void cube(int method, int duration) {
        add(sceneTrack, cubeEffect, duration, &cubeMethods[method]);
    }
    void blur(int setting, int duration) {
        add(blurTrack, blurEffect, duration, &blurSettings[setting]);
    }
    void flash(int track, int mode, int duration) {
        add(track, flashEffect, duration, &flashModes[mode]);
    }
    // A white flash of `duration` ms centred `before` ms ahead of the scene track's cursor.
    void cutFlash(int before, int duration) {
        t(flashTrack).cursor = t(sceneTrack).cursor - before;
        flash(flashTrack, flashMode::white, duration);
    }

    // A rhythm of flashes over the section the scene track has just received.
    void rhythm(const Rhythm& r, int divisor, int first, int last) {
        const int d = t(sceneTrack).cursor - t(markTrack).cursor - 1000;
        const float x = static_cast<float>(static_cast<double>(d) / divisor);
        const int lengths[4] = {scaled(x, r.first), scaled(x, r.second), scaled(x, r.third),
                                scaled(x, r.fourth)};
        const int pause = scaled(x, r.pause);
        for (int i = first; i <= last; ++i) {
            for (int n = 0; n < 4; ++n)
                flash(flashTrack, ((i + r.modeOffset[n]) % 4 + 4) % 4, lengths[n]);
            t(flashTrack).advance(pause);
        }
    }

    // Cards first..last, each sliding into the next through a wipe.
    void cards(int first, int last) {
        for (int k = first; k <= last; ++k) {
            add(cardTrack, fontEffect, k == 5 ? 10000 : 5000, &textCards[k]);
            if (k == last) break;
            Transit wipe(k % 2 ? static_cast<Transition*>(tr1Effect) : tr3Effect, 1125);
            t(cardTrack).add(wipe);
        }
    }

private:
    static int scaled(float x, double factor) {
        return static_cast<int>(static_cast<double>(x) * factor);
    }

    Demo& demo;
};

} // namespace

void layOutTimeline(Demo& show) {
    Layout l(show);
    Track &scene = l.t(sceneTrack), &blur = l.t(blurTrack), &flashes = l.t(flashTrack),
          &cards = l.t(cardTrack), &mark = l.t(markTrack);
    // 0:00 to 0:20: the rings under a glow, fading in, then the morph.
    l.cube(1, 10000);
    l.blur(0, 10000);
    l.flash(markTrack, flashMode::fadeIn, 5000);
    sync(scene, mark);
    flashes.advance(9800);
    l.flash(flashTrack, flashMode::white, 400);
    l.cube(6, 10000);
    l.blur(0, 10000);
    l.rhythm(r1, 3, 3, 5);
    // 0:20 to 0:50: credits, event and title cards over two more variants.
    cards.advance(scene.cursor);
    cards.advance(1500);
    l.cube(0, 14000);
    l.blur(0, 14000);
    l.cards(0, 23);
    l.cutFlash(250, 500);
    l.cube(3, 16000);
    l.blur(0, 16000);
    l.cutFlash(500, 1000);
    sync(scene, mark);
    // 0:50 to 1:25: the outlined scene under the zoom blur, with greetings.
    l.add(sceneTrack, teaEffect, 35000, nullptr);
    l.blur(1, 35000);
    l.rhythm(r1, 10, 3, 12);
    l.cutFlash(500, 1000);
    sync(scene, mark);
    sync(scene, blur);
    // 1:25 to 2:00.6: the cube variants every five seconds.
    for (int method : {6, 0, 5, 1, 6})
        l.cube(method, 5000);
    l.cube(0, cards.cursor - scene.cursor);
    l.blur(0, scene.cursor - blur.cursor);
    l.rhythm(r2, 6, 2, 5);
    l.cutFlash(500, 1000);
    // 2:00.6 to 2:43.6: the moving background and the closing cards.
    fillClosingCards();
    l.add(sceneTrack, fondEffect, 43000, nullptr);
    l.cards(24, 33);
    flashes.cursor = scene.cursor - 5000;
    l.flash(flashTrack, flashMode::fadeOut, 5000);
    blur.cursor = scene.cursor;
    // 2:43.6 to 2:55.6: the rings once more, in and out of black.
    l.cube(1, 12000);
    l.blur(0, 12000);
    l.flash(flashTrack, flashMode::fadeIn, 3500);
    flashes.cursor = scene.cursor - 3500;
    l.flash(flashTrack, flashMode::fadeOut, 3500);
}
