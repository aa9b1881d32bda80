#include "Span.h"

std::vector<int> spanTimes(int fps, int from, int to) {
    std::vector<int> times;
    for (long long i = 0;; ++i) {
        const long long t = from + i * 1000 / fps;
        if (t >= to) break;
        times.push_back(static_cast<int>(t));
    }
    return times;
}
