#include "engine/Fx.h"

void Fx::prepare() const {
    effect->start = start;
    effect->duration = duration;
    if (attribs) effect->configure(attribs);
}

void Fx::draw(int time) {
    if (!effect) return; // an empty slot draws nothing
    prepare();
    effect->draw(time);
}
