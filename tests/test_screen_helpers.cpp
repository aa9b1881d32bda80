// The 2D projection scope, the screen-texture recipe with frame capture and draw-back,
// and the ripple pattern, in a real GL context in both display modes.
#include "platform/Settings.h"
#include "glpp/Screen.h"
#include "support/GlTest.h"
#include <array>
#include <vector>

using GLPP::glppOrtho2D;

namespace {

using Matrix = std::array<float, 16>;

Matrix matrix(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

GLint level(GLenum what) {
    GLint v = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
    return v;
}

GLint param(GLenum what) {
    GLint v = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &v);
    return v;
}

// Projection and modelview set to something an effect might have left behind.
void setMatrices() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(0.1f, 0.2f, 0.3f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(2, 3, 4);
}

// Fills the frame with a pattern where nearly every pixel differs from its neighbours.
std::vector<uint8_t> paintPattern(int w, int h) {
    std::vector<uint8_t> image(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &image[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(x * 7);
            p[1] = uint8_t(y * 5);
            p[2] = uint8_t((x ^ y) * 3);
            p[3] = 255;
        }
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2f(-1, -1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawPixels(w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    return image;
}

std::vector<uint8_t> readFrame(int w, int h) {
    std::vector<uint8_t> frame(size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    return frame;
}

using Screen = GlTest;

TEST_F(Screen, Ortho2DMapsTheRangeAndRestoresBothStacks) {
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
        SCOPED_TRACE(mode);
        setMatrices();
        const Matrix projection = matrix(GL_PROJECTION_MATRIX);
        const Matrix modelview = matrix(GL_MODELVIEW_MATRIX);
        const GLint projectionDepth = glInteger(GL_PROJECTION_STACK_DEPTH);
        const GLint modelviewDepth = glInteger(GL_MODELVIEW_STACK_DEPTH);
        glMatrixMode(mode);
        {
            glppOrtho2D ortho(-200, 600, -200, 200);
            EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
            EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), projectionDepth + 1);
            EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), modelviewDepth + 1);
            const Matrix p = matrix(GL_PROJECTION_MATRIX);
            EXPECT_FLOAT_EQ(p[0], 2.0f / 800);
            EXPECT_FLOAT_EQ(p[5], 2.0f / 400);
            EXPECT_FLOAT_EQ(p[10], -1);
            EXPECT_FLOAT_EQ(p[12], -0.5f);
            EXPECT_FLOAT_EQ(p[13], 0);
            EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX),
                      (Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
        }
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), projectionDepth);
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), modelviewDepth);
        EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
        EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), modelview);
    }
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(Screen, Ortho2DDrawsInItsOwnUnits) {
    setMatrices();
    fill(0, 0, 0);
    {
        glppOrtho2D unit(0, 1, 0, 1);
        glColor3f(0, 1, 0);
        glRectf(0, 0, 0.5f, 0.25f);
    }
    EXPECT_EQ(pixel(10, 10), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(395, 145), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(405, 10), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixel(10, 155), (Rgba{0, 0, 0, 255}));
}

TEST_F(Screen, ExtentOfTheCapturedRegionInBothModes) {
    ScreenExtent e = screenExtent();
    EXPECT_EQ(e.sMax, 0.78125f);
    EXPECT_EQ(e.tMax, 0.5859375f);
    open(false);
    e = screenExtent();
    EXPECT_EQ(e.sMax, 0.625f);
    EXPECT_EQ(e.tMax, 0.9375f);
}

TEST_F(Screen, ScreenTexturesFollowTheRecipe) {
    for (bool big : {true, false}) {
        open(big);
        const platform::Settings& s = platform::settings();
        for (bool texturing : {false, true}) {
            texturing ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            const GLuint name = makeScreenTexture();
            ASSERT_NE(name, 0u);
            EXPECT_EQ(bool(glIsEnabled(GL_TEXTURE_2D)), texturing);
            EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 1);
            glBindTexture(GL_TEXTURE_2D, name);
            EXPECT_EQ(level(GL_TEXTURE_WIDTH), s.texWidth);
            EXPECT_EQ(level(GL_TEXTURE_HEIGHT), s.texHeight);
            EXPECT_EQ(level(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
            EXPECT_EQ(param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
            EXPECT_EQ(param(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
            EXPECT_EQ(param(GL_TEXTURE_WRAP_S), GL_CLAMP);
            EXPECT_EQ(param(GL_TEXTURE_WRAP_T), GL_CLAMP);
        }
    }
    // Two at once, as the blur transition takes them, and a small work texture.
    GLuint names[2] = {0, 0};
    makeScreenTextures(names, 2, 64, 64);
    EXPECT_NE(names[0], 0u);
    EXPECT_NE(names[1], 0u);
    EXPECT_NE(names[0], names[1]);
    for (GLuint name : names) {
        glBindTexture(GL_TEXTURE_2D, name);
        EXPECT_EQ(level(GL_TEXTURE_WIDTH), 64);
        EXPECT_EQ(level(GL_TEXTURE_HEIGHT), 64);
        EXPECT_EQ(param(GL_TEXTURE_WRAP_T), GL_CLAMP);
    }
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// Capture puts pixel (x, y) at texel (x, y); drawing the texture back over the whole
// screen with the extent's coordinates reproduces the frame exactly.
TEST_F(Screen, CapturedFrameDrawsBackExactlyInBothModes) {
    for (bool big : {true, false}) {
        open(big);
        const platform::Settings& s = platform::settings();
        SCOPED_TRACE(s.width);
        const GLuint name = makeScreenTexture();
        const std::vector<uint8_t> image = paintPattern(s.width, s.height);
        const std::vector<uint8_t> frame = readFrame(s.width, s.height);
        ASSERT_EQ(frame, image) << "the pattern itself did not reach the frame";

        glEnable(GL_TEXTURE_2D);
        captureScreen(name);
        std::vector<uint8_t> texels(size_t(s.texWidth) * s.texHeight * 4);
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        bool same = true;
        for (int y = 0; y < s.height && same; ++y) {
            same = std::equal(&image[size_t(y) * s.width * 4], &image[size_t(y + 1) * s.width * 4],
                              &texels[size_t(y) * s.texWidth * 4]);
        }
        EXPECT_TRUE(same) << "capture is not the frame, texel for pixel";

        fill(0.5f, 0.5f, 0.5f);
        const ScreenExtent e = screenExtent();
        {
            glppOrtho2D unit(0, 1, 0, 1);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0), glVertex2f(0, 0);
            glTexCoord2f(e.sMax, 0), glVertex2f(1, 0);
            glTexCoord2f(e.sMax, e.tMax), glVertex2f(1, 1);
            glTexCoord2f(0, e.tMax), glVertex2f(0, 1);
            glEnd();
        }
        EXPECT_TRUE(readFrame(s.width, s.height) == image) << "drawn back frame differs";
        glDisable(GL_TEXTURE_2D);
    }
}

uint8_t ripple(const std::vector<uint8_t>& p, int row, int column) {
    return p[(size_t(row) * 256 + column) * 4];
}

TEST_F(Screen, RipplePatternValues) {
    const std::vector<uint8_t> p = ripplePixels();
    ASSERT_EQ(p.size(), 262144u);
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(ripple(p, 0, k), 192) << k;
        EXPECT_EQ(ripple(p, k, 0), 192) << k;
    }
    EXPECT_EQ(ripple(p, 16, 16), 255);
    EXPECT_EQ(ripple(p, 16, 48), 129);
    EXPECT_EQ(ripple(p, 8, 8), 223);
    EXPECT_EQ(ripple(p, 32, 16), 191);
    int low = 255, high = 0;
    for (size_t at = 0; at < p.size(); at += 4) {
        ASSERT_EQ(p[at], p[at + 1]);
        ASSERT_EQ(p[at], p[at + 2]);
        ASSERT_EQ(p[at + 3], 255);
        low = std::min<int>(low, p[at]);
        high = std::max<int>(high, p[at]);
    }
    EXPECT_EQ(low, 129);
    EXPECT_EQ(high, 255);
    // Eight by eight cells, lighter and darker in turn.
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const int v = ripple(p, 16 + 32 * r, 16 + 32 * c);
            if ((r + c) % 2 == 0)
                EXPECT_GT(v, 250) << r << " " << c;
            else
                EXPECT_LT(v, 134) << r << " " << c;
        }
    }
}

TEST_F(Screen, RippleTextureHoldsThePatternAndRepeats) {
    glDisable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GLuint name = makeRippleTexture();
    ASSERT_NE(name, 0u);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 8);
    glBindTexture(GL_TEXTURE_2D, name);
    EXPECT_EQ(level(GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(level(GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(level(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(param(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(param(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(param(GL_TEXTURE_WRAP_T), GL_REPEAT);
    std::vector<uint8_t> texels(262144);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_TRUE(texels == ripplePixels());
}

} // namespace

// The lit box holds every pixel that is not all zero, alpha included, and nothing more.
TEST_F(Screen, LitBoxBoundsThePixelsThatAreNotZero) {
    fill(0, 0, 0);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(litBox(800, 600).empty());
    const auto dot = [](int x, int y, float r, float a) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, 1, 1);
        glClearColor(r, 0, 0, a);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        glDisable(GL_SCISSOR_TEST);
    };
    dot(120, 40, 1, 0);
    PixelBox box = litBox(800, 600);
    EXPECT_EQ((std::array<int, 4>{box.x0, box.y0, box.x1, box.y1}),
              (std::array<int, 4>{120, 40, 120, 40}));
    dot(799, 599, 0, 1); // alpha alone counts: a copy would carry it
    dot(3, 300, 0.5f, 0);
    box = litBox(800, 600);
    EXPECT_EQ((std::array<int, 4>{box.x0, box.y0, box.x1, box.y1}),
              (std::array<int, 4>{3, 40, 799, 599}));
    box = litBox(64, 64); // only the corner asked for
    EXPECT_TRUE(box.empty());
}

// The pixels a linearly filtered quad can light from a box of texels: exactly those whose
// samples mix in one of its texels, and a pixel or two more, never fewer.
TEST_F(Screen, ReachCoversEverySampleOfTheLitTexels) {
    const PixelBox texel = {10, 20, 10, 20};
    // One to one: pixel i samples texel i exactly; pixels 9 and 11 take texel 10 at a
    // weight that is zero unless rounding says otherwise, so they are covered too.
    PixelBox r = reachOf(texel, {1, 0, 1, 0}, 800, 600);
    EXPECT_LE(r.x0, 9);
    EXPECT_GE(r.x1, 11);
    EXPECT_GE(r.x0, 6);
    EXPECT_LE(r.x1, 14);
    // Stretched eight times (a 100-texel texture over 800 pixels): texel 10 is mixed into
    // the pixels whose centre samples 9.5 .. 11.5, pixels 76 .. 91.
    r = reachOf(texel, {1.0 / 8, 0, 1.0 / 8, 0}, 800, 600);
    EXPECT_LE(r.x0, 76);
    EXPECT_GE(r.x1, 91);
    EXPECT_GE(r.x0, 72);
    EXPECT_LE(r.x1, 95);
    // Clipped to the window, and empty when the texels are out of its reach.
    r = reachOf({0, 0, 799, 599}, {0.5, 0, 0.5, 0}, 800, 600);
    EXPECT_EQ((std::array<int, 4>{r.x0, r.y0, r.x1, r.y1}), (std::array<int, 4>{0, 0, 799, 599}));
    EXPECT_TRUE(reachOf({900, 0, 950, 10}, {1, 0, 1, 0}, 800, 600).empty());
    EXPECT_TRUE(reachOf(PixelBox(), {1, 0, 1, 0}, 800, 600).empty());
    // A map that cannot be inverted reaches everything rather than nothing.
    r = reachOf(texel, {0, 0, 0, 0}, 800, 600);
    EXPECT_EQ((std::array<int, 4>{r.x0, r.y0, r.x1, r.y1}), (std::array<int, 4>{0, 0, 799, 599}));
}
