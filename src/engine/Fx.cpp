#include "engine/Fx.h"

void Fx::draw(int time) {
    if (!effect) return; // an empty slot draws nothing
    effect->start = start;
    effect->duration = duration;
    if (attribs) effect->configure(attribs);
    effect->draw(time);
}
