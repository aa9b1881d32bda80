#include "engine/Attrib.h"
#include "engine/Demo.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Records every draw with the timing and parameters the effect saw.
struct Seen {
    std::string name;
    int time, start, duration, mode;
};
std::vector<Seen> seen;

class Probe : public Effect {
public:
    explicit Probe(std::string label) : Effect(0), name(std::move(label)) {}
    void draw(int time) override { seen.push_back({name, time, start, duration, mode}); }
    void configure(const AttribSet* attribs) override {
        ++configured;
        readInt(attribs, "mode", mode);
    }
    std::string name;
    int mode = -1;
    int configured = 0;
};

// A transition that draws both of its entries and records what it was handed.
class Swap : public Transition {
public:
    Swap() : Transition(0) {}
    void draw(int time) override {
        ++draws;
        lastFrom = transit->from.effect;
        lastTo = transit->to.effect;
        ownStartMatches = transit->start == start && transit->duration == duration;
        transit->from.draw(time);
        transit->to.draw(time);
    }
    int draws = 0;
    Effect* lastFrom = nullptr;
    Effect* lastTo = nullptr;
    bool ownStartMatches = false;
};

AttribSet modeSet(int mode) {
    AttribSet s;
    s.set(Attrib("mode", mode));
    return s;
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override { seen.clear(); }
};

} // namespace

TEST_F(Engine, AttribSetReplacesAndLeavesMissingKeysUntouched) {
    AttribSet s;
    s.set(Attrib("level", 5));
    s.set(Attrib("level", 7));
    s.set(Attrib("scale", 0.25f));
    s.set(Attrib("text", "hello"));
    EXPECT_EQ(s.size(), 3u);
    Attrib out("untouched", 42);
    EXPECT_FALSE(s.get("mode", out));
    EXPECT_EQ(out.value.i, 42);
    EXPECT_EQ(out.name, "untouched");
    ASSERT_TRUE(s.get("level", out));
    EXPECT_EQ(out.value.i, 7);
    EXPECT_EQ(out.name, "level");
    ASSERT_TRUE(s.get("scale", out));
    EXPECT_FLOAT_EQ(out.value.f, 0.25f);
    ASSERT_TRUE(s.get("text", out));
    EXPECT_STREQ(out.value.text, "hello");
}

TEST_F(Engine, ParametersAreStickyAndConfiguredBeforeEveryDraw) {
    Probe p("p");
    const AttribSet one = modeSet(1), two = modeSet(2), none;
    Fx a(&p, 100, &one), b(&p, 100, &two), bare(&p, 100, nullptr), empty(&p, 100, &none);
    a.draw(0);
    a.draw(1);
    EXPECT_EQ(p.configured, 2);
    b.draw(2);
    bare.draw(3);  // no set: configure is not called, the mode stays
    empty.draw(4); // a set without the key leaves it too
    EXPECT_EQ(p.configured, 3 + 1);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].mode, 1);
    EXPECT_EQ(seen[2].mode, 2);
    EXPECT_EQ(seen[3].mode, 2);
    EXPECT_EQ(seen[4].mode, 2);
}

TEST_F(Engine, FxCopiesKeepTheDestinationsSpare) {
    Probe p("p");
    Fx a(&p, 10, nullptr);
    a.spare = 3.0f;
    a.start = 7;
    Fx b;
    b = a;
    Fx c(a);
    EXPECT_EQ(b.start, 7);
    EXPECT_EQ(b.duration, 10);
    EXPECT_EQ(b.effect, &p);
    EXPECT_EQ(b.spare, 0.0f);
    EXPECT_EQ(c.spare, 0.0f);
}

TEST_F(Engine, CoverageIsHalfOpenAndGapsDrawNothing) {
    Probe p("p");
    Track t;
    Fx a(&p, 1000, nullptr), zero(&p, 0, nullptr), negative(&p, -5, nullptr);
    t.add(a);
    EXPECT_EQ(a.start, 0); // the caller's object is updated too
    t.add(zero).add(negative);
    t.advance(500);
    Fx b(&p, 1000, nullptr);
    t.add(b);
    EXPECT_EQ(b.start, 1495);
    EXPECT_EQ(t.cursor, 2495);
    EXPECT_EQ(t.active(-1), nullptr);
    ASSERT_NE(t.active(0), nullptr);
    EXPECT_EQ(t.current.start, 0);
    ASSERT_NE(t.active(999), nullptr);
    EXPECT_EQ(t.active(1000), nullptr); // the zero and negative entries never cover
    EXPECT_EQ(t.active(1494), nullptr);
    ASSERT_NE(t.active(1495), nullptr);
    EXPECT_EQ(t.current.start, 1495);
    EXPECT_EQ(t.active(2495), nullptr);
}

TEST_F(Engine, FirstAddedWinsOnOverlaps) {
    Probe first("first"), second("second");
    Track t;
    Fx a(&first, 1000, nullptr), b(&second, 1000, nullptr);
    t.add(a);
    t.cursor = 500;
    t.add(b);
    ASSERT_NE(t.active(700), nullptr);
    EXPECT_EQ(t.current.effect, &first);
    ASSERT_NE(t.active(1000), nullptr);
    EXPECT_EQ(t.current.effect, &second);
}

TEST_F(Engine, SyncTakesTheLargerCursor) {
    Track a, b;
    a.cursor = 3000;
    b.cursor = 5000;
    sync(a, b);
    EXPECT_EQ(a.cursor, 5000);
    EXPECT_EQ(b.cursor, 5000);
    a.cursor = 9000;
    sync(a, b);
    EXPECT_EQ(b.cursor, 9000);
}

TEST_F(Engine, TransitCoversTheEndOfOneEntryAndTheStartOfTheNext) {
    Probe pa("A"), pb("B");
    Swap swap;
    Track t;
    Fx a(&pa, 5000, nullptr), b(&pb, 5000, nullptr);
    Transit tr(&swap, 1125);
    t.add(a).add(tr).add(b);
    EXPECT_EQ(tr.start, 3875);
    EXPECT_EQ(b.start, 3875);
    EXPECT_EQ(t.cursor, 8875);

    Effect* e = t.active(3874);
    ASSERT_EQ(e, &t.current);
    EXPECT_EQ(t.current.effect, &pa);

    e = t.active(3875);
    ASSERT_EQ(e, &t.currentTransit);
    e->draw(3875);
    EXPECT_EQ(swap.transit, &t.currentTransit);
    EXPECT_TRUE(swap.ownStartMatches);
    EXPECT_EQ(swap.lastFrom, &pa);
    EXPECT_EQ(swap.lastTo, &pb);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].name, "A");
    EXPECT_EQ(seen[0].start, 0); // each entry draws with its own timing
    EXPECT_EQ(seen[1].name, "B");
    EXPECT_EQ(seen[1].start, 3875);

    ASSERT_EQ(t.active(4999), &t.currentTransit);
    ASSERT_EQ(t.active(5000), &t.current);
    EXPECT_EQ(t.current.effect, &pb);
}

TEST_F(Engine, TransitionPointsAtALiveTransitAfterTheArrayGrows) {
    Probe p("p");
    Swap swap;
    Track t;
    for (int i = 0; i < 40; ++i) {
        Fx fx(&p, 1000, nullptr);
        t.add(fx);
        Transit tr(&swap, 100);
        t.add(tr);
        // The shared effect must never be left on the local that is about to die.
        EXPECT_NE(swap.transit, &tr);
    }
    EXPECT_GE(t.transits.size(), 40u);
    const Transit* lo = t.transits.data();
    const Transit* hi = lo + t.transits.size();
    EXPECT_TRUE(swap.transit >= lo && swap.transit < hi);
    ASSERT_NE(t.active(950), nullptr);
    EXPECT_EQ(swap.transit, &t.currentTransit);
}

TEST_F(Engine, TransitWithoutNeighboursLeavesEmptySlots) {
    Probe p("p");
    Swap swap;
    Track lonely;
    Transit first(&swap, 500);
    lonely.add(first); // no entry yet: starts at 0, cursor untouched
    EXPECT_EQ(first.start, 0);
    EXPECT_EQ(lonely.cursor, 0);
    Effect* e = lonely.active(100);
    ASSERT_EQ(e, &lonely.currentTransit);
    e->draw(100);
    EXPECT_EQ(swap.lastFrom, nullptr);
    EXPECT_EQ(swap.lastTo, nullptr);
    EXPECT_TRUE(seen.empty());

    Track last;
    Fx a(&p, 1000, nullptr);
    Transit tail(&swap, 200);
    last.add(a).add(tail); // nothing stored after `a`
    e = last.active(900);
    ASSERT_EQ(e, &last.currentTransit);
    e->draw(900);
    EXPECT_EQ(swap.lastFrom, &p);
    EXPECT_EQ(swap.lastTo, nullptr);
    EXPECT_EQ(seen.size(), 1u);

    Transit nothing;
    Track bare;
    Fx b(&p, 1000, nullptr);
    bare.add(b);
    nothing.duration = 100;
    bare.add(nothing); // no transition effect: still active, draws nothing
    seen.clear();
    e = bare.active(950);
    ASSERT_EQ(e, &bare.currentTransit);
    e->draw(950);
    EXPECT_TRUE(seen.empty());
}

TEST_F(Engine, OneTransitionSharedByTwoTracksSeesEachTracksEntries) {
    Probe a1("a1"), b1("b1"), a2("a2"), b2("b2");
    Swap swap;
    Demo d;
    Fx e1(&a1, 1000, nullptr), f1(&b1, 1000, nullptr), e2(&a2, 1000, nullptr),
        f2(&b2, 1000, nullptr);
    Transit t1(&swap, 200), t2(&swap, 200);
    d.track(3).add(e1).add(t1).add(f1);
    d.track(1).add(e2).add(t2).add(f2);
    d.started = true; // no music in this test
    EXPECT_TRUE(d.play(900));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].name, "a2"); // track 1 before track 3
    EXPECT_EQ(seen[1].name, "b2");
    EXPECT_EQ(seen[2].name, "a1");
    EXPECT_EQ(seen[3].name, "b1");
}

TEST_F(Engine, DemoDrawsTracksInAscendingOrderAndEndsOnAFullGap) {
    Probe p0("0"), p1("1"), p2("2");
    Demo d;
    Fx e2(&p2, 100, nullptr), e0(&p0, 100, nullptr), e1(&p1, 100, nullptr);
    d.track(2).add(e2);
    d.track(0).add(e0);
    d.track(1).add(e1);
    Fx later(&p0, 100, nullptr);
    d.track(0).advance(100).add(later); // entries after a gap do not keep the show alive
    EXPECT_TRUE(d.play(50));
    EXPECT_TRUE(d.started);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].name, "0");
    EXPECT_EQ(seen[1].name, "1");
    EXPECT_EQ(seen[2].name, "2");
    EXPECT_FALSE(d.play(150));
    EXPECT_TRUE(d.play(250));
    Demo empty;
    EXPECT_FALSE(empty.play(0));
}

TEST_F(Engine, TrackNumbersAreCreatedOnFirstUse) {
    Demo d;
    Track& t = d.track(-7);
    t.cursor = 12;
    EXPECT_EQ(&d.track(-7), &t);
    EXPECT_EQ(d.track(-7).cursor, 12);
    EXPECT_EQ(d.track(1000).cursor, 0);
    EXPECT_EQ(d.tracks.size(), 2u);
}
