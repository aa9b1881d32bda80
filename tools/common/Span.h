#pragma once
#include <vector>

// The show times of a span at `fps` frames a second: from + floor(i * 1000 / fps) while
// below `to`. The capture tool renders these, and the bench compares them.
std::vector<int> spanTimes(int fps, int from, int to);
