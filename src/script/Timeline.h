#pragma once

class Demo;

// Lays the whole show out on tracks 0 to 4 of `show` with the script's effect
// instances, which must exist. Fills the closing cards on the way.
void layOutTimeline(Demo& show);

// The length of the show: the first moment at which no track has an entry.
constexpr int showLength = 175625;
