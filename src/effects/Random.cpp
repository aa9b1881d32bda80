#include "effects/Random.h"
#include <cstdint>

namespace {

// 31 words of state, a draw adding the word 31 back to the word 3 back. The words wrap
// as unsigned 32-bit sums; a draw is the sum without its lowest bit.
constexpr int degree = 31;
constexpr int separation = 3;

struct Sequence {
    uint32_t word[degree];
    int front = separation; // the word the next draw adds to
    int rear = 0;           // the word it adds

    explicit Sequence(unsigned seed) { restart(seed); }

    void restart(unsigned seed) {
        // The words from Park and Miller's minimal standard, 16807^i mod 2^31 - 1, in
        // Schrage's signed steps as glibc takes them (a seed above 2^31 is negative there).
        int32_t w = seed == 0 ? 1 : static_cast<int32_t>(seed);
        word[0] = static_cast<uint32_t>(w);
        for (int i = 1; i < degree; ++i) {
            const int32_t hi = w / 127773, lo = w % 127773;
            w = 16807 * lo - 2836 * hi;
            if (w < 0) w += 2147483647;
            word[i] = static_cast<uint32_t>(w);
        }
        front = separation;
        rear = 0;
        for (int i = 0; i < degree * 10; ++i)
            next(); // glibc lets the first 310 go
    }

    int next() {
        const uint32_t sum = word[front] += word[rear];
        front = (front + 1) % degree;
        rear = (rear + 1) % degree;
        return static_cast<int>(sum >> 1);
    }
};

Sequence& sequence() {
    static Sequence s(1);
    return s;
}

} // namespace

int drawRandom() { return sequence().next(); }

void restartRandom(unsigned seed) { sequence().restart(seed); }
