#pragma once
#include "engine/Effect.h"

// A timeline entry: shows a shared effect for `duration` ms with its parameter set.
class Fx final : public Effect {
public:
    Effect* effect;           // not owned; none in an empty work slot
    const AttribSet* attribs; // not owned; may be none

    Fx() : Effect(1), effect(nullptr), attribs(nullptr) {}
    Fx(Effect* shown, int ms, const AttribSet* set) : Effect(ms), effect(shown), attribs(set) {}

    // Copies keep the destination's `spare`.
    Fx(const Fx& o) : Effect(o.duration), effect(o.effect), attribs(o.attribs) { start = o.start; }
    Fx& operator=(const Fx& o) {
        effect = o.effect;
        attribs = o.attribs;
        duration = o.duration;
        start = o.start;
        return *this;
    }

    // Hands the entry's timing and parameters to the effect.
    void prepare() const;
    // Prepares the effect, then draws it.
    void draw(int time) override;
};
