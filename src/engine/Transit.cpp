#include "engine/Transit.h"

void Transit::draw(int time) {
    if (!transition) return;
    transition->duration = duration;
    transition->start = start;
    transition->draw(time);
}
