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
    void cube(int method, int duration) { add(0, cubeEffect, duration, &cubeMethods[method]); }
    void blur(int setting, int duration) { add(1, blurEffect, duration, &blurSettings[setting]); }
    void flash(int track, int mode, int duration) {
        add(track, flashEffect, duration, &flashModes[mode]);
    }
    // A white flash of `duration` ms centred `before` ms ahead of the scene track's cursor.
    void cutFlash(int before, int duration) {
        t(2).cursor = t(0).cursor - before;
        flash(2, 0, duration);
    }

    // A rhythm of flashes on track 2 over the section track 0 has just received.
    void rhythm(const Rhythm& r, int divisor, int first, int last) {
        const int d = t(0).cursor - t(4).cursor - 1000;
        const float x = static_cast<float>(static_cast<double>(d) / divisor);
        const int lengths[4] = {scaled(x, r.first), scaled(x, r.second), scaled(x, r.third),
                                scaled(x, r.fourth)};
        const int pause = scaled(x, r.pause);
        for (int i = first; i <= last; ++i) {
            for (int n = 0; n < 4; ++n)
                flash(2, ((i + r.modeOffset[n]) % 4 + 4) % 4, lengths[n]);
            t(2).advance(pause);
        }
    }

    // Cards first..last on track 3, each sliding into the next through a wipe.
    void cards(int first, int last) {
        for (int k = first; k <= last; ++k) {
            add(3, fontEffect, k == 5 ? 10000 : 5000, &textCards[k]);
            if (k == last) break;
            Transit wipe(k % 2 ? static_cast<Transition*>(tr1Effect) : tr3Effect, 1125);
            t(3).add(wipe);
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
    // 0:00 to 0:20: the rings under a glow, fading in, then the morph.
    l.cube(1, 10000);
    l.blur(0, 10000);
    l.flash(4, 4, 5000);
    sync(l.t(0), l.t(4));
    l.t(2).advance(9800);
    l.flash(2, 0, 400);
    l.cube(6, 10000);
    l.blur(0, 10000);
    l.rhythm(r1, 3, 3, 5);
    // 0:20 to 0:50: credits, event and title cards over two more variants.
    l.t(3).advance(l.t(0).cursor);
    l.t(3).advance(1500);
    l.cube(0, 14000);
    l.blur(0, 14000);
    l.cards(0, 23);
    l.cutFlash(250, 500);
    l.cube(3, 16000);
    l.blur(0, 16000);
    l.cutFlash(500, 1000);
    sync(l.t(0), l.t(4));
    // 0:50 to 1:25: the outlined scene under the zoom blur, with greetings.
    l.add(0, teaEffect, 35000, nullptr);
    l.blur(1, 35000);
    l.rhythm(r1, 10, 3, 12);
    l.cutFlash(500, 1000);
    sync(l.t(0), l.t(4));
    sync(l.t(0), l.t(1));
    // 1:25 to 2:00.6: the cube variants every five seconds.
    for (int method : {6, 0, 5, 1, 6})
        l.cube(method, 5000);
    l.cube(0, l.t(3).cursor - l.t(0).cursor);
    l.blur(0, l.t(0).cursor - l.t(1).cursor);
    l.rhythm(r2, 6, 2, 5);
    l.cutFlash(500, 1000);
    // 2:00.6 to 2:43.6: the moving background and the closing cards.
    fillClosingCards();
    l.add(0, fondEffect, 43000, nullptr);
    l.cards(24, 33);
    l.t(2).cursor = l.t(0).cursor - 5000;
    l.flash(2, 5, 5000);
    l.t(1).cursor = l.t(0).cursor;
    // 2:43.6 to 2:55.6: the rings once more, in and out of black.
    l.cube(1, 12000);
    l.blur(0, 12000);
    l.flash(2, 4, 3500);
    l.t(2).cursor = l.t(0).cursor - 3500;
    l.flash(2, 5, 3500);
}
