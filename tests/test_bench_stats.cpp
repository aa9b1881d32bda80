// The order statistics the benchmark reports.
#include "Stats.h"
#include <gtest/gtest.h>

TEST(BenchStats, PercentilesAreNearestRankOverTheSortedTimes) {
    const std::vector<double> ten = {7, 3, 10, 1, 9, 2, 8, 4, 6, 5}; // 1..10, shuffled
    EXPECT_EQ(median(ten), 5);
    EXPECT_EQ(percentile(ten, 95), 10);
    EXPECT_EQ(percentile(ten, 90), 9);
    EXPECT_EQ(percentile(ten, 91), 10);
    EXPECT_EQ(percentile(ten, 100), 10); // the worst
    EXPECT_EQ(percentile(ten, 0), 1);    // the rank never falls below the first
    EXPECT_EQ(percentile(ten, 10), 1);
    EXPECT_EQ(percentile(ten, 11), 2);
}

// p * n that is whole must not round up to the next rank through floating-point error.
TEST(BenchStats, WholeRanksStayWhole) {
    std::vector<double> twenty, hundred;
    for (int i = 1; i <= 20; ++i)
        twenty.push_back(i);
    for (int i = 1; i <= 100; ++i)
        hundred.push_back(i);
    EXPECT_EQ(percentile(twenty, 95), 19);
    EXPECT_EQ(percentile(twenty, 55), 11);
    for (int p = 1; p <= 100; ++p)
        EXPECT_EQ(percentile(hundred, p), p) << p;
    std::vector<double> sixty;
    for (int i = 1; i <= 60; ++i)
        sixty.push_back(i);
    EXPECT_EQ(percentile(sixty, 95), 57);
}

TEST(BenchStats, SmallAndEmptySets) {
    EXPECT_EQ(median({}), 0);
    EXPECT_EQ(percentile({}, 95), 0);
    EXPECT_EQ(median({4.5}), 4.5);
    EXPECT_EQ(percentile({4.5}, 95), 4.5);
    EXPECT_EQ(median({2, 1}), 1); // the lower middle: a measured time, not an average
    EXPECT_EQ(percentile({2, 1}, 95), 2);
    EXPECT_EQ(median({3, 3, 1}), 3);
}
