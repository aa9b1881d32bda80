// The show as the script lays it out, against the tables it is laid out from, and
// frames of it at moments that prove the tracks' order and the show's end.
#include "BareTiles.h"
#include "Fidelity.h"
#include "Stats.h"
#include "effects/CubeVom.h"
#include "effects/Detail.h"
#include "engine/Demo.h"
#include "glpp/Software.h"
#include "platform/Settings.h"
#include "script/Script.h"
#include "script/Sets.h"
#include "script/Timeline.h"
#include "support/GlTest.h"

namespace {

class Show : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (script) return;
        demo.sound = false;
        script = new Script(); // lives as long as the program, as in the demo
        script->frameAt(0);    // a live run's first frame
    }
    // The frame at `time` in the given detail and renderer choice, the random sequence
    // (the text's shake, the outlined cubes) started alike each time.
    std::vector<uint8_t> shot(int time, Detail detail,
                              software::Renderer choice = software::Renderer::Detected) {
        selectDetail(detail), software::forceRenderer(choice);
        script->momentAt(time);
        selectDetail(Detail::Designed), software::forceRenderer(software::Renderer::Detected);
        return frame();
    }
    static Script* script;
};
Script* Show::script = nullptr;

// A track's entries as "name+index/duration", "@start" before one that does not start
// where the one before it ended: c cube, b blur, f flash, k card, T outlines, F background.
std::string listing(int track) {
    const std::pair<const void*, std::string> names[] = {{cubeEffect, "c"},  {blurEffect, "b"},
                                                         {flashEffect, "f"}, {fontEffect, "k"},
                                                         {teaEffect, "T"},   {fondEffect, "F"}};
    const std::pair<const AttribSet*, int> sets[] = {
        {cubeMethods, 7}, {blurSettings, 2}, {flashModes, 6}, {textCards, 50}};
    std::string out;
    int end = 0;
    for (const Fx& fx : demo.track(track).entries) {
        if (fx.start != end) out += "@" + std::to_string(fx.start) + " ";
        for (const auto& [effect, name] : names)
            if (static_cast<const void*>(fx.effect) == effect) out += name;
        for (const auto& [first, count] : sets)
            if (fx.attribs >= first && fx.attribs < first + count)
                out += std::to_string(fx.attribs - first);
        out += "/" + std::to_string(fx.duration) + " ";
        end = fx.start + fx.duration;
    }
    return out;
}

TEST_F(Show, TracksHoldTheTimelineTables) {
    EXPECT_EQ(listing(0), "c1/10000 c6/10000 c0/14000 c3/16000 T/35000 c6/5000 c0/5000 c5/5000 "
                          "c1/5000 c6/5000 c0/10625 F/43000 c1/12000 ");
    EXPECT_EQ(listing(1),
              "b0/10000 b0/10000 b0/14000 b0/16000 b1/35000 b0/35625 @163625 b0/12000 ");
    EXPECT_EQ(listing(2),
              "@9800 f0/400 f0/450 f0/150 f3/750 f2/900 @13350 f1/450 f1/150 f0/750 f3/900 @16500 "
              "f2/450 f2/150 f1/750 f0/900 @33750 f0/500 @49500 f0/1000 f0/510 f0/170 f3/850 "
              "f2/1020 @54070 f1/510 f1/170 f0/850 f3/1020 @57640 f2/510 f2/170 f1/850 f0/1020 "
              "@61210 f3/510 f3/170 f2/850 f1/1020 @64780 f0/510 f0/170 f3/850 f2/1020 @68350 "
              "f1/510 f1/170 f0/850 f3/1020 @71920 f2/510 f2/170 f1/850 f0/1020 @75490 f3/510 "
              "f3/170 f2/850 f1/1020 @79060 f0/510 f0/170 f3/850 f2/1020 @82630 f1/510 f1/170 "
              "f0/850 f3/1020 @84500 f0/1000 f0/865 f1/288 f2/1442 f2/577 @91557 f1/865 f2/288 "
              "f3/1442 f3/577 @97614 f2/865 f3/288 f0/1442 f0/577 @103671 f3/865 f0/288 f1/1442 "
              "f1/577 @120125 f0/1000 @158625 f5/5000 f4/3500 @172125 f5/3500 ");
    EXPECT_EQ(listing(4), "f4/5000 ");
    // Card 5 is shown for 10000 ms; every card slides into the next over its last 1125 ms,
    // the odd ones through wipe 1, but for card 23 into 24, and card 33.
    EXPECT_EQ(
        listing(3),
        "@21500 k0/5000 @25375 k1/5000 @29250 k2/5000 @33125 k3/5000 @37000 k4/5000 @40875 "
        "k5/10000 @49750 k6/5000 @53625 k7/5000 @57500 k8/5000 @61375 k9/5000 @65250 k10/5000 "
        "@69125 k11/5000 @73000 k12/5000 @76875 k13/5000 @80750 k14/5000 @84625 k15/5000 @88500 "
        "k16/5000 @92375 k17/5000 @96250 k18/5000 @100125 k19/5000 @104000 k20/5000 @107875 "
        "k21/5000 @111750 k22/5000 @115625 k23/5000 k24/5000 @124500 k25/5000 @128375 k26/5000 "
        "@132250 k27/5000 @136125 k28/5000 @140000 k29/5000 @143875 k30/5000 @147750 k31/5000 "
        "@151625 k32/5000 @155500 k33/5000 ");
    std::string wipes;
    for (const Transit& t : demo.track(3).transits)
        wipes += std::to_string(t.start) + (t.duration != 1125 ? "?" : "") +
                 (static_cast<const void*>(t.transition) == tr1Effect ? "/1 " : "/3 ");
    EXPECT_EQ(wipes,
              "25375/3 29250/1 33125/3 37000/1 40875/3 49750/1 53625/3 57500/1 61375/3 65250/1 "
              "69125/3 73000/1 76875/3 80750/1 84625/3 88500/1 92375/3 96250/1 100125/3 104000/1 "
              "107875/3 111750/1 115625/3 124500/3 128375/1 132250/3 136125/1 140000/3 143875/1 "
              "147750/3 151625/1 155500/3 ");
    EXPECT_EQ(demo.track(3).cursor, 160500);
    EXPECT_EQ(demo.tracks.size(), 5u);
}

// The fade-in on track 4 darkens everything below; the first cut's flash peaks white at
// 10000; the show ends on the frame at 175625.
TEST_F(Show, FramesAtTheLandmarks) {
    std::vector<uint8_t> f;
    EXPECT_TRUE(script->frameAt(0) && (f = frame(), *std::max_element(f.begin(), f.end()) == 0));
    EXPECT_TRUE(script->frameAt(10000) &&
                (f = frame(), *std::min_element(f.begin(), f.end()) == 255));
    EXPECT_TRUE(script->frameAt(showLength - 1));
    EXPECT_FALSE(script->frameAt(showLength));
}

// Small tiles are drawn with coarser meshes (the frames differ) but no frame of rings,
// morphs or grid falls below 35 dB against the same frame drawn with the designed meshes,
// and their median is at least 40 dB; in designed detail the scene draws the designed
// tile at every place it puts one.
TEST_F(Show, CoarseTilesStayWithinTheBoundAndExactIsTheDesign) {
    const int w = platform::settings().width, h = platform::settings().height;
    std::vector<double> psnr;
    for (int time : {3000, 9133, 11466, 26866, 97433, 101566, 170025}) {
        const Difference d =
            compareFrames(shot(time, Detail::Designed), shot(time, Detail::Coarse), w, h);
        EXPECT_TRUE(d.pixels > 0 && d.psnr >= 35) << time << ": " << d.psnr << " dB";
        psnr.push_back(d.psnr);
    }
    EXPECT_GE(median(psnr), 40);
    Fx rings = demo.track(0).entries.front();
    const std::vector<CubeVom::Tile> placed = placedTiles(rings, 7000);
    ASSERT_EQ(placed.size(), 403u);
    const auto drawn = [&](const std::function<void()>& draw) {
        fill(0, 0, 0);
        draw();
        return frame();
    };
    const auto designed = drawn([&] { cubeEffect->drawDesignedTiles(placed); });
    EXPECT_EQ(designed, drawn([&] { rings.draw(7000); }));
    EXPECT_NE(designed, drawn([&] {
                  selectDetail(Detail::Coarse), rings.draw(7000), selectDetail(Detail::Designed);
              }));
}

// Without the tunings for a CPU renderer (the zoom and the glow drawn over their whole
// boxes, the tiles handed over in one batch) the frames are the same: glow, zoom, rings.
TEST_F(Show, BothRendererChoicesDrawTheSameFrames) {
    for (int time : {3000, 60000, 101566})
        EXPECT_TRUE(shot(time, Detail::Coarse, software::Renderer::Software) ==
                    shot(time, Detail::Coarse, software::Renderer::Hardware))
            << time;
}

} // namespace
