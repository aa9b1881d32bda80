// The cube scene's coarse tiles on real frames of the show: every frame drawn with them
// stays within the fidelity bound of the same frame drawn with the designed meshes, and
// the designed render (velmora-capture/velmora-bench --exact) is the designed meshes.
#include "BareTiles.h"
#include "Fidelity.h"
#include "app/Headless.h"
#include "app/Offscreen.h"
#include "app/Settings.h"
#include "effects/CubeVom.h"
#include "engine/Demo.h"
#include "script/Script.h"
#include "support/GlTest.h"
#include <cstdlib>

namespace {

class Fidelity : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(openTestContext(true, error)) << error;
        demo.sound = false;
        script = new Script();
        script->frameAt(0);
    }
    static void TearDownTestSuite() { closeHeadless(); }
    void TearDown() override { CubeVom::exact = false; }

    // The whole frame at `time`, the text's shake drawn from the same seed every time.
    static std::vector<uint8_t> frame(int time, bool exact) {
        CubeVom::exact = exact;
        std::srand(1);
        script->frameAt(time);
        return readRgbTopDown(settings().width, settings().height);
    }
    static Fx& entryAt(int time) {
        for (Fx& fx : demo.track(0).entries)
            if (time >= fx.start && time < fx.start + fx.duration) return fx;
        return demo.track(0).entries.front();
    }
    static Script* script;
};
Script* Fidelity::script = nullptr;

} // namespace

// Rings, both morphs and the grid, near and far: coarse tiles are drawn (the frames
// differ) and no frame falls below 35 dB against the designed one.
TEST_F(Fidelity, CoarseTilesKeepEveryFrameWithinTheBound) {
    for (int time : {3000, 9133, 11466, 26866, 97433, 101566, 170025}) {
        const Difference d = compareFrames(frame(time, true), frame(time, false), settings().width,
                                           settings().height);
        EXPECT_GT(d.pixels, 0) << time;
        EXPECT_GE(d.psnr, 35.0) << time;
    }
}

// With exact set, the scene draws what the designed tile list draws at the placements
// the scene makes, pixel for pixel; without, it does not.
TEST_F(Fidelity, ExactDrawsTheDesignedTiles) {
    const int time = 7000;
    Fx& rings = entryAt(time);
    const std::vector<ListCall> placed = recordListCalls(rings, time);
    ASSERT_EQ(placed.size(), 403u);
    const auto picture = [&](auto draw) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        return readRgbTopDown(settings().width, settings().height);
    };
    const auto designed = picture([&] { drawBareTiles(*cubeEffect, placed); });
    CubeVom::exact = true;
    const auto exact = picture([&] { rings.draw(time); });
    CubeVom::exact = false;
    const auto coarse = picture([&] { rings.draw(time); });
    const int w = settings().width, h = settings().height;
    EXPECT_EQ(compareFrames(designed, exact, w, h).pixels, 0);
    EXPECT_GT(compareFrames(designed, coarse, w, h).pixels, 0);
}
