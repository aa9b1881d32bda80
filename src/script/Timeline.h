#pragma once

class Demo;

// Lays the whole show out on tracks 0 to 4 of `show` with the script's effect
// instances, and fills the closing cards on the way. The opening sets must be filled.
// The effects need not exist yet: entries laid out before they are made hold no
// effect and draw nothing, but every time and parameter set is in place, so a tool
// can read the show's times without a GL context.
void layOutTimeline(Demo& show);

// The length of the show: the first moment at which no track has an entry.
constexpr int showLength = 175625;
