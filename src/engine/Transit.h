#pragma once
#include "engine/Fx.h"

class Transit;

// A transition effect: draws the outgoing and incoming entries of the Transit
// that most recently took it.
class Transition : public Effect {
public:
    Transit* transit = nullptr; // not owned; always the copy about to draw

    explicit Transition(int ms) : Effect(ms) {}
};

// A transition entry on a track, over the end of one entry and the start of the next.
class Transit final : public Effect {
public:
    Fx from; // outgoing entry (empty when the track has none)
    Fx to;   // incoming entry (empty when the track has none)
    int tag = 0;
    Transition* transition = nullptr; // not owned; may be none

    Transit() : Effect(1) {}
    Transit(Transition* t, int ms) : Effect(ms), transition(t) { point(); }

    // Every copy, also those a growing array makes, re-points the transition here.
    Transit(const Transit& o)
        : Effect(o), from(o.from), to(o.to), tag(o.tag), transition(o.transition) {
        point();
    }
    Transit& operator=(const Transit& o) {
        Effect::operator=(o);
        from = o.from;
        to = o.to;
        tag = o.tag;
        transition = o.transition;
        point();
        return *this;
    }

    void draw(int time) override;

private:
    void point() {
        if (transition) transition->transit = this;
    }
};
