// The 2D projection scope, the screen textures and the ripple pattern.
#include "glpp/Screen.h"
#include "platform/Settings.h"
#include "support/GlTest.h"

namespace {

using Screen = GlTest;

std::vector<GLint> texture(std::initializer_list<GLenum> levelParameters) {
    std::vector<GLint> v;
    for (GLenum p : levelParameters)
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, p, &v.emplace_back());
    for (GLenum p :
         {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T})
        glGetTexParameteriv(GL_TEXTURE_2D, p, &v.emplace_back());
    return v;
}

TEST_F(Screen, Ortho2DMapsItsRangeAndRestoresBothStacks) {
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glMatrixMode(GL_PROJECTION);
    glTranslatef(0.1f, 0.2f, 0.3f);
    glMatrixMode(GL_MODELVIEW);
    glScalef(2, 3, 4);
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
        glMatrixMode(mode);
        GlState before = glState(), inside;
        for (float d : {1.0f, 0.0f}) { // an empty range leaves the identity, without an error
            GLPP::glppOrtho2D ortho(-200 * d, 600 * d, -200 * d, 200 * d);
            inside = glState();
        }
        EXPECT_EQ(inside["projection"], identity);
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
        {
            GLPP::glppOrtho2D ortho(-200, 600, -200, 200);
            inside = glState();
        }
        before["matrix mode"] = {GL_MODELVIEW};
        EXPECT_EQ(glState(), before) << mode;
        EXPECT_EQ(inside["matrix mode"], std::vector<double>{GL_MODELVIEW});
        EXPECT_EQ(inside["modelview"], identity);
        EXPECT_EQ(inside["stacks"], (std::vector<double>{2, 2}));
        EXPECT_EQ(inside["projection"], (std::vector<double>{2.0f / 800, 0, 0, 0, 0, 2.0f / 400, 0,
                                                             0, 0, 0, -1, 0, -0.5, 0, 0, 1}));
    }
}

TEST_F(Screen, ScreenTexturesCoverTheScreenInBothModes) {
    for (bool big : {true, false}) {
        open(big);
        const ScreenExtent e = screenExtent();
        EXPECT_EQ(e.sMax, big ? 0.78125f : 0.625f);
        EXPECT_EQ(e.tMax, big ? 0.5859375f : 0.9375f);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, makeScreenTexture());
        EXPECT_FALSE(glOn(GL_TEXTURE_2D));
        EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 1);
        EXPECT_EQ(texture({GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT, GL_TEXTURE_INTERNAL_FORMAT}),
                  (std::vector<GLint>{1024, big ? 1024 : 512, GL_RGBA, GL_LINEAR, GL_LINEAR,
                                      GL_CLAMP, GL_CLAMP}));
    }
    GLuint names[2] = {0, 0}; // two at once, as the blur transition takes them
    makeScreenTextures(names, 2, 64, 64);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(texture({GL_TEXTURE_WIDTH})[0], 64);
}

TEST_F(Screen, RippleTextureHoldsThePattern) {
    const std::vector<uint8_t> p = ripplePixels();
    ASSERT_EQ(p.size(), 262144u);
    const auto at = [&](int row, int column) { return p[(size_t(row) * 256 + column) * 4]; };
    for (int k = 0; k < 256; ++k)
        ASSERT_TRUE(at(0, k) == 192 && at(k, 0) == 192) << k;
    EXPECT_EQ(std::vector<int>({at(16, 16), at(16, 48), at(8, 8), at(32, 16)}),
              std::vector<int>({255, 129, 223, 191}));
    for (size_t i = 0; i < p.size(); i += 4)
        ASSERT_TRUE(p[i] == p[i + 1] && p[i] == p[i + 2] && p[i + 3] == 255) << i;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glBindTexture(GL_TEXTURE_2D, makeRippleTexture());
    EXPECT_FALSE(glOn(GL_TEXTURE_2D));
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 8);
    EXPECT_EQ(texture({GL_TEXTURE_WIDTH}),
              (std::vector<GLint>{256, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    std::vector<uint8_t> texels(p.size());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_TRUE(texels == p);
}

} // namespace
