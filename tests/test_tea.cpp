// The outlined scene in a real GL context: only dark outlines reach the frame, the
// outline passes put back the state they change, one random sequence is shared.
#include "effects/Tea.h"
#include "support/GlTest.h"
#include "test_scene_files.h"
#include "texture/Texture.h"
#include <cstdlib>
#include <memory>

namespace {

class TeaTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(scratch.ok());
        ASSERT_TRUE(writeSolidTga("DATAS/map.tga", 4, 4, {255, 255, 255}));
        tea = std::make_unique<Tea>("DATAS\\map.tga", 1);
    }

    ScratchDir scratch;
    std::unique_ptr<Tea> tea;
};

// Everything a frame holds, for comparing two.
std::vector<uint8_t> frame() {
    std::vector<uint8_t> rgba(800 * 600 * 4);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

} // namespace

// The cubes' faces stay transparent: every pixel is either what the frame held or the
// outline's grey of 0.19.
TEST_F(TeaTest, OnlyDarkOutlinesReachTheFrame) {
    for (int time : {0, 400, 1000, 2000, 50000}) {
        fill(0.6f, 0.6f, 0.7f);
        const Rgba before = pixel(0, 0);
        tea->draw(time);
        const std::vector<uint8_t> px = frame();
        int outline = 0, other = 0;
        for (size_t i = 0; i < px.size(); i += 4) {
            if (px[i] == before[0] && px[i + 1] == before[1] && px[i + 2] == before[2]) continue;
            if (px[i] == 48 && px[i + 1] == 48 && px[i + 2] == 48)
                ++outline;
            else
                ++other;
        }
        EXPECT_GT(outline, 500) << "time " << time;
        EXPECT_EQ(other, 0) << "time " << time;
    }
}

// Two passes per draw, each running the cube field: the phase grows by 2.02 and 72
// numbers are taken from the one rand() sequence.
TEST_F(TeaTest, EachDrawAdvancesPhaseAndRandomSequence) {
    std::srand(5);
    int expected = 0;
    for (int i = 0; i <= 72; ++i)
        expected = std::rand();
    std::srand(5);
    EXPECT_FLOAT_EQ(tea->phase, 0);
    tea->draw(1234);
    EXPECT_EQ(std::rand(), expected);
    EXPECT_EQ(tea->lastTime, 1234);
    EXPECT_NEAR(tea->phase, 2.02f, 1e-6);
    tea->draw(1250);
    tea->draw(1266);
    EXPECT_NEAR(tea->phase, 6.06f, 1e-5);
    EXPECT_EQ(tea->lastTime, 1266);
}

// New phase and sizes every draw: the same time drawn twice wobbles.
TEST_F(TeaTest, OutlinesWobbleFromDrawToDraw) {
    fill(0, 0, 0);
    tea->draw(400);
    const auto first = frame();
    fill(0, 0, 0);
    tea->draw(400);
    EXPECT_FALSE(first == frame());
}

namespace {

struct SceneState {
    bool depthTest, culling, texture, lighting, light0, colourMaterial;
    GLenum cullFace, depthFunc, frontMode, backMode;
    float lineWidth;
    GLfloat colour[4];
};

void apply(const SceneState& s) {
    const auto set = [](GLenum cap, bool v) { v ? glEnable(cap) : glDisable(cap); };
    set(GL_DEPTH_TEST, s.depthTest);
    set(GL_CULL_FACE, s.culling);
    set(GL_TEXTURE_2D, s.texture);
    set(GL_LIGHTING, s.lighting);
    set(GL_LIGHT0, s.light0);
    set(GL_COLOR_MATERIAL, s.colourMaterial);
    glCullFace(s.cullFace);
    glDepthFunc(s.depthFunc);
    glPolygonMode(GL_FRONT, s.frontMode);
    glPolygonMode(GL_BACK, s.backMode);
    glLineWidth(s.lineWidth);
    glColor4fv(s.colour);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

// What the draw changes comes back, except the projection, the bound texture and the
// texture environment, which the next user sets afresh.
TEST_F(TeaTest, OutlinePassesPutBackTheStateTheyChange) {
    const SceneState states[] = {
        {false,
         false,
         true,
         false,
         false,
         false,
         GL_FRONT,
         GL_LESS,
         GL_LINE,
         GL_POINT,
         1.5f,
         {0.3f, 0.4f, 0.5f, 0.6f}},
        {true,
         true,
         false,
         true,
         true,
         true,
         GL_BACK,
         GL_LEQUAL,
         GL_FILL,
         GL_LINE,
         3.0f,
         {1, 0.5f, 0.25f, 1}},
    };
    for (const SceneState& s : states) {
        apply(s);
        const GLint modelview = glInteger(GL_MODELVIEW_STACK_DEPTH);
        tea->draw(777);
        EXPECT_EQ(glOn(GL_DEPTH_TEST), s.depthTest);
        EXPECT_EQ(glOn(GL_CULL_FACE), s.culling);
        EXPECT_EQ(glOn(GL_TEXTURE_2D), s.texture);
        EXPECT_EQ(glOn(GL_LIGHTING), s.lighting);
        EXPECT_EQ(glOn(GL_LIGHT0), s.light0);
        EXPECT_EQ(glOn(GL_COLOR_MATERIAL), s.colourMaterial);
        EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), GLint(s.cullFace));
        EXPECT_EQ(glInteger(GL_DEPTH_FUNC), GLint(s.depthFunc));
        GLint modes[2];
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], GLint(s.frontMode));
        EXPECT_EQ(modes[1], GLint(s.backMode));
        GLfloat width = 0, colour[4];
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_FLOAT_EQ(width, s.lineWidth);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(colour[i], s.colour[i]);
        GLboolean mask[4];
        glGetBooleanv(GL_COLOR_WRITEMASK, mask);
        for (GLboolean m : mask)
            EXPECT_EQ(m, GL_TRUE);
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), modelview);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        // Left as the first pass set them.
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), GLint(tea->map->id));
        GLint env = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
        EXPECT_EQ(env, GL_MODULATE);
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    }
    // gluPerspective(45, 600 / 800, 1, 100): height over width.
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[0], 2.4142136 * 800 / 600, 1e-5);
    EXPECT_NEAR(p[5], 2.4142136, 1e-5);
    EXPECT_NEAR(p[14], -200.0 / 99, 1e-5);
}

// The passes as reusable bundles: the first writes depth only, the second draws
// back faces as lines in its colour, trimmed by that depth.
TEST_F(TeaTest, FirstPassWritesDepthOnlyAndSecondDrawsBackFaceLines) {
    using Contour = Contour_t<Caller_t<Tea>>;
    fill(0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto quad = [](float z) {
        glBegin(GL_QUADS);
        glVertex3f(-0.5f, -0.5f, z);
        glVertex3f(0.5f, -0.5f, z);
        glVertex3f(0.5f, 0.5f, z);
        glVertex3f(-0.5f, 0.5f, z);
        glEnd();
    };
    {
        Contour::FirstPass pass(0);
        quad(0); // counter-clockwise: a front face
    }
    EXPECT_EQ(pixel(400, 300)[0], 0);
    GLfloat z = 0;
    glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &z);
    EXPECT_NEAR(z, 0.5f, 1e-3);
    {
        Contour::SecondPass pass(3, 1, 0, 0);
        glBegin(GL_QUADS); // clockwise: a back face, drawn as its outline
        glVertex3f(-0.9f, -0.9f, 0.5f);
        glVertex3f(-0.9f, 0.9f, 0.5f);
        glVertex3f(0.9f, 0.9f, 0.5f);
        glVertex3f(0.9f, -0.9f, 0.5f);
        glEnd();
        glBegin(GL_QUADS); // a back face behind the first pass's depth: trimmed away
        glVertex3f(-0.3f, -0.3f, -0.5f);
        glVertex3f(-0.3f, 0.3f, -0.5f);
        glVertex3f(0.3f, 0.3f, -0.5f);
        glVertex3f(0.3f, -0.3f, -0.5f);
        glEnd();
        quad(0.9f); // a front face in front of everything: culled
    }
    EXPECT_EQ(pixel(400, 300)[0], 0);  // inside: no fill
    EXPECT_EQ(pixel(280, 300)[0], 0);  // the hidden edge, at x = -0.3
    EXPECT_EQ(pixel(40, 300)[0], 255); // the left edge, at x = -0.9
    EXPECT_EQ(pixel(40, 300)[1], 0);
    EXPECT_EQ(pixel(400, 30)[0], 255); // the bottom edge, at y = -0.9
}
