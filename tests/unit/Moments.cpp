// What the asset generator reads from the show for the music, against the timeline laid out
// here as the show lays it out (the timeline itself is listed in tests/gl/Show.cpp).
#include "Show.h"
#include "engine/Demo.h"
#include "script/Sets.h"
#include "script/Timeline.h"
#include "script/Tracks.h"
#include <gtest/gtest.h>
#include <set>

namespace {
void expectNear(const std::vector<int>& found, const std::set<int>& laid) {
    ASSERT_EQ(found.size(), laid.size());
    auto at = laid.begin();
    for (size_t i = 0; i < found.size(); ++i, ++at)
        EXPECT_NEAR(found[i], *at, 5) << i;
}
} // namespace

// Every scene change is a cut; a card change is a card drawn from its start or a wipe
// beginning; every flash entry is listed with its mode, over the stretch the sequencer
// draws it (an entry added earlier wins); the three rhythms are found, 21 steps a bar.
TEST(Moments, TheListingIsTheTimelinesOwn) {
    Show show;
    std::string error;
    ASSERT_TRUE(readShow("tools/assetgen/show.txt", show, error)) << error;
    fillOpeningSets();
    Demo laid;
    laid.sound = false;
    layOutTimeline(laid);
    EXPECT_EQ(show.length, showLength);
    std::set<int> cuts, cards;
    for (const Fx& fx : laid.track(sceneTrack).entries)
        if (fx.start > 0) cuts.insert(fx.start);
    for (const Fx& fx : laid.track(cardTrack).entries)
        cards.insert(fx.start);
    for (const Transit& wipe : laid.track(cardTrack).transits)
        cards.insert(wipe.start);
    expectNear(show.cuts, cuts);
    expectNear(show.cards, cards);
    std::set<std::pair<int, int>> entries, listed; // flash entries by track and start
    for (int number : {flashTrack, markTrack})
        for (const Fx& fx : laid.track(number).entries)
            entries.insert({number, fx.start});
    for (const FlashSpan& f : show.flashes) {
        const int number = entries.count({flashTrack, f.start}) ? flashTrack : markTrack;
        Track& track = laid.track(number);
        ASSERT_TRUE(track.active(f.from)) << f.start;
        const Fx drawn = track.current;
        int mode = -100;
        readInt(drawn.attribs, "mode", mode);
        EXPECT_TRUE(drawn.start == f.start && drawn.start + drawn.duration == f.end &&
                    mode == f.mode && track.active(f.to - 1) && track.current.start == f.start)
            << f.start << " drawn " << f.from << " to " << f.to;
        listed.insert({number, f.start});
    }
    EXPECT_EQ(listed, entries);
    const std::vector<Rhythm> found = rhythmsOf(show.flashes);
    ASSERT_EQ(found.size(), 3u);
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].steps, 21) << i;
        EXPECT_EQ(found[i].cycles, std::vector<int>({3, 10, 4})[i]) << i;
    }
}
