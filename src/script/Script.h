#pragma once
#include "script/MusicClock.h"
#include <string>

class Blur;
class Fx;
class CubeVom;
class Flash;
class Fond;
class FxFont;
class Tea;
class Tr1;
class Tr3;
class TrBlur;

// The effect instances of the show: created once by the script, never deleted.
extern FxFont* fontEffect;
extern Blur* blurEffect;
extern Flash* flashEffect;
extern Tea* teaEffect;
extern Tr1* tr1Effect;
extern Tr3* tr3Effect;
extern TrBlur* trBlurEffect;
extern CubeVom* cubeEffect;
extern Fond* fondEffect;

// What an entry shows, by the script's instance names ("CubeVom method 2", "Tea", ...),
// for tools that report on the show; "none" for an empty entry.
std::string entryName(const Fx& fx);

// The demo script: its constructor opens the music, builds every effect and lays
// the show out on the tracks of the global Demo; frame() draws one frame of it.
// Needs a current GL context.
class Script {
public:
    Script();

    // One frame at the clock's time, kept with the music's; false on the frame that found nothing
    // to draw, after which the clock restarts from zero.
    bool frame();

    // One frame at show time `time`: clears the screen and draws every track (in auto
    // detail, finished and timed).
    bool frameAt(int time);

    // The frame at `time` as it would be drawn alone, whichever were drawn before it: the text
    // shake and the outlined sizes drawn from the random sequence's start.
    bool momentAt(int time);

    // Draws, unseen, a moment of each entry the show places, then starts the clock again:
    // a renderer that makes its code for each new state at its first use (a software one
    // takes a tenth of a second) makes it now, so that no scene's first frame stalls
    // the show.
    void rehearse();

    int shown = 0; // the show time the latest frame() drew, ms

private:
    MusicClock sync; // holds the show's clock and the music together
};
