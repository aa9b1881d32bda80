#pragma once
#include "effects/FlashKind.h"
#include "engine/Effect.h"

// A full-screen blended grey quad over what the lower tracks drew: white flashes,
// colour-inverting variants and fades from and to black, chosen by "mode".
class Flash : public Effect {
public:
    int mode; // what it draws: flashKind(mode)

    Flash(int ms, int startMode) : Effect(ms), mode(startMode) {}

    // Leaves the blend function and the current colour as the flash set them.
    void draw(int time) override;
    void configure(const AttribSet* attribs) override;
};
