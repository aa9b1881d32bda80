#include "effects/Blur.h"
#include "effects/CubeVom.h"
#include "effects/Flash.h"
#include "effects/Fond.h"
#include "effects/FxFont.h"
#include "effects/Tea.h"
#include "effects/Tr1.h"
#include "effects/Tr3.h"
#include "engine/Demo.h"
#include "platform/Headless.h"
#include "script/Script.h"
#include "script/Sets.h"
#include "script/Timeline.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The script's instances, once it has run.
const Effect *font, *blur, *flash, *tea, *cube, *fond, *tr1, *tr3;

struct Span {
    int start, end;
    const Effect* effect;
    const AttribSet* set;
};

class Timeline : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(platform::openHeadless(true, error)) << error;
        demo.sound = false;
        new Script();
        font = fontEffect, blur = blurEffect, flash = flashEffect, tea = teaEffect;
        cube = cubeEffect, fond = fondEffect, tr1 = tr1Effect, tr3 = tr3Effect;
    }
    static Track& track(int n) { return demo.track(n); }
    static std::vector<Span> spans(int n) {
        std::vector<Span> out;
        for (const Fx& fx : track(n).entries)
            out.push_back({fx.start, fx.start + fx.duration, fx.effect, fx.attribs});
        return out;
    }
    static void expectSpans(int n, const std::vector<Span>& want) {
        const std::vector<Span> got = spans(n);
        ASSERT_EQ(got.size(), want.size()) << "track " << n;
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].start, want[i].start) << "track " << n << " entry " << i;
            EXPECT_EQ(got[i].end, want[i].end) << "track " << n << " entry " << i;
            EXPECT_EQ(got[i].effect, want[i].effect) << "track " << n << " entry " << i;
            EXPECT_EQ(got[i].set, want[i].set) << "track " << n << " entry " << i;
        }
    }
};

AttribSet* cm(int m) { return &cubeMethods[m]; }
AttribSet* fm(int m) { return &flashModes[m]; }

} // namespace

TEST_F(Timeline, SceneAndBlurTracks) {
    expectSpans(0, {{0, 10000, cube, cm(1)},
                    {10000, 20000, cube, cm(6)},
                    {20000, 34000, cube, cm(0)},
                    {34000, 50000, cube, cm(3)},
                    {50000, 85000, tea, nullptr},
                    {85000, 90000, cube, cm(6)},
                    {90000, 95000, cube, cm(0)},
                    {95000, 100000, cube, cm(5)},
                    {100000, 105000, cube, cm(1)},
                    {105000, 110000, cube, cm(6)},
                    {110000, 120625, cube, cm(0)},
                    {120625, 163625, fond, nullptr},
                    {163625, 175625, cube, cm(1)}});
    AttribSet* glow = &blurSettings[0];
    expectSpans(1, {{0, 10000, blur, glow},
                    {10000, 20000, blur, glow},
                    {20000, 34000, blur, glow},
                    {34000, 50000, blur, glow},
                    {50000, 85000, blur, &blurSettings[1]},
                    {85000, 120625, blur, glow},
                    {163625, 175625, blur, glow}});
    expectSpans(4, {{0, 5000, flash, fm(4)}});
}

TEST_F(Timeline, FinalCursors) {
    EXPECT_EQ(track(0).cursor, 175625);
    EXPECT_EQ(track(1).cursor, 175625);
    EXPECT_EQ(track(2).cursor, 175625);
    EXPECT_EQ(track(3).cursor, 160500);
    EXPECT_EQ(track(4).cursor, 85000);
    EXPECT_EQ(demo.tracks.size(), 5u);
}

namespace {

// A rhythm as its table gives it: start, the four flash lengths, the pause, and the
// modes of each cycle's four flashes.
void expandRhythm(std::vector<Span>& out, int start, const int len[4], int pause, int first,
                  int last, bool second) {
    int at = start;
    for (int i = first; i <= last; ++i) {
        const int modes[4] = {second ? (i - 2) % 4 : (i - 3) % 4,
                              second ? (i - 1) % 4 : (i + 1) % 4, i % 4,
                              second ? i % 4 : (i - 1) % 4};
        for (int n = 0; n < 4; ++n) {
            out.push_back({at, at + len[n], flash, fm(modes[n])});
            at += len[n];
        }
        at += pause;
    }
}

} // namespace

TEST_F(Timeline, FlashRhythmsAndSingleFlashes) {
    std::vector<Span> want = {{9800, 10200, flash, fm(0)}};
    const int firstCut[4] = {450, 150, 750, 900};
    expandRhythm(want, 10200, firstCut, 900, 3, 5, false);
    want.push_back({33750, 34250, flash, fm(0)});
    want.push_back({49500, 50500, flash, fm(0)});
    const int teaSection[4] = {510, 170, 850, 1020};
    expandRhythm(want, 50500, teaSection, 1020, 3, 12, false);
    want.push_back({84500, 85500, flash, fm(0)});
    const int cubeSection[4] = {865, 288, 1442, 577};
    expandRhythm(want, 85500, cubeSection, 2885, 2, 5, true);
    want.push_back({120125, 121125, flash, fm(0)});
    want.push_back({158625, 163625, flash, fm(5)});
    want.push_back({163625, 167125, flash, fm(4)});
    want.push_back({172125, 175625, flash, fm(5)});
    expectSpans(2, want);

    // The table's landmarks, independent of the expansion above.
    const std::vector<Span> got = spans(2);
    ASSERT_EQ(got.size(), 76u);
    EXPECT_EQ(got[1].start, 10200);
    EXPECT_EQ(got[4].end, 12450);   // the first cycle's four flashes
    EXPECT_EQ(got[5].start, 13350); // the next cycle after the 900 ms pause
    EXPECT_EQ(got[12].end, 18750);
    EXPECT_EQ(got[15].start, 50500);
    EXPECT_EQ(got[54].end, 85180);
    EXPECT_EQ(got[56].start, 85500);
    EXPECT_EQ(got[71].end, 106843);
}

TEST_F(Timeline, CardsAndTheirWipes) {
    const std::vector<Span> cards = spans(3);
    ASSERT_EQ(cards.size(), 34u);
    int start = 21500;
    for (int k = 0; k < 34; ++k) {
        if (k == 24) {
            EXPECT_EQ(cards[k].start, cards[k - 1].end) << "card 24 follows card 23 directly";
        }
        EXPECT_EQ(cards[k].start, start) << "card " << k;
        EXPECT_EQ(cards[k].end - cards[k].start, k == 5 ? 10000 : 5000) << "card " << k;
        EXPECT_EQ(cards[k].effect, font);
        EXPECT_EQ(cards[k].set, &textCards[k]);
        start = cards[k].end - (k == 23 || k == 33 ? 0 : 1125);
    }
    EXPECT_EQ(cards[33].end, 160500);

    const std::vector<Transit>& wipes = track(3).transits;
    ASSERT_EQ(wipes.size(), 32u); // none after card 23 or card 33
    for (size_t n = 0; n < wipes.size(); ++n) {
        const int k = n < 23 ? static_cast<int>(n) : static_cast<int>(n) + 1;
        EXPECT_EQ(wipes[n].start, cards[k].end - 1125) << "wipe after card " << k;
        EXPECT_EQ(wipes[n].duration, 1125);
        EXPECT_EQ(static_cast<const Effect*>(wipes[n].transition), k % 2 ? tr1 : tr3)
            << "wipe after card " << k;
    }
    EXPECT_EQ(wipes[4].start, 40875); // title card 4 into card 5, the frame of the example
    EXPECT_EQ(wipes[23].start, 124500);
}

TEST_F(Timeline, WhatEachTrackDrawsAtTheLandmarks) {
    auto at = [](int n, int time) -> const Effect* {
        Effect* e = track(n).active(time);
        if (!e) return nullptr;
        if (e == &track(n).currentTransit) return track(n).currentTransit.transition;
        return track(n).current.effect;
    };
    EXPECT_EQ(at(0, 0), cube);
    EXPECT_EQ(track(0).current.attribs, cm(1));
    EXPECT_EQ(at(4, 0), flash);
    EXPECT_EQ(at(3, 21499), nullptr);
    EXPECT_EQ(at(3, 21500), font);
    EXPECT_EQ(at(3, 25374), font);
    EXPECT_EQ(at(3, 25375), tr3);
    EXPECT_EQ(at(0, 41000), cube);
    EXPECT_EQ(track(0).current.attribs, cm(3));
    EXPECT_EQ(at(3, 41000), tr3);
    EXPECT_EQ(track(3).currentTransit.from.attribs, &textCards[4]);
    EXPECT_EQ(track(3).currentTransit.to.attribs, &textCards[5]);
    EXPECT_EQ(at(2, 84800), flash);
    EXPECT_EQ(track(2).current.attribs, fm(3)); // the rhythm's flash wins over the white one
    EXPECT_EQ(at(2, 85180), flash);
    EXPECT_EQ(track(2).current.attribs, fm(0));
    EXPECT_EQ(at(0, 120625), fond);
    EXPECT_EQ(at(1, 120625), nullptr);
    EXPECT_EQ(at(3, 120625), font);
    EXPECT_EQ(at(3, 160500), nullptr);
    for (int n : {0, 1, 2})
        EXPECT_NE(at(n, 175624), nullptr) << "track " << n;
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(at(n, 175625), nullptr) << "track " << n;
    for (int t = 0; t < showLength; t += 125)
        EXPECT_NE(at(0, t), nullptr) << t;
}

TEST_F(Timeline, ParameterSetsHoldTheScriptsValues) {
    Attrib a;
    ASSERT_TRUE(blurSettings[0].get("mode", a));
    EXPECT_EQ(a.value.i, 1);
    EXPECT_FALSE(blurSettings[0].get("level", a));
    ASSERT_TRUE(blurSettings[1].get("level", a));
    EXPECT_EQ(a.value.i, 5);
    ASSERT_TRUE(blurSettings[1].get("mode", a));
    EXPECT_EQ(a.value.i, 0);
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(flashModes[k].get("mode", a));
        EXPECT_EQ(a.value.i, k);
    }
    for (int k = 0; k < 7; ++k) {
        ASSERT_TRUE(cubeMethods[k].get("method", a));
        EXPECT_EQ(a.value.i, k);
    }
    ASSERT_TRUE(textCards[0].get("text", a));
    EXPECT_STREQ(a.value.text, "Une Production\n   Morvanta");
    ASSERT_TRUE(textCards[5].get("text", a));
    EXPECT_STREQ(a.value.text, "VELMORA");
    ASSERT_TRUE(textCards[28].get("text", a));
    EXPECT_STREQ(a.value.text, "         BO \n The Lantern Orchard ");
    ASSERT_TRUE(textCards[33].get("text", a));
    EXPECT_STREQ(a.value.text, " ");
    EXPECT_EQ(textCards[34].size(), 0u);
}
