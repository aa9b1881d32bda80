// The benchmark's bare tile reference in a real GL context: it must draw the very
// picture of the cube scene's tile variants, from the placements that the scene's own
// draw makes, so that the time it takes is a fair yardstick.
#include "BareTiles.h"
#include "effects/CubeVom.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "support/GlTest.h"
#include "test_scene_files.h"
#include <memory>

namespace {

std::vector<uint8_t> frame() {
    std::vector<uint8_t> rgb(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

struct Difference {
    int pixels = 0; // pixels with any channel off by more than 2
    int lit = 0;    // pixels of the first frame that are not black
};

Difference compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Difference d;
    for (size_t i = 0; i < a.size(); i += 3) {
        bool off = false;
        for (size_t c = 0; c < 3; ++c)
            off = off || std::abs(int(a[i + c]) - int(b[i + c])) > 2;
        d.pixels += off;
        d.lit += a[i] || a[i + 1] || a[i + 2];
    }
    return d;
}

class BareTilesTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(scratch.ok());
        // A flare with structure, so that a wrong texture coordinate shows.
        std::vector<Rgb> flare;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                flare.push_back({uint8_t(x * 16), uint8_t(y * 16), uint8_t((x ^ y) * 16)});
        ASSERT_TRUE(writeTga("DATAS/flare.tga", 16, 16, flare));
        ASSERT_TRUE(writeSolidTga("DATAS/map.tga", 4, 4, {255, 255, 255}));
        cube = std::make_unique<CubeVom>();
        glDisable(GL_TEXTURE_2D); // as the scene leaves unit 0 from its first draw on
        for (int m = 0; m < 7; ++m)
            methods[m].set(Attrib("method", m));
    }

    Fx entry(int method, int start, int duration) {
        Fx fx(cube.get(), duration, &methods[method]);
        fx.start = start;
        return fx;
    }

    ScratchDir scratch;
    std::unique_ptr<CubeVom> cube;
    AttribSet methods[7];
};

} // namespace

TEST_F(BareTilesTest, RecordsEveryTileOfTheVariantAndDrawsNothing) {
    struct Case {
        int method, tiles;
    };
    for (const Case c : {Case{0, 169}, Case{1, 403}, Case{5, 403}, Case{6, 403}}) {
        Fx fx = entry(c.method, 0, 10000);
        fill(0, 0, 0);
        const std::vector<ListCall> calls = recordListCalls(fx, 4000);
        ASSERT_EQ(int(calls.size()), c.tiles) << "method " << c.method;
        for (const ListCall& call : calls)
            EXPECT_EQ(call.list, cube->tileList);
        EXPECT_EQ(compare(frame(), frame()).lit, 0) << "method " << c.method;
        // Tiles stand at different places: the matrices are the draw's own, not one copy.
        EXPECT_NE(calls.front().modelview, calls.back().modelview);
    }
    Fx surface = entry(3, 0, 10000);
    const std::vector<ListCall> calls = recordListCalls(surface, 4000);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].list, cube->surfaceList);
    EXPECT_EQ(drawBareTiles(*cube, calls), 0);
}

// The same picture, pixel for pixel, at moments of every tile variant, as the scene draws
// it with its designed meshes.
TEST_F(BareTilesTest, DrawsTheScenesOwnPicture) {
    CubeVom::exact = true;
    struct Case {
        int method, start, time;
    };
    for (const Case c : {Case{1, 0, 4000}, Case{5, 95000, 97500}, Case{6, 10000, 13000},
                         Case{0, 20000, 26000}, Case{0, 20000, 21000}}) {
        Fx fx = entry(c.method, c.start, 5000);
        fill(0, 0, 0);
        fx.draw(c.time);
        const std::vector<uint8_t> scene = frame();
        const std::vector<ListCall> calls = recordListCalls(fx, c.time);
        fill(0, 0, 0);
        EXPECT_EQ(drawBareTiles(*cube, calls), int(calls.size()));
        const Difference d = compare(scene, frame());
        EXPECT_GT(d.lit, 20000) << "method " << c.method << " at " << c.time;
        EXPECT_EQ(d.pixels, 0) << "method " << c.method << " at " << c.time;
    }
    CubeVom::exact = false;
}

// The reference leaves GL as the scene does, so the frame's later tracks see the same.
TEST_F(BareTilesTest, LeavesTheStateAsTheSceneDoes) {
    const GLenum caps[] = {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_CULL_FACE, GL_TEXTURE_2D};
    Fx fx = entry(1, 0, 10000);
    fx.draw(1000);
    std::vector<GLboolean> afterScene;
    for (GLenum cap : caps)
        afterScene.push_back(glIsEnabled(cap));
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
    drawBareTiles(*cube, recordListCalls(fx, 1000));
    for (size_t i = 0; i < afterScene.size(); ++i)
        EXPECT_EQ(glIsEnabled(caps[i]), afterScene[i]) << "capability " << i;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
}
