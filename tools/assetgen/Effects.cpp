#include "Effects.h"
#include <initializer_list>

using namespace dsp;

void pingPong(Stereo& bus, double seconds, float feedback) {
    const size_t delay = sampleAt(seconds);
    std::vector<float> l(delay, 0.0f), r(delay, 0.0f);
    float dampL = 0, dampR = 0;
    for (size_t i = 0, p = 0; i < bus.size(); ++i, p = p + 1 == delay ? 0 : p + 1) {
        const float inL = bus.l[i], inR = bus.r[i];
        const float outL = l[p], outR = r[p];
        // Each echo is a little darker than the one before.
        dampL += 0.35f * (outL - dampL);
        dampR += 0.35f * (outR - dampR);
        l[p] = 0.5f * (inL + inR) + feedback * dampR; // into the left, back from the right
        r[p] = feedback * dampL;
        bus.l[i] = outL;
        bus.r[i] = outR;
    }
}

namespace {

// Comb and all-pass lengths of a classic room, in samples at 44.1 kHz.
const int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int allPassLengths[4] = {556, 441, 341, 225};
constexpr int spread = 23; // the right channel's lines are a little longer

struct Comb {
    std::vector<float> line;
    size_t p = 0;
    float store = 0;
    explicit Comb(int length) : line(length, 0.0f) {}
    float tick(float in) {
        const float out = line[p];
        store = out * 0.8f + store * 0.2f; // damping
        line[p] = in + store * 0.84f;      // room size
        if (++p == line.size()) p = 0;
        return out;
    }
};

struct AllPass {
    std::vector<float> line;
    size_t p = 0;
    explicit AllPass(int length) : line(length, 0.0f) {}
    float tick(float in) {
        const float buffered = line[p];
        line[p] = in + buffered * 0.5f;
        if (++p == line.size()) p = 0;
        return buffered - in;
    }
};

struct Room {
    std::vector<Comb> combs;
    std::vector<AllPass> allPasses;
    explicit Room(int extra) {
        for (int n : combLengths)
            combs.emplace_back(n + extra);
        for (int n : allPassLengths)
            allPasses.emplace_back(n + extra);
    }
    float tick(float in) {
        float out = 0;
        for (Comb& c : combs)
            out += c.tick(in);
        for (AllPass& a : allPasses)
            out = a.tick(out);
        return out;
    }
};

} // namespace

void reverberate(Stereo& bus) {
    Room left(0), right(spread);
    for (size_t i = 0; i < bus.size(); ++i) {
        const float in = 0.015f * (bus.l[i] + bus.r[i]);
        const float wl = left.tick(in), wr = right.tick(in);
        bus.l[i] = wl + 0.1f * wr; // a wide image
        bus.r[i] = wr + 0.1f * wl;
    }
}

std::vector<float> ducking(const std::vector<Note>& kicks, size_t frames, float depth) {
    std::vector<float> gain(frames, 1.0f);
    for (const Note& k : kicks) {
        const size_t first = sampleAt(k.start);
        for (size_t i = 0; i < sampleAt(0.4) && first + i < frames; ++i) {
            const double t = static_cast<double>(i) / rate;
            // 5 ms down, then about 150 ms back up.
            const double dip = std::min(1.0, t / 0.005) * std::exp(-t / 0.15);
            gain[first + i] =
                std::min(gain[first + i], static_cast<float>(1 - depth * k.velocity * dip));
        }
    }
    return gain;
}

void applyGain(Stereo& bus, const std::vector<float>& gain) {
    for (size_t i = 0; i < bus.size() && i < gain.size(); ++i) {
        bus.l[i] *= gain[i];
        bus.r[i] *= gain[i];
    }
}

void removeOffset(Stereo& bus) {
    const float r = 1 - static_cast<float>(2 * pi * 3 / rate);
    float xl = 0, yl = 0, xr = 0, yr = 0;
    for (size_t i = 0; i < bus.size(); ++i) {
        yl = bus.l[i] - xl + r * yl;
        xl = bus.l[i];
        bus.l[i] = yl;
        yr = bus.r[i] - xr + r * yr;
        xr = bus.r[i];
        bus.r[i] = yr;
    }
}

void lowPass(Stereo& bus, double cutoff) {
    // Two Butterworth-tuned sections per channel.
    Svf l1, l2, r1, r2;
    for (Svf* f : {&l1, &r1})
        f->set(cutoff, 0.5412);
    for (Svf* f : {&l2, &r2})
        f->set(cutoff, 1.3066);
    for (size_t i = 0; i < bus.size(); ++i) {
        l1.tick(bus.l[i]);
        l2.tick(l1.lp);
        bus.l[i] = l2.lp;
        r1.tick(bus.r[i]);
        r2.tick(r1.lp);
        bus.r[i] = r2.lp;
    }
}

void limit(Stereo& bus, float ceiling) {
    const size_t n = bus.size();
    std::vector<float> g(n);
    for (size_t i = 0; i < n; ++i) {
        const float peak = std::max(std::fabs(bus.l[i]), std::fabs(bus.r[i]));
        g[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    // Backwards, so the gain is already down when a peak arrives (about 5 ms ahead) ...
    const float attack = static_cast<float>(1 - std::exp(-1 / (0.005 * rate)));
    for (size_t i = n - 1; i-- > 0;)
        g[i] = std::min(g[i], g[i + 1] + (1 - g[i + 1]) * attack);
    // ... and forwards, so it comes back up slowly (about 120 ms) after it.
    const float release = static_cast<float>(1 - std::exp(-1 / (0.12 * rate)));
    for (size_t i = 1; i < n; ++i)
        g[i] = std::min(g[i], g[i - 1] + (1 - g[i - 1]) * release);
    applyGain(bus, g);
}
