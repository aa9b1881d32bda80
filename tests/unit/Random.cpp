#include "effects/Random.h"
#include <cstdlib>
#include <gtest/gtest.h>

// Against glibc's TYPE_3 rand() as its recurrence r(i) = r(i-31) + r(i-3), draw k r(344+k) >> 1.
TEST(Random, DrawsGlibcsSequenceFromEverySeed) {
    for (uint32_t seed : {0u, 1u, 77u, 175001u, 2147483646u}) {
        std::vector<uint32_t> r(344 + 700, seed ? seed : 1);
        for (size_t i = 1; i < r.size(); ++i)
            r[i] = i < 31 ? uint32_t(uint64_t(r[i - 1]) * 16807 % 2147483647)
                          : r[i - 31] + (i < 34 ? 0 : r[i - 3]);
        drawRandom(), restartRandom(seed), std::srand(seed);
        for (int k = 0; k < 700; ++k) { // the first draw cut to 0..32767
            const int drawn = k == 0 ? rand15() : drawRandom(), cut = k == 0 ? 0x7FFF : -1;
            ASSERT_EQ(drawn, int(r[344 + k] >> 1) & cut) << seed << " " << k;
#ifdef __GLIBC__ // and against glibc's own rand()
            ASSERT_EQ(drawn, std::rand() & cut) << seed << " " << k;
#endif
        }
    }
}
