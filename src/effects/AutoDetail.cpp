#include "effects/AutoDetail.h"
#include <algorithm>

void AutoDetail::restart() { count = next = 0; }

void AutoDetail::frameDrawn(double drawMs, double nowMs) {
    times[next] = drawMs;
    next = (next + 1) % recent;
    if (count < recent) ++count;
    if (count < recent) return;
    double sorted[recent];
    std::copy(times, times + recent, sorted);
    std::nth_element(sorted, sorted + recent / 2, sorted + recent);
    const double median = sorted[recent / 2];
    if (!isCoarse) {
        if (median <= budget) return;
        isCoarse = true;
        designedMs = median;
        slower = 0;
        coarseSince = nowMs;
        restart();
        return;
    }
    if (slower == 0) slower = std::max(1.0, designedMs / std::max(median, 1e-3));
    if (nowMs - coarseSince >= hold && median * slower < roomToSpare * budget) {
        isCoarse = false;
        restart();
    }
}
