// Entries, parameter sets, tracks, transits and the sequencer, without GL: every draw
// is noted as "name@time start+duration mode;", a transition's as "[start+duration ...]".
#include "engine/Attrib.h"
#include "engine/Demo.h"
#include <gtest/gtest.h>

namespace {

std::string seen;

struct Probe : Effect {
    std::string name;
    int mode = -1, configured = 0;
    explicit Probe(std::string n) : Effect(0), name(std::move(n)) {}
    void draw(int time) override {
        seen += name + "@" + std::to_string(time) + " " + std::to_string(start) + "+" +
                std::to_string(duration) + " " + std::to_string(mode) + ";";
    }
    void configure(const AttribSet* a) override { ++configured, readInt(a, "mode", mode); }
};

struct Swap : Transition {
    Swap() : Transition(0) {}
    void draw(int time) override {
        seen += "[" + std::to_string(start) + "+" + std::to_string(duration) + " ";
        transit->from.draw(time);
        transit->to.draw(time);
        seen += "]";
    }
};

// What the track draws at each time, "|" after each.
std::string drawnAt(Track& t, std::initializer_list<int> times) {
    seen.clear();
    for (int time : times) {
        if (Effect* e = t.active(time)) e->draw(time);
        seen += "|";
    }
    return seen;
}

Probe a("a"), b("b");
Swap swap;

TEST(Fx, ConfiguresBeforeEveryDrawAndParametersStick) {
    AttribSet one, two, none;
    one.set(Attrib("mode", 7));
    one.set(Attrib("mode", 1)); // replaces
    two.set(Attrib("mode", 2));
    Attrib out("untouched", 42);
    EXPECT_FALSE(two.get("level", out));
    EXPECT_EQ(out.value.i, 42);
    Probe p("p");
    Fx first(&p, 100, &one), second(&p, 50, &two), bare(&p, 100, nullptr), other(&p, 100, &none);
    first.start = 10;
    seen.clear();
    first.draw(20), first.draw(21), second.draw(22), bare.draw(23), other.draw(24);
    EXPECT_EQ(p.configured, 4); // not without a set
    EXPECT_EQ(seen, "p@20 10+100 1;p@21 10+100 1;p@22 0+50 2;p@23 0+100 2;p@24 0+100 2;");
}

TEST(Track, EntriesCoverHalfOpenSpansAndTheFirstAddedWins) {
    Track t;
    Fx first(&a, 1000, nullptr), zero(&a, 0, nullptr), negative(&a, -5, nullptr);
    Fx second(&b, 1000, nullptr), late(&b, 1000, nullptr);
    t.add(first).add(zero).add(negative).advance(500).add(second);
    EXPECT_EQ(second.start, 1495); // the caller's entry learns its start
    EXPECT_EQ(t.cursor, 2495);
    EXPECT_EQ(drawnAt(t, {-1, 0, 999, 1000, 1494, 1495, 2494, 2495}),
              "|a@0 0+1000 -1;|a@999 0+1000 -1;|||b@1495 1495+1000 -1;|b@2494 1495+1000 -1;||");
    t.cursor = 500;
    t.add(late); // overlapping: the earlier-added entry is drawn while both cover
    EXPECT_EQ(drawnAt(t, {700, 1000}), "a@700 0+1000 -1;|b@1000 500+1000 -1;|");
    Track other;
    other.cursor = 9000;
    sync(t, other);
    EXPECT_EQ(t.cursor, 9000);
    t.cursor = 9500;
    sync(t, other);
    EXPECT_EQ(other.cursor, 9500);
}

TEST(Transit, CoversTheEndOfOneEntryAndTheStartOfTheNext) {
    Track t;
    Fx fa(&a, 5000, nullptr), fb(&b, 5000, nullptr);
    Transit tr(&swap, 1125);
    t.add(fa).add(tr).add(fb);
    EXPECT_EQ(tr.start, 3875);
    EXPECT_EQ(fb.start, 3875);
    EXPECT_EQ(t.cursor, 8875);
    EXPECT_EQ(drawnAt(t, {3874, 3875, 4999, 5000}),
              "a@3874 0+5000 -1;|[3875+1125 a@3875 0+5000 -1;b@3875 3875+5000 -1;]|"
              "[3875+1125 a@4999 0+5000 -1;b@4999 3875+5000 -1;]|b@5000 3875+5000 -1;|");
    Track lonely; // a transit on an empty track starts at 0 and leaves the cursor
    Transit first(&swap, 500);
    lonely.add(first);
    EXPECT_EQ(lonely.cursor, 0);
    EXPECT_EQ(drawnAt(lonely, {100}), "[0+500 ]|");
    // Missing neighbours leave their slots empty, also after a transit that had both.
    Transit tail(&swap, 200);
    t.advance(5000).add(tail);
    EXPECT_EQ(drawnAt(t, {4000, 13700}),
              "[3875+1125 a@4000 0+5000 -1;b@4000 3875+5000 -1;]|[13675+200 ]|");
    Track last;
    Fx only(&a, 1000, nullptr);
    Transit end(&swap, 200), none;
    last.add(only).add(end);
    EXPECT_EQ(drawnAt(last, {900}), "[800+200 a@900 0+1000 -1;]|");
    none.duration = 100; // no transition effect: drawn as nothing, yet active
    Track bare;
    bare.add(only).add(none);
    EXPECT_EQ(bare.active(950), &bare.currentTransit);
    EXPECT_EQ(drawnAt(bare, {950}), "|");
}

TEST(Transit, TheSharedEffectFollowsEveryCopy) {
    Track t;
    for (int i = 0; i < 40; ++i) {
        Fx fx(&a, 1000, nullptr);
        Transit tr(&swap, 100);
        t.add(fx).add(tr);
        EXPECT_NE(swap.transit, &tr); // never left on the local that dies
    }
    EXPECT_TRUE(swap.transit >= &t.transits.front() && swap.transit <= &t.transits.back());
    // One transition on two tracks in one frame sees each track's own entries.
    Probe a2("a2"), b2("b2");
    Demo d;
    Fx e1(&a, 1000, nullptr), f1(&b, 1000, nullptr), e2(&a2, 1000, nullptr), f2(&b2, 1000, nullptr);
    Transit t1(&swap, 200), t2(&swap, 200);
    d.track(3).add(e1).add(t1).add(f1);
    d.track(1).add(e2).add(t2).add(f2);
    d.started = true;
    seen.clear();
    EXPECT_TRUE(d.play(900));
    EXPECT_EQ(seen, "[800+200 a2@900 0+1000 -1;b2@900 800+1000 -1;][800+200 a@900 0+1000 -1;"
                    "b@900 800+1000 -1;]");
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
    EXPECT_FALSE(Demo().play(0));
}

} // namespace
