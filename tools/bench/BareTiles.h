#pragma once
#include "effects/CubeVom.h"
#include <vector>

class Fx;

// The tiles that `entry` places at `time`, every one as designed, when it is an entry of
// the cube scene (CubeVom::placements); none otherwise.
std::vector<CubeVom::Tile> placedTiles(const Fx& entry, int time);
