#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Order statistics of frame times in ms. Nearest rank: the smallest value with at least
// p percent of the values at or below it, so every figure is a time that was measured.
inline double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    // The small allowance keeps p * n that is whole in exact arithmetic from rounding up.
    const double exact = p / 100.0 * static_cast<double>(v.size());
    const long rank = static_cast<long>(std::ceil(exact - 1e-9));
    const std::size_t index =
        static_cast<std::size_t>(std::clamp(rank, 1L, static_cast<long>(v.size())));
    return v[index - 1];
}
inline double median(const std::vector<double>& v) { return percentile(v, 50); }
