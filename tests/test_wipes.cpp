#include "platform/Settings.h"
#include "effects/Tr1.h"
#include "effects/Tr3.h"
#include "engine/Track.h"
#include "support/GlTest.h"
#include "test_paint.h"

namespace {

using Rect = std::array<GLint, 4>;

// A track holding a red entry of 0..2000 ms, a green one of 1000..3000 ms and a
// wipe over 1000..2000 ms between them, drawn over a blue frame.
class WipeTest : public GlTest {
protected:
    Paint out{1, 0, 0};
    Paint in{0, 1, 0};
    Tr1 tr1{0};
    Tr3 tr3{0};

    void drawAt(Transition& wipe, int time) {
        Track track;
        Fx first(&out, 2000, nullptr);
        Fx second(&in, 2000, nullptr);
        Transit transit(&wipe, 1000);
        track.add(first).add(transit).add(second);
        fill(0, 0, 1);
        Effect* active = track.active(time);
        ASSERT_EQ(active, &track.currentTransit);
        active->draw(time);
    }

    static Rect viewport() {
        Rect v{};
        glGetIntegerv(GL_VIEWPORT, v.data());
        return v;
    }
    static Rect rect(const Paint& p) {
        return {p.viewport[0], p.viewport[1], p.viewport[2], p.viewport[3]};
    }
    // Colour name of a pixel: 'r', 'g', 'b' or '?'.
    static char at(int x, int y) {
        const Rgba p = pixel(x, y);
        if (p[0] == 255 && p[1] == 0 && p[2] == 0) return 'r';
        if (p[0] == 0 && p[1] == 255 && p[2] == 0) return 'g';
        if (p[0] == 0 && p[1] == 0 && p[2] == 255) return 'b';
        return '?';
    }
};

TEST_F(WipeTest, Tr1HalfwaySplitsTheWindowIntoTwoCorners) {
    drawAt(tr1, 1500);
    EXPECT_EQ(rect(out), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(rect(in), (Rect{400, 300, 800, 600}));
    EXPECT_EQ(viewport(), (Rect{0, 0, 800, 600}));

    EXPECT_EQ(at(0, 0), 'r');
    EXPECT_EQ(at(399, 299), 'r');
    EXPECT_EQ(at(400, 300), 'g');
    EXPECT_EQ(at(799, 599), 'g');
    EXPECT_EQ(at(400, 299), 'b'); // nothing is drawn outside the two rectangles
    EXPECT_EQ(at(399, 300), 'b');
    EXPECT_EQ(at(799, 0), 'b');
    EXPECT_EQ(at(0, 599), 'b');

    // Each entry is drawn through its own timing, at the frame's time.
    EXPECT_EQ(out.lastStart, 0);
    EXPECT_EQ(out.lastDuration, 2000);
    EXPECT_EQ(in.lastStart, 1000);
    EXPECT_EQ(in.lastTime, 1500);
}

TEST_F(WipeTest, Tr1AtItsStartShowsOnlyTheOutgoingEntry) {
    drawAt(tr1, 1000);
    EXPECT_EQ(rect(out), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(rect(in), (Rect{800, 600, 800, 600}));
    for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}, {799, 0}})
        EXPECT_EQ(at(x, y), 'r') << x << "," << y;
}

TEST_F(WipeTest, Tr1HalfwayIn640x480) {
    open(false);
    drawAt(tr1, 1500);
    EXPECT_EQ(rect(out), (Rect{0, 0, 320, 240}));
    EXPECT_EQ(rect(in), (Rect{320, 240, 640, 480}));
    EXPECT_EQ(viewport(), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(at(319, 239), 'r');
    EXPECT_EQ(at(320, 240), 'g');
    EXPECT_EQ(at(639, 479), 'g');
    EXPECT_EQ(at(320, 239), 'b');
}

TEST_F(WipeTest, Tr3AtAQuarterShrinksTheOutgoingAndGrowsTheIncomingCorner) {
    drawAt(tr3, 1250);
    EXPECT_EQ(rect(out), (Rect{200, 150, 600, 450}));
    EXPECT_EQ(rect(in), (Rect{600, 450, 200, 150}));
    EXPECT_EQ(viewport(), (Rect{0, 0, 800, 600}));

    EXPECT_EQ(at(199, 149), 'b');
    EXPECT_EQ(at(200, 150), 'r');
    EXPECT_EQ(at(599, 449), 'r');
    EXPECT_EQ(at(799, 449), 'r');
    EXPECT_EQ(at(600, 450), 'g');
    EXPECT_EQ(at(799, 599), 'g');
    EXPECT_EQ(at(199, 599), 'b');
    EXPECT_EQ(at(799, 149), 'b');
}

TEST_F(WipeTest, Tr3HalfwayIn640x480DrawsBothIntoOneQuarterIncomingLast) {
    open(false);
    drawAt(tr3, 1500);
    EXPECT_EQ(rect(out), (Rect{320, 240, 320, 240}));
    EXPECT_EQ(rect(in), (Rect{320, 240, 320, 240}));
    EXPECT_EQ(at(320, 240), 'g');
    EXPECT_EQ(at(639, 479), 'g');
    EXPECT_EQ(at(319, 479), 'b');
    EXPECT_EQ(at(639, 239), 'b');
    EXPECT_EQ(viewport(), (Rect{0, 0, 640, 480}));
}

TEST_F(WipeTest, TheViewportEndsOnTheFullWindowWhateverCameBeforeOrBetween) {
    out.scribble = true;
    in.scribble = true;
    for (Transition* wipe : {static_cast<Transition*>(&tr1), static_cast<Transition*>(&tr3)}) {
        glViewport(10, 20, 30, 40);
        drawAt(*wipe, 1700);
        EXPECT_EQ(viewport(), (Rect{0, 0, 800, 600}));
        // The incoming entry still gets its own rectangle after the outgoing one scribbled.
        EXPECT_NE(rect(in), (Rect{0, 0, 7, 7}));
        EXPECT_EQ(at(799, 599), 'g');
    }
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

} // namespace
