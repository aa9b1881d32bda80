// The detail policy: which mesh draws a tile, and what auto chooses from draw times.
#include "effects/AutoDetail.h"
#include "effects/MeshChoice.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {
const TileView view = TileView::ofScreen(800, 600);
const float reach = std::sqrt(2 * 0.375f * 0.375f + 0.075f * 0.075f); // centre to corner
// How far ahead a tile's rounding (0.06) spans `px` pixels on 600 lines.
float depthFor(float px) { return 0.06f * view.focal / px; }
// How far from the axis, at depth 10, a tile touches the side of the view it is beyond.
float edge(float tan) { return tan * 10 + reach * std::sqrt(1 + tan * tan); }
} // namespace

// Each threshold belongs to the finer mesh; a tile's rounding on screen scales with the
// screen's height, so a taller screen draws the same tile finer.
TEST(Detail, MeshesChangeAtTheirThresholdsInRealPixels) {
    const float from[] = {designedFrom, coarseFrom[0], coarseFrom[1], coarseFrom[2]};
    for (int k = 0; k < 4; ++k) {
        const int finer = k ? k - 1 : designedMesh;
        EXPECT_EQ(meshForRounding(from[k]), finer) << k;
        EXPECT_EQ(meshForRounding(std::nextafter(from[k], 0.0f)), k) << k;
        const float nearer[3] = {0, 0, -depthFor(from[k]) * 0.999f};
        const float farther[3] = {0, 0, -depthFor(from[k]) * 1.001f};
        EXPECT_EQ(meshForTile(view, nearer, true), finer) << k;
        EXPECT_EQ(meshForTile(view, farther, true), k) << k;
    }
    EXPECT_NEAR(view.focal, 300 / std::tan(M_PI / 8), 1e-3);
    // Where the rounding spans 4.5 px on 600 lines it spans 9 on 1200.
    const float at[3] = {0, 0, -depthFor(4.5f)};
    EXPECT_EQ(meshForTile(view, at, true), 0);
    EXPECT_EQ(meshForTile(TileView::ofScreen(800, 1200), at, true), designedMesh);
    EXPECT_EQ(meshForTile(view, at, false), designedMesh);
}

// A tile is left out only when no part of it can be in sight: one straddling a side of
// the view is drawn as its size says, and one whose centre lies on or behind the near
// plane, its size on screen unbounded, with the designed mesh.
TEST(Detail, TilesAtTheEdgesOfTheView) {
    const int hidden = hiddenTile, designed = designedMesh;
    const int at10 = meshForRounding(0.06f * view.focal / 10);
    const float x = edge(view.tanAcross), y = edge(view.tanUp), in = 0.01f;
    const struct {
        float centre[3];
        int mesh;
    } rows[] = {{{x - in, 0, -10}, at10},
                {{x + in, 0, -10}, hidden}, // right
                {{in - x, 0, -10}, at10},
                {{-x - in, 0, -10}, hidden}, // left
                {{0, y - in, -10}, at10},
                {{0, y + in, -10}, hidden}, // top
                {{0, in - y, -10}, at10},
                {{0, -y - in, -10}, hidden}, // bottom
                {{0, 0, -1}, designed},
                {{0, 0, -0.5f}, designed}, // on, behind the near plane
                {{0, 0, reach - 1 - in}, designed},
                {{0, 0, reach - 1 + in}, hidden},
                {{0, 0, 5}, hidden}}; // behind the viewer
    for (const auto& r : rows) {
        EXPECT_EQ(meshForTile(view, r.centre, true), r.mesh)
            << r.centre[0] << " " << r.centre[1] << " " << r.centre[2];
        EXPECT_EQ(meshForTile(view, r.centre, false), r.mesh == hidden ? hidden : designed);
    }
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
