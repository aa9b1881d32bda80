#pragma once

// Auto's choice from the draw times of the frames it chose for: designed tiles while the
// recent frames fit the budget; coarse when they did not; designed again only after
// holding coarse for a while, and only once the designed draw is estimated well inside
// the budget. The estimate is the coarse draw time scaled by how much slower the
// designed frames were than the coarse ones when it last went coarse.
class AutoDetail {
public:
    static constexpr int recent = 5;           // frames judged together, by their median
    static constexpr double hold = 5000;       // ms spent coarse before trying designed again
    static constexpr double roomToSpare = 0.7; // designed again below this share of the budget

    explicit AutoDetail(double budgetMs) : budget(budgetMs) {}

    bool coarse() const { return isCoarse; }
    // A frame drawn as coarse() said took `drawMs`; `nowMs` is the clock, from any origin.
    void frameDrawn(double drawMs, double nowMs);

private:
    double budget;
    bool isCoarse = false;
    double times[recent] = {};
    int count = 0;          // frames in `times` since the last switch, up to `recent`
    int next = 0;           // where the next time goes
    double designedMs = 0;  // the designed frames' median when it went coarse
    double slower = 0;      // designed over coarse, learnt after the switch; 0 until then
    double coarseSince = 0; // the clock when it went coarse

    void restart();
};

// The budget of the live demo's frames: 60 a second.
constexpr double frameBudgetMs = 1000.0 / 60;
