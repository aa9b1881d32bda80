// The cube scene in a real GL context: where each variant draws, what it leaves in
// the GL state, with flare and map images written by the test.
#include "effects/CubeVom.h"
#include "platform/Gl.h"
#include "engine/Attrib.h"
#include "support/GlTest.h"
#include "texture/Texture.h"
#include "test_scene_files.h"
#include <GL/glext.h>
#include <algorithm>
#include <memory>

namespace {

// What a draw changed on a black frame.
struct Scan {
    int count = 0; // pixels that are not black
    int minX = 9999, maxX = -1, minY = 9999, maxY = -1;
    bool redOnly = true; // every changed pixel has no green and no blue
    std::vector<uint8_t> rgba;

    static Scan frame() {
        Scan s;
        s.rgba.resize(800 * 600 * 4);
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, s.rgba.data());
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint8_t* p = &s.rgba[size_t(y * 800 + x) * 4];
                if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
                ++s.count;
                s.minX = std::min(s.minX, x);
                s.maxX = std::max(s.maxX, x);
                s.minY = std::min(s.minY, y);
                s.maxY = std::max(s.maxY, y);
                if (p[1] != 0 || p[2] != 0) s.redOnly = false;
            }
        return s;
    }

    // Pixels whose colour differs from the other frame's.
    int differences(const Scan& other) const {
        int n = 0;
        for (size_t i = 0; i < rgba.size(); i += 4)
            if (!std::equal(&rgba[i], &rgba[i] + 3, &other.rgba[i])) ++n;
        return n;
    }
};

class CubeTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(scratch.ok());
        // A red flare shows where the sphere-mapped texture lands; the map is white.
        ASSERT_TRUE(writeSolidTga("DATAS/flare.tga", 4, 4, {255, 0, 0}));
        ASSERT_TRUE(writeSolidTga("DATAS/map.tga", 4, 4, {255, 255, 255}));
        cube = std::make_unique<CubeVom>();
        // The loads leave unit 0 textured with the map bound; the scene's own texture
        // is on unit 1, and from the first draw on unit 0 is untextured (see the last
        // test), so the pictures are checked from there.
        glDisable(GL_TEXTURE_2D);
        cube->start = 0;
        cube->duration = 10000;
    }

    Scan drawOnBlack(int method, int time) {
        cube->method = method;
        fill(0, 0, 0);
        cube->draw(time);
        return Scan::frame();
    }

    ScratchDir scratch;
    std::unique_ptr<CubeVom> cube;
};

} // namespace

TEST_F(CubeTest, ConstructionCompilesThreeConsecutiveListsAndLoadsBothImages) {
    EXPECT_TRUE(glIsList(cube->tileList));
    EXPECT_EQ(cube->surfaceList, cube->tileList + 1);
    EXPECT_EQ(cube->sphereList, cube->tileList + 2);
    EXPECT_TRUE(glIsList(cube->sphereList));
    EXPECT_NE(cube->flareTexture->id, 0u);
    EXPECT_NE(cube->mapTexture->id, 0u);
    EXPECT_EQ(cube->method, 0);
}

TEST_F(CubeTest, ConfigureReadsTheMethodAndKeepsItWhenAbsent) {
    AttribSet five, other;
    five.set(Attrib("method", 5));
    other.set(Attrib("text", "x"));
    cube->configure(&five);
    EXPECT_EQ(cube->method, 5);
    cube->configure(&other);
    EXPECT_EQ(cube->method, 5);
    cube->configure(nullptr);
    EXPECT_EQ(cube->method, 5);
}

// 13 x 13 tiles 12 deep fill the screen from side to side, flare-textured.
TEST_F(CubeTest, TileGridCoversTheScreenInTheFlaresColour) {
    const Scan s = drawOnBlack(0, 1000);
    EXPECT_GT(s.count, 50000);
    EXPECT_LT(s.minX, 100);
    EXPECT_GT(s.maxX, 700);
    EXPECT_LT(s.minY, 100);
    EXPECT_GT(s.maxY, 500);
    EXPECT_TRUE(s.redOnly);
}

// Rings of radius 5 about a point 12 deep reach at most 5/12 of the depth sideways.
TEST_F(CubeTest, RingsStayInTheMiddleBand) {
    const Scan s = drawOnBlack(1, 1000);
    EXPECT_GT(s.count, 20000);
    EXPECT_GT(s.minX, 60);
    EXPECT_LT(s.maxX, 740);
    EXPECT_LT(s.minX, 200);
    EXPECT_GT(s.maxX, 600);
    EXPECT_TRUE(s.redOnly);
}

// Lobes of radius up to 4 about a point 12 deep, textured.
TEST_F(CubeTest, LobedSurfaceStaysWithinItsRadius) {
    const Scan s = drawOnBlack(3, 5000);
    EXPECT_GT(s.count, 20000);
    // A point 4 from the centre is seen at most atan(1 / sqrt(8)) off the axis.
    EXPECT_GE(s.minX, 140);
    EXPECT_LE(s.maxX, 660);
    EXPECT_GE(s.minY, 40);
    EXPECT_LE(s.maxY, 560);
    EXPECT_TRUE(s.redOnly);
    // Its transforms stay on the modelview matrix.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[14], -12);
}

// A sphere of radius 1.5 five units deep: a disc of about 228 pixels' radius in the
// middle, lit white, not textured.
TEST_F(CubeTest, SphereIsAnUntexturedDiscInTheMiddle) {
    const Scan s = drawOnBlack(4, 1000);
    EXPECT_GE(s.minX, 165);
    EXPECT_LE(s.maxX, 635);
    EXPECT_GE(s.minY, 65);
    EXPECT_LE(s.maxY, 535);
    EXPECT_GT(s.maxX - s.minX, 420);
    EXPECT_GT(s.maxY - s.minY, 420);
    EXPECT_FALSE(s.redOnly);
    const Rgba centre = pixel(400, 300);
    EXPECT_GT(centre[0], 150) << rgba(centre);
    EXPECT_GT(centre[1], 150) << rgba(centre);
    EXPECT_GT(centre[2], 150) << rgba(centre);
}

// The morphs end where the rings are: method 6 starts as the rings, method 5 ends as
// them; method 5 starts as a grid reaching from the left edge past the right one.
TEST_F(CubeTest, MorphsMeetTheRingsAtTheirEnds) {
    const int time = 8000;
    const Scan rings = drawOnBlack(1, time);
    cube->start = time;
    const Scan sixAtStart = drawOnBlack(6, time);
    cube->start = time - cube->duration;
    const Scan fiveAtEnd = drawOnBlack(5, time);
    cube->start = time;
    const Scan fiveAtStart = drawOnBlack(5, time);
    EXPECT_LT(sixAtStart.differences(rings), 200);
    EXPECT_LT(fiveAtEnd.differences(rings), 200);
    EXPECT_GT(fiveAtStart.differences(rings), 20000);
    EXPECT_LT(fiveAtStart.minX, 60);
    EXPECT_EQ(fiveAtStart.maxX, 799);
    EXPECT_TRUE(fiveAtStart.redOnly);
    EXPECT_TRUE(sixAtStart.redOnly);
}

// Near the crest of the wave the whole grid turns and comes 10.5 units nearer: its
// depth goes from about 12 to about 1.5 units.
TEST_F(CubeTest, TileGridTwistsTowardsTheViewerAtTheCrest) {
    const auto depths = [&](int tl) {
        cube->method = 0;
        std::vector<float> z;
        std::vector<GLfloat> buffer(1 << 22);
        glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        cube->draw(tl);
        const GLint used = glRenderMode(GL_RENDER);
        for (GLint i = 0; i < used;) {
            if (GLint(buffer[size_t(i)]) != GL_POLYGON_TOKEN) break;
            const GLint n = GLint(buffer[size_t(i) + 1]);
            for (GLint k = 0; k < n; ++k)
                z.push_back(buffer[size_t(i + 2 + 3 * k + 2)]);
            i += 2 + 3 * n;
        }
        return z;
    };
    // Window depth of eye distance d with near 1 and far 100.
    const auto depth = [](float d) { return (101.0f / 99 - 200.0f / (99 * d)) / 2 + 0.5f; };
    const auto calm = depths(1000);
    ASSERT_FALSE(calm.empty());
    for (float z : calm)
        ASSERT_TRUE(z > depth(11) && z < depth(13)) << z;
    const auto twisted = depths(5000);
    ASSERT_FALSE(twisted.empty());
    for (float z : twisted)
        ASSERT_LT(z, depth(2.2f));
}

TEST_F(CubeTest, MethodsWithoutAPictureOnlyClearTheDepth) {
    for (int method : {2, 7, -1}) {
        cube->method = method;
        fill(0.25f, 0.5f, 0.75f);
        glClearDepth(0.25);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1);
        cube->draw(1000);
        const Rgba p = pixel(400, 300);
        EXPECT_TRUE((p == Rgba{64, 128, 191, 255}) || (p == Rgba{64, 128, 192, 255}))
            << method << ": " << rgba(p);
        GLfloat z[3] = {0, 0, 0};
        glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &z[0]);
        glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &z[1]);
        glReadPixels(799, 599, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &z[2]);
        for (float d : z)
            EXPECT_FLOAT_EQ(d, 1.0f) << method;
    }
    const Scan s = drawOnBlack(2, 1000);
    EXPECT_EQ(s.count, 0);
}

// Without a flare image unit 1 binds a texture without an image (0, or an earlier
// test's name from the texture cache, unknown to this context): the tiles draw lit
// but untextured.
class CubeWithoutImages : public GlTest {
protected:
    ScratchDir empty;
};

TEST_F(CubeWithoutImages, DrawsUntextured) {
    ASSERT_TRUE(empty.ok());
    CubeVom cube;
    glDisable(GL_TEXTURE_2D);
    cube.method = 0;
    fill(0, 0, 0);
    cube.draw(1000);
    const Scan s = Scan::frame();
    EXPECT_GT(s.count, 50000);
    EXPECT_FALSE(s.redOnly);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// After any variant: the lighting scope's capabilities as before, unit 0 active,
// unit 1 untextured, the scene's perspective, light and material left set.
TEST_F(CubeTest, DrawLeavesTheStateItsUsersExpect) {
    for (int method : {0, 1, 2, 3, 4, 5, 6}) {
        for (bool before : {false, true}) {
            for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_CULL_FACE})
                before ? glEnable(cap) : glDisable(cap);
            platform::activeTexture(before ? GL_TEXTURE1_ARB : GL_TEXTURE0_ARB);
            cube->method = method;
            cube->draw(3000);
            EXPECT_EQ(glOn(GL_DEPTH_TEST), before) << method;
            EXPECT_EQ(glOn(GL_LIGHTING), before) << method;
            EXPECT_EQ(glOn(GL_LIGHT0), before) << method;
            EXPECT_EQ(glOn(GL_CULL_FACE), before) << method;
            EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB) << method;
            platform::activeTexture(GL_TEXTURE1_ARB);
            EXPECT_FALSE(glOn(GL_TEXTURE_2D)) << method;
            EXPECT_FALSE(glOn(GL_TEXTURE_GEN_S)) << method;
            EXPECT_FALSE(glOn(GL_TEXTURE_GEN_T)) << method;
            platform::activeTexture(GL_TEXTURE0_ARB);
            EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << method;
        }
    }
    // gluPerspective(45, 800 / 600, 1, 100), replaced rather than pushed.
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[0], 2.4142136 * 600 / 800, 1e-5);
    EXPECT_NEAR(p[5], 2.4142136, 1e-5);
    EXPECT_NEAR(p[10], -101.0 / 99, 1e-5);
    EXPECT_NEAR(p[11], -1, 1e-6);
    EXPECT_NEAR(p[14], -200.0 / 99, 1e-5);
    EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), 1);
    GLfloat light[4], material[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_FLOAT_EQ(light[2], 10);
    EXPECT_FLOAT_EQ(light[3], 1);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, light);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, material);
    const float colour[4] = {0.87f, 0.91f, 0.88f, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(light[i], colour[i]);
        EXPECT_FLOAT_EQ(material[i], colour[i]);
    }
}

// Unit 1's guards are deleted with unit 0 active, so unit 0 takes the texturing and
// generation states that unit 1 had before the draw.
TEST_F(CubeTest, UnitOneStatesBeforeTheDrawLandOnUnitZero) {
    platform::activeTexture(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    platform::activeTexture(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    cube->method = 2;
    cube->draw(0);
    EXPECT_TRUE(glOn(GL_TEXTURE_2D));
    EXPECT_TRUE(glOn(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glOn(GL_TEXTURE_GEN_T));
    platform::activeTexture(GL_TEXTURE1_ARB);
    EXPECT_FALSE(glOn(GL_TEXTURE_2D));
    EXPECT_FALSE(glOn(GL_TEXTURE_GEN_S));
    platform::activeTexture(GL_TEXTURE0_ARB);
}
