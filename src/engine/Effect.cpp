#include "engine/Effect.h"

void Effect::configure(const AttribSet*) {}
