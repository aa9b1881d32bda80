#include "Show.h"
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t perCycle = 4;

// Whether flashes i to i + 3 follow each other end to end.
bool burst(const std::vector<FlashSpan>& f, size_t i) {
    if (i + perCycle > f.size()) return false;
    for (size_t k = i + 1; k < i + perCycle; ++k)
        if (f[k].start != f[k - 1].end) return false;
    return true;
}

// Whether the bursts at i and j have the same lengths.
bool alike(const std::vector<FlashSpan>& f, size_t i, size_t j) {
    for (size_t k = 0; k < perCycle; ++k)
        if (f[i + k].end - f[i + k].start != f[j + k].end - f[j + k].start) return false;
    return true;
}

} // namespace

std::vector<Rhythm> rhythmsOf(const std::vector<FlashSpan>& all) {
    std::vector<FlashSpan> f; // whole entries: a flash drawn in stretches counts once
    for (const FlashSpan& x : all)
        if (!x.fadeIn() && !x.fadeOut() && (f.empty() || f.back().start != x.start)) f.push_back(x);
    std::vector<Rhythm> found;
    for (size_t i = 0; i < f.size();) {
        size_t n = 1; // cycles so far, each starting one cycle after the one before
        const int cycle = burst(f, i) && burst(f, i + perCycle) && alike(f, i, i + perCycle)
                              ? f[i + perCycle].start - f[i].start
                              : 0;
        while (cycle > 0 && burst(f, i + n * perCycle) && alike(f, i, i + n * perCycle) &&
               f[i + n * perCycle].start - f[i + (n - 1) * perCycle].start == cycle)
            ++n;
        if (n < 2) {
            ++i;
            continue;
        }
        Rhythm r;
        r.first = f[i].start;
        r.cycle = cycle;
        r.cycles = static_cast<int>(n);
        r.flashes.assign(f.begin() + i, f.begin() + i + n * perCycle);
        r.last = r.flashes.back().end;
        int shortest = cycle;
        for (size_t k = 0; k < perCycle; ++k)
            shortest = std::min(shortest, f[i + k].end - f[i + k].start);
        r.steps = static_cast<int>(std::lround(static_cast<double>(cycle) / shortest));
        found.push_back(r);
        i += n * perCycle;
    }
    return found;
}

bool writeShow(const std::string& path, const Show& show) {
    std::ofstream out(path);
    out << "length " << show.length << "\n";
    for (int t : show.cuts)
        out << "cut " << t << "\n";
    for (int t : show.cards)
        out << "card " << t << "\n";
    for (const FlashSpan& f : show.flashes)
        out << "flash " << f.start << " " << f.end << " " << f.from << " " << f.to << " " << f.mode
            << "\n";
    out.close();
    return !out.fail();
}

bool readShow(const std::string& path, Show& show, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    show = Show();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string kind;
        int t = 0;
        FlashSpan f;
        words >> kind;
        bool ok = false;
        if (kind == "length") {
            ok = static_cast<bool>(words >> show.length);
        } else if (kind == "cut" || kind == "card") {
            ok = static_cast<bool>(words >> t);
            (kind == "cut" ? show.cuts : show.cards).push_back(t);
        } else if (kind == "flash") {
            ok = static_cast<bool>(words >> f.start >> f.end >> f.from >> f.to >> f.mode);
            show.flashes.push_back(f);
        }
        if (!ok || !(words >> std::ws).eof()) {
            error = path + ":" + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    std::sort(show.cuts.begin(), show.cuts.end());
    std::sort(show.cards.begin(), show.cards.end());
    std::stable_sort(show.flashes.begin(), show.flashes.end(),
                     [](const FlashSpan& a, const FlashSpan& b) { return a.start < b.start; });
    return true;
}
