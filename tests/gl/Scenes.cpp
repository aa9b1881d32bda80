// The cube scene and the outlined scene as a viewer sees them, from the colour and the depth
// their draws leave: the shapes where the design puts them at a moment, in its light.
#include "effects/CubeVom.h"
#include "effects/Random.h"
#include "effects/Tea.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "platform/Gl.h"
#include "support/GlTest.h"
#include <algorithm>
#include <cmath>

namespace {

using Vec = std::array<double, 3>;
const double F = 1 / std::tan(M_PI / 8), aspect = 4.0 / 3; // the scene's 45-degree view
const double reach = 0.5357; // a tile's corners from its centre: |(0.375, 0.075, 0.375)|

double distance(const Vec& a, const Vec& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Tile centres of method 0's 13 x 13 grid 12 ahead, or of its full twist: turned a quarter
// about the view axis and 10.5 nearer.
std::vector<Vec> grid(bool twist) {
    std::vector<Vec> v;
    for (double c = -6; c <= 6; ++c)
        for (double j = -6; j <= 6; ++j)
            v.push_back(twist ? Vec{-j, c, -1.5} : Vec{c, j, -12});
    return v;
}

// Tile centres of the 13 rows of 31 between the grid (m = 0: x = i - 6, y = c, 12 ahead) and
// the rings (m = 1: radius 5 about the axis 12 ahead, rows 0.75 apart, 12 degrees between
// tiles, turned time / 100 degrees, the odd rows twice that).
std::vector<Vec> morph(double m, int time) {
    std::vector<Vec> v;
    for (int c = -6; c <= 6; ++c)
        for (int i = 0; i <= 30; ++i) {
            const double a = m * (12 * i + time * ((c & 1) + 1) / 100.0) * M_PI / 180;
            v.push_back({(1 - m) * (i - 6) - 5 * m * std::sin(a), (1 - m + 0.75 * m) * c,
                         -12 - 5 * m * std::cos(a)});
        }
    return v;
}

// A frame of the scene: its colour (top row first) and the eye-space point that each pixel
// shows (bottom row first; none where the depth stayed cleared).
struct Seen {
    std::vector<uint8_t> rgb;
    std::vector<float> depth;
    bool shown(int x, int y) const { return depth[size_t(y) * 800 + x] < 1; }
    const uint8_t* colour(int x, int y) const { return &rgb[(size_t(599 - y) * 800 + x) * 3]; }
    Vec at(int x, int y) const {
        const double z = 200 / (99 * (2.0 * depth[size_t(y) * 800 + x] - 1) - 101);
        return {((x + 0.5) / 400 - 1) * -z * aspect / F, ((y + 0.5) / 300 - 1) * -z / F, z};
    }
    // Runs `f(x, y, point)` for every second pixel across and down that shows a point.
    template <class Each> void each(Each f) const {
        for (int y = 0; y < 600; y += 2)
            for (int x = 0; x < 800; x += 2)
                if (shown(x, y)) f(x, y, at(x, y));
    }
};

class CubeScene : public GlTest {
protected:
    // `method` at `time` of an entry from `start`, over a grey frame whose depth is at 0.5.
    static Seen show(int method, int time, int start, int duration = 9000) {
        CubeVom& scene = cube();
        startState(false);
        fill(0.25f, 0.5f, 0.75f);
        glClearDepth(0.5);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1);
        AttribSet set;
        set.set(Attrib("method", method));
        Fx entry(&scene, duration, &set);
        entry.start = start;
        entry.draw(time);
        Seen s{frame(), std::vector<float>(800 * 600)};
        glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_FLOAT, s.depth.data());
        return s;
    }
    static CubeVom& cube() {
        static CubeVom* scene = new CubeVom; // with the build's flare; lives as in the show
        return *scene;
    }
};

// Every point shown within a tile's reach of a centre the design gives, and every centre on
// screen seen (or hidden by something nearer). The flare mapped on the tiles is dark beyond
// its disc, so tiles turned from the viewer fall below the ambient light (0.2 of the
// material's colour) alone.
TEST_F(CubeScene, TilesStandWhereTheDesignPutsThem) {
    const struct {
        int method, time, start;
        std::vector<Vec> centres;
    } rows[] = {
        {0, 1000, 0, grid(false)},           // no twist 1000 into the entry,
        {0, 5000, 0, grid(true)},            // the full twist at 5000,
        {0, 12000, 11000, grid(false)},      // whatever the time
        {1, 300, 0, morph(1, 300)},          // rings: the even ones 3 degrees on, odd 6
        {1, 8000, 7000, morph(1, 8000)},     // 80 and 160
        {5, 8000, 8000, morph(0, 8000)},     // the morph to the rings starts as a grid,
        {5, 11000, 8000, morph(0.5, 11000)}, // a third in it is halfway (sin 30 degrees),
        {5, 17000, 8000, morph(1, 17000)},   // and it ends as the rings
        {6, 8000, 8000, morph(1, 8000)},     // the morph back
        {6, 17000, 8000, morph(0, 17000)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("method " + std::to_string(r.method) + " at " + std::to_string(r.time) +
                     " from " + std::to_string(r.start));
        const Seen s = show(r.method, r.time, r.start);
        int points = 0, far = 0, dark = 0;
        s.each([&](int x, int y, const Vec& p) {
            double nearest = 1e9;
            for (const Vec& c : r.centres)
                nearest = std::min(nearest, distance(p, c));
            ++points, far += nearest > reach + 0.01, dark += s.colour(x, y)[1] < 40;
        });
        EXPECT_TRUE(far == 0 && dark > points / 20)
            << far << " far, " << dark << " dark of " << points;
        for (const Vec& c : r.centres) {
            const int x = int(400 * (1 + c[0] * F / aspect / -c[2])),
                      y = int(300 * (1 + c[1] * F / -c[2]));
            if (c[2] > -1 || x < 0 || y < 0 || x >= 800 || y >= 600) continue;
            EXPECT_TRUE(s.shown(x, y) &&
                        (distance(s.at(x, y), c) <= reach + 0.01 || s.at(x, y)[2] > c[2] + reach))
                << "the tile centred at " << c[0] << ", " << c[1] << ", " << c[2];
        }
    }
}

// Lit straight on, 0.87 * (0.2 + 0.87) and so on: the rings' front tile, which reflects the
// flare's white core. The sphere: every point shown 1.5 about a point 5 ahead, but for its
// facets, its outline 227 pixels round (1.5 / sqrt(5^2 - 1.5^2) of F). The lobed surface,
// 12 ahead, turned T / 20 degrees about (0.25, 1, 0.5) (half a turn at 3600): both its sides
// drawn, its points at the radius |4 cos 4a cos 4b| of their direction (a about its axis, b
// from it) but for the chords of its coarse facets.
TEST_F(CubeScene, LightSphereAndSurface) {
    const Seen front = show(1, 0, 0);
    EXPECT_EQ(std::vector<int>(front.colour(400, 300), front.colour(400, 300) + 3),
              (std::vector<int>{237, 255, 242}));
    int points = 0, off = 0;
    show(4, 3000, 0).each([&](int, int, const Vec& p) {
        ++points, off += std::abs(distance(p, {0, 0, -5}) - 1.493) > 0.008;
    });
    EXPECT_TRUE(off == 0 && std::abs(points - M_PI * 227 * 227 / 4) < 400) << off << ", " << points;
    EXPECT_EQ(feedback([] { show(3, 0, 0); }).size(), 2 * 1681u); // its quads as two triangles
    const Vec n = {0.25 / 1.1456, 1 / 1.1456, 0.5 / 1.1456};      // the surface's axis
    std::vector<double> miss;
    show(3, 3600, 0).each([&](int, int, Vec p) {
        p[2] += 12;
        const double d = 2 * (n[0] * p[0] + n[1] * p[1] + n[2] * p[2]); // turned back
        p = {d * n[0] - p[0], d * n[1] - p[1], d * n[2] - p[2]};
        const double r = std::hypot(p[0], p[1], p[2]), a = std::atan2(p[1], p[0]);
        miss.push_back(
            std::abs(r - std::abs(4 * std::cos(4 * a) * std::cos(4 * std::acos(p[2] / r)))));
    });
    std::nth_element(miss.begin(), miss.begin() + miss.size() / 2, miss.end());
    EXPECT_TRUE(miss.size() > 10000 && miss[miss.size() / 2] < 0.3); // 0.8 turned 10 degrees off
}

// Method 2 and those outside 0 to 6 only clear the depth; the tiles' turn, the rings', the
// surface's and the sphere's follow the show's clock whatever the entry's start; unit 1's
// texturing states before a draw land on unit 0 after it.
TEST_F(CubeScene, ClockAndNothingElse) {
    for (int method : {2, -1, 7}) {
        const Seen s = show(method, 1000, 0);
        fill(0.25f, 0.5f, 0.75f);
        EXPECT_TRUE(s.rgb == frame() && *std::min_element(s.depth.begin(), s.depth.end()) == 1);
    }
    for (auto [method, time, start] :
         {std::array{0, 1500, 1000}, {1, 8000, 7000}, {3, 5000, 4000}, {4, 3000, 2000}})
        EXPECT_EQ(show(method, time, 0).rgb, show(method, time, start).rgb) << method;
    platform::activeTexture(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_GEN_S);
    platform::activeTexture(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_GEN_T);
    cube().draw(1000);
    EXPECT_TRUE(glOn(GL_TEXTURE_GEN_S) && !glOn(GL_TEXTURE_GEN_T));
}

} // namespace

// Only the outlines reach the frame: 3 pixels wide, in the grey 0.19. Each draw runs the
// cube field twice, 1.01 apart in phase, taking 36 random sizes each time.
TEST_F(CubeScene, OutlinedCubesLeaveOnlyTheirOutlines) {
    Tea tea("DATAS\\map.tga", 1);
    tea.start = 1234;
    restartRandom(5);
    for (int i = 0; i < 72; ++i)
        std::rand();
    const int next = std::rand();
    restartRandom(5);
    fill(0.6f, 0.6f, 0.6f);
    tea.draw(1234);
    EXPECT_EQ(std::rand(), next);
    const std::vector<uint8_t> f = frame();
    std::vector<int> runs(601); // how many vertical runs of outline pixels are each long
    for (int x = 0; x < 800; ++x)
        for (int y = 0, run = 0; y <= 600; ++y) {
            const uint8_t* p = y < 600 ? &f[(size_t(y) * 800 + x) * 3] : nullptr;
            if (p && p[0] == 48 && p[1] == 48 && p[2] == 48) {
                ++run;
                continue;
            }
            ASSERT_TRUE(!p || (p[0] == 153 && p[1] == 153 && p[2] == 153)) << x << "," << y;
            if (run) ++runs[run];
            run = 0;
        }
    EXPECT_EQ(std::max_element(runs.begin() + 1, runs.end()) - runs.begin(), 3);
    tea.draw(1234);
    EXPECT_FALSE(frame() == f) << "the outlines wobble from draw to draw";
    // The cubes stand where a 60 Hz run has them at a moment, however many frames came
    // before: at 51000 drawn alone, after a 30 fps and a 60 fps second.
    tea.start = 50000;
    for (int fps : {0, 30, 60}) {
        for (int k = 0; k < fps; ++k)
            tea.draw(tea.start + k * 1000 / fps);
        tea.draw(51000);
        EXPECT_NEAR(tea.phase, 2.02 * 61, 1e-4) << fps; // 60 frames before it, 2.02 each
    }
}
