#pragma once
#include "Timing.h"
#include <vector>

class Script;

// Every frame of the show at 2 fps and of every tile section (those `tiles` marks) at
// 30 fps, each drawn as the show draws it and with the designed meshes; prints how far
// apart they are.
void measureFidelity(Script& script, std::vector<Section>& sections,
                     const std::vector<bool>& tiles);
