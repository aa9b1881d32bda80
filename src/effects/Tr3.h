#pragma once
#include "engine/Transit.h"

// Wipe: the outgoing entry shrinks toward the upper-right corner while the incoming
// one grows out of that corner over it.
class Tr3 : public Transition {
public:
    explicit Tr3(int ms) : Transition(ms) {}

    // Leaves the viewport on the full window.
    void draw(int time) override;
};
