// The detail policy: which mesh draws a tile, and what auto chooses from draw times.
#include "effects/CubeVom.h"
#include "effects/Detail.h"
#include <cmath>
#include <gtest/gtest.h>

// Each threshold belongs to the finer mesh; a tile's rounding on screen scales with the
// screen's height, so a taller screen draws the same tile finer.
TEST(Detail, MeshesChangeAtTheirThresholdsInRealPixels) {
    const float from[] = {designedFrom, coarseFrom[0], coarseFrom[1], coarseFrom[2]};
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(meshForRounding(from[k]) == (k ? k - 1 : designedMesh) &&
                    meshForRounding(std::nextafter(from[k], 0.0f)) == k)
            << k;
    const TileView small = TileView::ofScreen(800, 600), tall = TileView::ofScreen(800, 1200);
    EXPECT_NEAR(small.focal, 300 / std::tan(M_PI / 8), 1e-3);
    // Where the rounding spans 4.5 px on 600 lines it spans 9 on 1200.
    const float at[3] = {0, 0, -CubeVom::tileRounding * small.focal / 4.5f};
    EXPECT_EQ(meshForTile(small, at, true), 0);
    EXPECT_EQ(meshForTile(tall, at, true), designedMesh);
    EXPECT_EQ(meshForTile(small, at, false), designedMesh);
}

// A tile is left out only when no part of it can be in sight: one straddling a side of
// the view or the near plane is drawn, and across the near plane as designed.
TEST(Detail, TilesPartlyInSightAreDrawn) {
    const TileView v = TileView::ofScreen(800, 600);
    const float reach = std::sqrt(2 * 0.375f * 0.375f + 0.075f * 0.075f), d = 10;
    const float side = v.tanAcross * d + reach * std::sqrt(1 + v.tanAcross * v.tanAcross);
    const float top = v.tanUp * d + reach * std::sqrt(1 + v.tanUp * v.tanUp);
    const float hidden = hiddenTile, designed = designedMesh; // rows: the centre, the mesh
    const float at10 = meshForRounding(CubeVom::tileRounding * v.focal / d);
    const float rows[][4] = {
        {side - 0.01f, 0, -d, at10},     {side + 0.01f, 0, -d, hidden}, {0.01f - side, 0, -d, at10},
        {0, top - 0.01f, -d, at10},      {0, -top - 0.01f, -d, hidden}, {0, 0, -0.9f, designed},
        {0, 0, reach - 1.01f, designed}, {0, 0, reach - 0.99f, hidden}, {0, 0, 5, hidden}};
    for (const auto& r : rows)
        EXPECT_EQ(meshForTile(v, r, true), r[3]) << r[0] << " " << r[1] << " " << r[2];
}

// Auto keeps the designed tiles while the median of the last five draws fits 1/60 s,
// goes coarse when it does not, and comes back only after five seconds coarse and once
// the coarse draws, scaled by what going coarse saved, fall under 70 % of the budget.
TEST(Detail, AutoChoosesFromTheDrawTimes) {
    AutoDetail a(frameBudgetMs);
    double now = 0;
    const auto feed = [&](std::initializer_list<double> times, double step = 10) {
        for (double t : times)
            a.frameDrawn(t, now += step);
        return a.coarse();
    };
    EXPECT_FALSE(feed({10, 10, 30, 30, 16.6})); // a median of 16.6 fits
    EXPECT_TRUE(feed({30}));                    // three of five over: coarse
    EXPECT_TRUE(feed({10, 10, 10, 10, 10}));    // coarse at 10: designed took 3 times as long
    EXPECT_TRUE(feed({3, 3, 3, 3, 3}));         // 9 estimated, but not 5 s coarse yet
    EXPECT_TRUE(feed({5, 5, 5, 5, 5}, 1000));   // 5 s on, but 15 estimated: over 70 %
    EXPECT_TRUE(feed({3, 3}));                  // the median still 5
    EXPECT_FALSE(feed({3}));                    // 9 estimated: designed again
    EXPECT_FALSE(feed({40, 40, 40, 40}));       // a new window of four says nothing yet
    EXPECT_TRUE(feed({40}));
}
