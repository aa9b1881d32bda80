// Entries, parameter sets, tracks, transits and the sequencer, without GL.
#include "engine/Attrib.h"
#include "engine/Demo.h"
#include <gtest/gtest.h>
#include <string>

namespace {

std::string seen; // what was drawn, "name@time start+duration mode;" per draw

struct Probe : Effect {
    std::string name;
    int mode = -1, configured = 0;
    explicit Probe(std::string n) : Effect(0), name(std::move(n)) {}
    void draw(int time) override {
        seen += name + "@" + std::to_string(time) + " " + std::to_string(start) + "+" +
                std::to_string(duration) + " " + std::to_string(mode) + ";";
    }
    void configure(const AttribSet* a) override {
        ++configured;
        readInt(a, "mode", mode);
    }
};

// Draws its outgoing then its incoming entry, bracketed by its own timing.
struct Swap : Transition {
    Swap() : Transition(0) {}
    void draw(int time) override {
        seen += "[" + std::to_string(start) + "+" + std::to_string(duration) + " ";
        transit->from.draw(time);
        transit->to.draw(time);
        seen += "]";
    }
};

AttribSet modeSet(int mode) {
    AttribSet s;
    s.set(Attrib("mode", mode));
    return s;
}

// What the track draws at each time, concatenated.
std::string drawnAt(Track& t, std::initializer_list<int> times) {
    seen.clear();
    for (int time : times) {
        if (Effect* e = t.active(time)) e->draw(time);
        seen += "|";
    }
    return seen;
}

} // namespace

TEST(AttribSet, ReplacesByKeyAndLeavesAbsentKeysUntouched) {
    AttribSet s;
    s.set(Attrib("level", 5));
    s.set(Attrib("level", 7));
    s.set(Attrib("scale", 0.25f));
    EXPECT_EQ(s.size(), 2u);
    Attrib out("untouched", 42);
    EXPECT_FALSE(s.get("mode", out));
    EXPECT_EQ(out.value.i, 42);
    EXPECT_EQ(out.name, "untouched");
    ASSERT_TRUE(s.get("level", out));
    EXPECT_EQ(out.value.i, 7);
    EXPECT_EQ(out.name, "level");
    ASSERT_TRUE(s.get("scale", out));
    EXPECT_EQ(out.value.f, 0.25f);
}

TEST(Fx, ConfiguresBeforeEveryDrawAndParametersStick) {
    Probe p("p");
    const AttribSet one = modeSet(1), two = modeSet(2), none;
    Fx a(&p, 100, &one), b(&p, 50, &two), bare(&p, 100, nullptr), other(&p, 100, &none);
    a.start = 10;
    seen.clear();
    a.draw(20);
    a.draw(21);
    b.draw(22);
    bare.draw(23);  // no set: not configured, the mode stays
    other.draw(24); // a set without the key: configured, the mode stays
    EXPECT_EQ(p.configured, 4);
    EXPECT_EQ(seen, "p@20 10+100 1;p@21 10+100 1;p@22 0+50 2;p@23 0+100 2;p@24 0+100 2;");
    Fx copy;
    a.spare = 3;
    copy = a;
    EXPECT_EQ(copy.spare, 0.0f); // copies keep their own
    EXPECT_EQ(copy.start, 10);
    EXPECT_EQ(Fx(a).spare, 0.0f);
}

TEST(Track, EntriesCoverHalfOpenSpansAndTheFirstAddedWins) {
    Probe a("a"), b("b"), z("z");
    Track t;
    Fx first(&a, 1000, nullptr), zero(&z, 0, nullptr), negative(&z, -5, nullptr);
    t.add(first).add(zero).add(negative);
    EXPECT_EQ(first.start, 0); // the caller's entry learns its start
    t.advance(500);
    Fx second(&b, 1000, nullptr);
    t.add(second);
    EXPECT_EQ(second.start, 1495);
    EXPECT_EQ(t.cursor, 2495);
    EXPECT_EQ(drawnAt(t, {-1, 0, 999, 1000, 1494, 1495, 2494, 2495}),
              "|a@0 0+1000 -1;|a@999 0+1000 -1;|||b@1495 1495+1000 -1;|b@2494 1495+1000 -1;||");
    t.cursor = 500; // an overlap: the earlier entry is drawn while both cover
    Fx late(&b, 1000, nullptr);
    t.add(late);
    EXPECT_EQ(drawnAt(t, {700, 1000}), "a@700 0+1000 -1;|b@1000 500+1000 -1;|");
}

TEST(Track, SyncTakesTheLargerCursor) {
    Track a, b;
    a.cursor = 3000;
    b.cursor = 5000;
    sync(a, b);
    EXPECT_EQ(a.cursor, 5000);
    a.cursor = 9000;
    sync(a, b);
    EXPECT_EQ(b.cursor, 9000);
    EXPECT_EQ(a.cursor, 9000);
}

TEST(Transit, CoversTheEndOfOneEntryAndTheStartOfTheNext) {
    Probe a("A"), b("B");
    Swap swap;
    Track t;
    Fx fa(&a, 5000, nullptr), fb(&b, 5000, nullptr);
    Transit tr(&swap, 1125);
    t.add(fa).add(tr).add(fb);
    EXPECT_EQ(tr.start, 3875);
    EXPECT_EQ(fb.start, 3875);
    EXPECT_EQ(t.cursor, 8875);
    EXPECT_EQ(drawnAt(t, {3874, 3875, 4999, 5000}),
              "A@3874 0+5000 -1;|[3875+1125 A@3875 0+5000 -1;B@3875 3875+5000 -1;]|"
              "[3875+1125 A@4999 0+5000 -1;B@4999 3875+5000 -1;]|B@5000 3875+5000 -1;|");
    EXPECT_EQ(swap.transit, &t.currentTransit);
}

TEST(Transit, MissingNeighboursLeaveTheirSlotsEmpty) {
    Probe a("A"), b("B");
    Swap swap;
    Track lonely; // no entry yet: the transit starts at 0, the cursor stays
    Transit first(&swap, 500);
    lonely.add(first);
    EXPECT_EQ(first.start, 0);
    EXPECT_EQ(lonely.cursor, 0);
    EXPECT_EQ(drawnAt(lonely, {100}), "[0+500 ]|");

    Track last; // nothing stored after the outgoing entry
    Fx fa(&a, 1000, nullptr);
    Transit tail(&swap, 200);
    last.add(fa).add(tail);
    EXPECT_EQ(drawnAt(last, {900}), "[800+200 A@900 0+1000 -1;]|");

    Track gap; // an earlier transit found neighbours; a later one without must not reuse them
    Fx fb(&b, 1000, nullptr);
    Transit mid(&swap, 100), lost(&swap, 100);
    gap.add(fa).add(mid).add(fb).advance(5000).add(lost);
    EXPECT_EQ(drawnAt(gap, {950, 6850}),
              "[900+100 A@950 0+1000 -1;B@950 900+1000 -1;]|[6800+100 ]|");

    Track bare; // a transit without a transition effect still counts as drawn
    Transit nothing;
    nothing.duration = 100;
    bare.add(fa).add(nothing);
    EXPECT_EQ(bare.active(950), &bare.currentTransit);
    EXPECT_EQ(drawnAt(bare, {950}), "|");
}

TEST(Transit, TheSharedEffectFollowsEveryCopy) {
    Probe p("p");
    Swap swap;
    Track t;
    for (int i = 0; i < 40; ++i) {
        Fx fx(&p, 1000, nullptr);
        Transit tr(&swap, 100);
        t.add(fx).add(tr);
        EXPECT_NE(swap.transit, &tr); // never left on the local that dies
    }
    EXPECT_TRUE(swap.transit >= t.transits.data() &&
                swap.transit < t.transits.data() + t.transits.size());
    // One transition on two tracks in one frame sees each track's own entries.
    Probe a1("a1"), b1("b1"), a2("a2"), b2("b2");
    Demo d;
    Fx e1(&a1, 1000, nullptr), f1(&b1, 1000, nullptr), e2(&a2, 1000, nullptr),
        f2(&b2, 1000, nullptr);
    Transit t1(&swap, 200), t2(&swap, 200);
    d.track(3).add(e1).add(t1).add(f1);
    d.track(1).add(e2).add(t2).add(f2);
    d.started = true;
    seen.clear();
    EXPECT_TRUE(d.play(900));
    EXPECT_EQ(seen, "[800+200 a2@900 0+1000 -1;b2@900 800+1000 -1;][800+200 a1@900 0+1000 -1;"
                    "b1@900 800+1000 -1;]");
}

TEST(Demo, DrawsTracksInAscendingOrderUntilAllAreInAGap) {
    Probe p0("0"), p1("1"), p2("2"), low("-7");
    Demo d;
    Fx e2(&p2, 100, nullptr), e0(&p0, 100, nullptr), e1(&p1, 100, nullptr), e7(&low, 100, nullptr),
        later(&p0, 100, nullptr);
    d.track(2).add(e2);
    d.track(0).add(e0).advance(100).add(later);
    d.track(-7).add(e7); // any number, created on first use
    d.track(1).add(e1);
    seen.clear();
    EXPECT_TRUE(d.play(50));
    EXPECT_EQ(seen, "-7@50 0+100 -1;0@50 0+100 -1;1@50 0+100 -1;2@50 0+100 -1;");
    EXPECT_FALSE(d.play(150)); // every track in a gap ends the show, entries later or not
    EXPECT_TRUE(d.play(250));
    EXPECT_EQ(d.tracks.size(), 4u);
    EXPECT_FALSE(Demo().play(0));
}
