#pragma once
#include "engine/Transit.h"

// Wipe: the outgoing entry shrinks toward the lower-left corner while the incoming
// one slides in, full size, from the upper right.
class Tr1 : public Transition {
public:
    explicit Tr1(int ms) : Transition(ms) {}

    // Leaves the viewport on the full window.
    void draw(int time) override;
};
