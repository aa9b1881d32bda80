#pragma once
#include "engine/Attrib.h"

// The show's parameter sets: program-wide, filled once by the script.
extern AttribSet textCards[50];   // "text": the card texts, 0 to 33 used
extern AttribSet flashModes[6];   // "mode" = index
extern AttribSet blurSettings[2]; // [0] glow; [1] zoom at level 5
extern AttribSet cubeMethods[7];  // "method" = index

// Cards 0 to 23, the blur settings, the flash modes and the cube methods.
void fillOpeningSets();
// Cards 24 to 33, filled just before the closing section is laid out.
void fillClosingCards();
