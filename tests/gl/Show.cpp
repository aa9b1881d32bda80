// The show as the script lays it out, against the tables it is laid out from, and
// frames of it at moments that prove the tracks' order and the show's end.
#include "engine/Demo.h"
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
    // Cards of 5000 ms (10000 for card 5), each sliding into the next over its last
    // 1125 ms, the odd ones through wipe 1; none between cards 23 and 24, nor after 33.
    const int starts[34] = {21500,  25375,  29250,  33125,  37000,  40875,  49750,  53625,  57500,
                            61375,  65250,  69125,  73000,  76875,  80750,  84625,  88500,  92375,
                            96250,  100125, 104000, 107875, 111750, 115625, 120625, 124500, 128375,
                            132250, 136125, 140000, 143875, 147750, 151625, 155500};
    std::string cards, wipes;
    for (int k = 0; k < 34; ++k) {
        const int end = starts[k] + (k == 5 ? 10000 : 5000);
        cards += "@" + std::to_string(starts[k]) + " k" + std::to_string(k) + "/" +
                 std::to_string(end - starts[k]) + " ";
        if (k != 23 && k != 33) wipes += std::to_string(end - 1125) + (k % 2 ? "/1 " : "/3 ");
    }
    std::string got;
    for (const Fx& fx : demo.track(3).entries)
        got += "@" + std::to_string(fx.start) + " k" + std::to_string(fx.attribs - textCards) +
               "/" + std::to_string(fx.duration) + " ";
    EXPECT_EQ(got, cards);
    got.clear();
    for (const Transit& t : demo.track(3).transits)
        got += std::to_string(t.start) + (t.duration != 1125 ? "?" : "") +
               (static_cast<const void*>(t.transition) == tr1Effect ? "/1 " : "/3 ");
    EXPECT_EQ(got, wipes);
    EXPECT_EQ(demo.track(3).cursor, 160500);
    EXPECT_EQ(demo.tracks.size(), 5u);
}

// The fade-in on track 4 darkens everything the tracks below drew; the first cut's
// flash peaks white at 10000; the show ends on the frame at 175625.
TEST_F(Show, FramesAtTheLandmarks) {
    const auto brightest = [](const std::vector<uint8_t>& f) {
        return *std::max_element(f.begin(), f.end());
    };
    EXPECT_TRUE(script->frameAt(0));
    EXPECT_EQ(brightest(frame()), 0);
    EXPECT_TRUE(script->frameAt(10000));
    const std::vector<uint8_t> white = frame();
    EXPECT_EQ(*std::min_element(white.begin(), white.end()), 255);
    EXPECT_TRUE(script->frameAt(showLength - 1));
    EXPECT_FALSE(script->frameAt(showLength));
    EXPECT_EQ(brightest(frame()), 0);
}

} // namespace
