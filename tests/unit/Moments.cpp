// The show's moments as the build lists them for the music, against the show's landmarks.
#include "Show.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {
int visible(const std::vector<FlashSpan>& flashes) {
    return static_cast<int>(std::count_if(flashes.begin(), flashes.end(),
                                           [](const FlashSpan& f) { return f.visible(); }));
}
} // namespace

TEST(Moments, CutsCardsAndRhythmsLandWhereTheShowHasThem) {
    Show show;
    std::string error;
    ASSERT_TRUE(readShow("tools/assetgen/show.txt", show, error)) << error;
    EXPECT_EQ(show.length, 175625);
    const int cuts[] = {10000, 20000,  34000,  50000,  85000,  90000,
                        95000, 100000, 105000, 110000, 120625, 163625};
    ASSERT_EQ(show.cuts.size(), std::size(cuts));
    for (size_t i = 0; i < std::size(cuts); ++i)
        EXPECT_NEAR(show.cuts[i], cuts[i], 5) << i;
    // Each card's start and each wipe to the next: 24 then 10 cards, no wipe between.
    ASSERT_EQ(show.cards.size(), 34u);
    EXPECT_NEAR(show.cards.front(), 21500, 5);
    EXPECT_NEAR(show.cards[24], 120625, 5);
    EXPECT_NEAR(show.cards.back(), 155500, 5);
    // Modes 0 to 2 show, 3 draws nothing; the white flash from 84500 shows from 85180 on.
    EXPECT_EQ(visible(show.flashes), 57);
    // {first flash starts, last flash ends, visible flashes, step} of the three rhythms,
    // each a bar of 21 steps.
    const double rhythms[][4] = {
        {10200, 18750, 10, 150}, {50500, 85180, 30, 170}, {85500, 106843, 12, 6057 / 21.0}};
    const std::vector<Rhythm> found = rhythmsOf(show.flashes);
    ASSERT_EQ(found.size(), std::size(rhythms));
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_NEAR(found[i].first, rhythms[i][0], 5) << i;
        EXPECT_NEAR(found[i].last, rhythms[i][1], 5) << i;
        EXPECT_EQ(visible(found[i].flashes), rhythms[i][2]) << i;
        EXPECT_EQ(found[i].steps, 21) << i;
        EXPECT_NEAR(found[i].step(), rhythms[i][3], 0.5) << i;
    }
}
