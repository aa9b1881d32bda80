#pragma once

class Demo;
class Effect;
class Transition;

// The effect instances the timeline places (created by the script).
struct ShowEffects {
    Effect* font;
    Effect* blur;
    Effect* flash;
    Effect* tea;
    Transition* tr1;
    Transition* tr3;
    Effect* cube;
    Effect* fond;
};

// Lays the whole show out on tracks 0 to 4 of `demo`. Fills the closing cards on the way.
void layOutTimeline(Demo& demo, const ShowEffects& fx);

// The length of the show: the first moment at which no track has an entry.
constexpr int showLength = 175625;
