// The cube scene and the outlined scene as a viewer sees them, from the colour and the depth
// their draws leave: the shapes where the design puts them at a moment, in its light.
#include "effects/CubeVom.h"
#include "effects/Random.h"
#include "effects/Tea.h"
#include "platform/Gl.h"
#include "support/GlTest.h"
#include <algorithm>
#include <cmath>

namespace {

using Vec = std::array<double, 3>;
const double F = 1 / std::tan(M_PI / 8), aspect = 4.0 / 3; // the scene's 45-degree view
const double reach = 0.5357; // a tile's corners from its centre: |(0.375, 0.075, 0.375)|

double gap(const Vec& a, const Vec& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

// Tile centres of the 13 rows of 31 between the grid (m = 0: x = i - 6, y = c, 12 ahead) and
// the rings (m = 1: radius 5 about the axis 12 ahead, rows 0.75 apart, 12 degrees between
// tiles, turned time / 100 degrees, the odd rows twice that). Method 0 draws the grid's
// middle 13 columns; its full twist turns them a quarter about the view axis, 10.5 nearer.
std::vector<Vec> placed(double m, int time, bool twist = false) {
    std::vector<Vec> v;
    for (int c = -6; c <= 6; ++c)
        for (int i = 0; i <= 30; ++i) {
            const double a = m * (12 * i + time * ((c & 1) + 1) / 100.0) * M_PI / 180;
            const Vec p = {(1 - m) * (i - 6) - 5 * m * std::sin(a), (1 - m + 0.75 * m) * c,
                           -12 - 5 * m * std::cos(a)};
            v.push_back(twist ? Vec{-p[1], p[0], -1.5} : p);
        }
    return v;
}

// A frame of the scene: its colour (top row first) and the eye-space point that each pixel
// shows (bottom row first; none where the depth stayed cleared), walked every second pixel.
struct Seen {
    std::vector<uint8_t> rgb;
    std::vector<float> depth;
    std::vector<int> colour(int x, int y) const {
        return {&rgb[(size_t(599 - y) * 800 + x) * 3], &rgb[(size_t(599 - y) * 800 + x) * 3 + 3]};
    }
    Vec at(int x, int y) const {
        const double z = 200 / (99 * (2.0 * depth[size_t(y) * 800 + x] - 1) - 101);
        return {((x + 0.5) / 400 - 1) * -z * aspect / F, ((y + 0.5) / 300 - 1) * -z / F, z};
    }
    template <class Each> void each(Each f) const {
        for (int y = 0; y < 600; y += 2)
            for (int x = 0; x < 800; x += 2)
                if (depth[size_t(y) * 800 + x] < 1) f(x, y, at(x, y));
    }
};

CubeVom* cube = nullptr; // with the build's flare; made once, as in the show

class CubeScene : public GlTest {
protected:
    // `method` at `time` of an entry from `start`, over a grey frame whose depth is at 0.5.
    static Seen show(int method, int time, int start, int duration = 9000) {
        if (!cube) cube = new CubeVom;
        startState(false);
        fill(0.25f, 0.5f, 0.75f);
        glClearDepth(0.5);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1);
        cube->method = method;
        cube->start = start;
        cube->duration = duration;
        cube->draw(time);
        Seen s{frame(), std::vector<float>(800 * 600)};
        glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_FLOAT, s.depth.data());
        return s;
    }
};

// Every point shown within a tile's reach of a centre the design gives (the depth cleared first),
// every centre on screen seen (or hidden by something nearer); the flare being dark beyond its
// disc, tiles turned from the viewer fall below the ambient light (0.2 of the material's colour).
TEST_F(CubeScene, TilesStandWhereTheDesignPutsThem) {
    const struct {
        int method, time, start;
        std::vector<Vec> centres;
    } rows[] = {{0, 1000, 0, placed(0, 0)},           // no twist 1000 into the entry,
                {0, 5000, 0, placed(0, 0, true)},     // the full twist at 5000,
                {0, 12000, 11000, placed(0, 0)},      // whatever the time
                {1, 300, 0, placed(1, 300)},          // rings: the even ones 3 degrees on, odd 6
                {1, 8000, 7000, placed(1, 8000)},     // 80 and 160
                {5, 8000, 8000, placed(0, 8000)},     // the morph to the rings starts as a grid,
                {5, 11000, 8000, placed(0.5, 11000)}, // a third in it is halfway (sin 30 degrees),
                {5, 17000, 8000, placed(1, 17000)},   // and it ends as the rings
                {6, 17000, 8000, placed(0, 17000)},   // the morph back ends as the grid
                {2, 1000, 0, {}},
                {7, 1000, 0, {}}}; // 2 and those outside 0 to 6 draw nothing
    for (const auto& r : rows) {
        const Seen s = show(r.method, r.time, r.start);
        int points = 0, far = 0, dark = 0, unseen = 0;
        s.each([&](int x, int y, const Vec& p) {
            far += std::none_of(r.centres.begin(), r.centres.end(),
                                [&](const Vec& c) { return gap(p, c) <= reach + 0.01; });
            ++points;
            dark += s.colour(x, y)[1] < 40;
        });
        for (const Vec& c : r.centres) {
            const int x = int(400 * (1 + c[0] * F / aspect / -c[2])),
                      y = int(300 * (1 + c[1] * F / -c[2]));
            unseen += c[2] < -1 && x >= 0 && y >= 0 && x < 800 && y < 600 &&
                      !(gap(s.at(x, y), c) <= reach + 0.01 || s.at(x, y)[2] > c[2] + reach);
        }
        EXPECT_TRUE(far == 0 && unseen == 0 && (points == 0 || dark > points / 20))
            << r.method << " at " << r.time << " from " << r.start << ": " << far << " far "
            << unseen << " unseen " << dark << " dark of " << points;
    }
}

// Lit straight on, 0.87 * (0.2 + 0.87) and so on: the rings' front tile, which reflects the
// flare's white core.
TEST_F(CubeScene, FrontTileIsLitStraightOn) {
    EXPECT_EQ(show(1, 0, 0).colour(400, 300), (std::vector<int>{237, 255, 242}));
}

// The lobed surface, 12 ahead, turned T / 20 degrees about (0.25, 1, 0.5) whatever the
// entry's start: both sides drawn, its points at the radius |4 cos 4a cos 4b| of their
// direction (a about its axis, b from it) but for its coarse facets' chords (more than half
// within 0.3; a quarter turned 10 degrees off).
TEST_F(CubeScene, LobedSurfaceTurnsWithTheClock) {
    EXPECT_EQ(feedback([] { show(3, 0, 0); }).size(), 2 * 1681u); // its quads as two triangles
    const Vec n = {0.25 / 1.1456, 1 / 1.1456, 0.5 / 1.1456};      // the surface's axis
    int points = 0, near = 0;
    show(3, 3600, 1000).each([&](int, int, Vec p) {
        p[2] += 12;
        const double d = 2 * (n[0] * p[0] + n[1] * p[1] + n[2] * p[2]); // turned back
        p = {d * n[0] - p[0], d * n[1] - p[1], d * n[2] - p[2]};
        const double r = std::hypot(p[0], p[1], p[2]), a = std::atan2(p[1], p[0]),
                     b = std::acos(p[2] / r);
        ++points;
        near += std::abs(r - std::abs(4 * std::cos(4 * a) * std::cos(4 * b))) < 0.3;
    });
    EXPECT_TRUE(points > 10000 && near > points / 2) << near << " of " << points;
}

// The tiles turn with the show's clock whatever the entry's start.
TEST_F(CubeScene, TilesTurnWithTheShowsClock) {
    EXPECT_EQ(show(0, 1500, 0).rgb, show(0, 1500, 1000).rgb);
}

// Unit 1's texturing states before a draw land on unit 0 after it.
TEST_F(CubeScene, UnitOnesStatesLandOnUnitZero) {
    if (!cube) cube = new CubeVom;
    platform::activeTexture(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_GEN_S);
    platform::activeTexture(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_GEN_T);
    cube->draw(1000);
    EXPECT_TRUE(glOn(GL_TEXTURE_GEN_S) && !glOn(GL_TEXTURE_GEN_T));
}

} // namespace

// Only the outlines reach the frame: 3 pixels wide, in the grey 0.19. Each draw runs the cube
// field twice, taking 36 random sizes each time: the outlines wobble from draw to draw. The cubes
// stand where a 60 Hz run has them, 2.02 of phase a frame, whatever frames came before.
TEST_F(CubeScene, OutlinedCubesLeaveOnlyTheirOutlines) {
    Tea tea("DATAS\\map.tga", 1);
    tea.start = 1234;
    std::vector<int> sequence(73);
    restartRandom(5);
    std::generate(sequence.begin(), sequence.end(), drawRandom);
    restartRandom(5);
    fill(0.6f, 0.6f, 0.6f);
    tea.draw(1234);
    EXPECT_EQ(drawRandom(), sequence[72]);
    const std::vector<uint8_t> f = frame();
    std::vector<int> runs(601); // how many vertical runs of outline pixels are each long
    for (int x = 0; x < 800; ++x)
        for (int y = 0, run = 0; y <= 600; ++y) {
            const uint8_t* p = &f[(size_t(y % 600) * 800 + x) * 3];
            const bool grey = p[0] == p[1] && p[1] == p[2], ink = y < 600 && grey && p[0] == 48;
            ASSERT_TRUE(ink || y == 600 || (grey && p[0] == 153)) << x << "," << y;
            if (ink) {
                ++run;
            } else {
                ++runs[run];
                run = 0;
            }
        }
    EXPECT_EQ(std::max_element(runs.begin() + 1, runs.end()) - runs.begin(), 3);
    tea.draw(1234);
    EXPECT_FALSE(frame() == f);
    tea.start = 50000;
    for (int fps : {0, 30, 60}) {
        for (int k = 0; k < fps; ++k)
            tea.draw(tea.start + k * 1000 / fps);
        tea.draw(51000);
        EXPECT_NEAR(tea.phase, 2.02 * 61, 1e-4) << fps; // 60 frames before it, 2.02 each
    }
}
