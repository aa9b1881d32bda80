#pragma once
// The show's moments in the score: the hits that mark its flashes, cuts and cards.
#include "Arranger.h"

// A hit on every visible flash, where it starts, or on the cut that a flash is centred
// on; longer flashes swell to their brightest moment. An impact on every cut, a chime
// on every card change, pitched to the chord of the moment.
// Also clears the grid's notes out of the way just before each hit.
void hitMoments(const Show& show, Writer& w, Score& s);
