#pragma once
// Small building blocks of the soundtrack's synthesiser. Everything is
// deterministic: noise comes from a seeded generator, never from the clock.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dsp {

constexpr int rate = 44100;
constexpr double pi = 3.14159265358979323846;

inline double hz(double midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12); }
inline size_t sampleAt(double seconds) { return static_cast<size_t>(std::lround(seconds * rate)); }

// Two channels of float samples, full scale at +-1.
struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(size_t frames) : l(frames, 0.0f), r(frames, 0.0f) {}
    size_t size() const { return l.size(); }
    // Adds a mono sample at position `i` panned by `pan` (-1 left to 1 right).
    void add(size_t i, float v, float pan) {
        if (i >= l.size()) return;
        l[i] += v * std::sqrt(0.5f * (1 - pan));
        r[i] += v * std::sqrt(0.5f * (1 + pan));
    }
    void addPair(size_t i, float vl, float vr) {
        if (i >= l.size()) return;
        l[i] += vl;
        r[i] += vr;
    }
};

// xorshift32: white noise in [-1, 1).
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state / 2147483648.0 - 1.0);
    }
};

// Band-limited step correction, so that saws and pulses do not alias.
inline float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

struct Saw {
    float phase = 0;
    float next(float inc) {
        float v = 2 * phase - 1 - polyBlep(phase, inc);
        phase += inc;
        if (phase >= 1) phase -= 1;
        return v;
    }
};

struct Pulse {
    float phase = 0;
    float next(float inc, float width) {
        float v = phase < width ? 1.0f : -1.0f;
        v += polyBlep(phase, inc);
        float down = phase - width + (phase < width ? 1 : 0);
        v -= polyBlep(down, inc);
        v -= 2 * width - 1; // no DC whatever the width
        phase += inc;
        if (phase >= 1) phase -= 1;
        return v;
    }
};

// Trapezoidal state-variable filter: low, band and high pass from one state.
struct Svf {
    float a1 = 0, a2 = 0, a3 = 0, k = 1;
    float ic1 = 0, ic2 = 0;
    float lp = 0, bp = 0, hp = 0;

    void set(double cutoff, double q) {
        cutoff = std::clamp(cutoff, 20.0, rate * 0.45);
        const double g = std::tan(pi * cutoff / rate);
        k = static_cast<float>(1 / q);
        a1 = static_cast<float>(1 / (1 + g * (g + k)));
        a2 = static_cast<float>(g * a1);
        a3 = static_cast<float>(g * a2);
    }
    void tick(float x) {
        const float v3 = x - ic2;
        const float v1 = a1 * ic1 + a2 * v3;
        const float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        lp = v2;
        bp = v1;
        hp = x - k * v1 - v2;
    }
};

// exp(-t / seconds), stepped sample by sample from 1.
struct Decay {
    double value = 1, step;
    explicit Decay(double seconds) : step(std::exp(-1 / (seconds * rate))) {}
    float next() {
        const double v = value;
        value *= step;
        return static_cast<float>(v);
    }
};

// Attack, decay to a sustain level, release after the note's end; times in seconds.
struct Adsr {
    double attack, decay, sustain, release;
    // How long after the note's end the release has fallen by 50 dB, below
    // anything audible in the mix.
    double tail() const { return release * 5.75; }
};

// Steps an Adsr through a note of `length` seconds, one sample at a time.
class Envelope {
public:
    Envelope(const Adsr& adsr, double length)
        : a(adsr), held(sampleAt(length)), attack(sampleAt(adsr.attack)),
          decayStep(std::exp(-1 / (adsr.decay * rate))),
          releaseStep(std::exp(-1 / (adsr.release * rate))) {}

    float next() {
        if (n < held) {
            if (n < attack) {
                level = static_cast<double>(n) / attack;
            } else {
                level = a.sustain + (1 - a.sustain) * decaying;
                decaying *= decayStep;
            }
        } else {
            level *= releaseStep;
        }
        ++n;
        return static_cast<float>(level);
    }

private:
    Adsr a;
    size_t held, attack, n = 0;
    double decayStep, releaseStep;
    double level = 0, decaying = 1;
};

} // namespace dsp
