// The 2D projection scope, the screen textures with capture and draw-back, and the
// ripple pattern, in both display modes.
#include "glpp/Screen.h"
#include "platform/Settings.h"
#include "support/GlTest.h"

using GLPP::glppOrtho2D;

namespace {

using Screen = GlTest;

std::vector<double> doubles(GLenum pname, int n) {
    GLdouble v[16];
    glGetDoublev(pname, v);
    return std::vector<double>(v, v + n);
}
GLint level(GLenum what) {
    GLint v = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
    return v;
}
std::vector<GLint> params() {
    std::vector<GLint> v;
    for (GLenum p :
         {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        v.push_back(-1);
        glGetTexParameteriv(GL_TEXTURE_2D, p, &v.back());
    }
    return v;
}

TEST_F(Screen, Ortho2DMapsItsRangeAndRestoresBothStacks) {
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
        SCOPED_TRACE(mode);
        glMatrixMode(GL_PROJECTION);
        glTranslatef(0.1f, 0.2f, 0.3f);
        glMatrixMode(GL_MODELVIEW);
        glScalef(2, 3, 4);
        const GlState before = glState();
        glMatrixMode(mode);
        {
            glppOrtho2D ortho(-200, 600, -200, 200);
            EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
            EXPECT_EQ(doubles(GL_PROJECTION_MATRIX, 16),
                      (std::vector<double>{2.0f / 800, 0, 0, 0, 0, 2.0f / 400, 0, 0, 0, 0, -1, 0,
                                           -0.5, 0, 0, 1}));
            EXPECT_EQ(doubles(GL_MODELVIEW_MATRIX, 16), identity);
            EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), 2);
            EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 2);
        }
        EXPECT_EQ(changed(before, glState()), std::vector<std::string>{});
        for (float d : {0.0f, -0.0f}) { // an empty range: the identity, and no GL error
            glppOrtho2D empty(-d, d, -d, d);
            EXPECT_EQ(doubles(GL_PROJECTION_MATRIX, 16), identity);
        }
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(Screen, ScreenTexturesHoldTheFrameExactlyInBothModes) {
    for (bool big : {true, false}) {
        open(big);
        const platform::Settings& s = platform::settings();
        SCOPED_TRACE(s.width);
        const ScreenExtent e = screenExtent();
        EXPECT_EQ(e.sMax, big ? 0.78125f : 0.625f);
        EXPECT_EQ(e.tMax, big ? 0.5859375f : 0.9375f);

        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const GLuint name = makeScreenTexture();
        EXPECT_FALSE(glOn(GL_TEXTURE_2D));
        EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 1);
        glBindTexture(GL_TEXTURE_2D, name);
        EXPECT_EQ(level(GL_TEXTURE_WIDTH), s.texWidth);
        EXPECT_EQ(level(GL_TEXTURE_HEIGHT), s.texHeight);
        EXPECT_EQ(level(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
        EXPECT_EQ(params(), (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_CLAMP, GL_CLAMP}));

        // A frame where every pixel differs from its neighbours, captured and drawn back.
        std::vector<uint8_t> image(size_t(s.width) * s.height * 4);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = uint8_t(i % 4 == 3 ? 255 : (i * 7) ^ (i / 4 / s.width * 5));
        glRasterPos2f(-1, -1);
        glDrawPixels(s.width, s.height, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
        const std::vector<uint8_t> painted = frame();
        glEnable(GL_TEXTURE_2D);
        captureScreen(name);
        fill(0.5f, 0.5f, 0.5f);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        {
            glppOrtho2D unit(0, 1, 0, 1);
            glBegin(GL_QUADS);
            quadCorners(0, 0, 1, 1, e.sMax, e.tMax);
            glEnd();
        }
        EXPECT_TRUE(frame() == painted) << "the frame drawn back differs";
        glDisable(GL_TEXTURE_2D);
    }
    GLuint names[2] = {0, 0}; // two at once, as the blur transition takes them
    makeScreenTextures(names, 2, 64, 64);
    EXPECT_NE(names[0], names[1]);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    EXPECT_EQ(level(GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(Screen, RippleTextureHoldsThePattern) {
    const std::vector<uint8_t> p = ripplePixels();
    ASSERT_EQ(p.size(), 262144u);
    const auto at = [&](int row, int column) { return p[(size_t(row) * 256 + column) * 4]; };
    for (int k = 0; k < 256; ++k) {
        ASSERT_EQ(at(0, k), 192);
        ASSERT_EQ(at(k, 0), 192);
    }
    EXPECT_EQ(at(16, 16), 255);
    EXPECT_EQ(at(16, 48), 129);
    EXPECT_EQ(at(8, 8), 223);
    EXPECT_EQ(at(32, 16), 191);
    for (size_t i = 0; i < p.size(); i += 4)
        ASSERT_TRUE(p[i] == p[i + 1] && p[i] == p[i + 2] && p[i + 3] == 255) << i;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GLuint name = makeRippleTexture();
    EXPECT_FALSE(glOn(GL_TEXTURE_2D));
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 8);
    glBindTexture(GL_TEXTURE_2D, name);
    EXPECT_EQ(params(), (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    std::vector<uint8_t> texels(262144);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_TRUE(texels == p);
}

} // namespace
