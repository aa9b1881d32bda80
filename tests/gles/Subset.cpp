// The GL 1.x subset on OpenGL ES 3.0 on its own: one EGL context for the executable,
// drawing into the offscreen screen, pixels read back and judged by GL's formulas.
#include "platform/Gl.h"
#include "platform/Headless.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int size = 64; // the region the drawing tests use, from the lower left

std::array<int, 4> pixel(int x, int y) {
    unsigned char p[4];
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

// A clean start: black, no depth, an orthographic unit square over the region.
void reset() {
    glViewport(0, 0, size, size);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(1);
    for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE0}) {
        glActiveTextureARB(unit);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
}

void quad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

// State queries answer what the set-up calls set, as GL answers them.
struct Query {
    const char* name;
    std::function<void()> set;
    std::function<std::vector<float>()> ask;
    std::vector<float> expected;
};

std::vector<float> floats(GLenum pname, int n) {
    std::vector<float> v(16);
    glGetFloatv(pname, v.data());
    v.resize(n);
    return v;
}
std::vector<float> ints(GLenum pname, int n) {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(pname, v);
    return std::vector<float>(v, v + n);
}
std::vector<float> enabled(GLenum cap) { return {static_cast<float>(glIsEnabled(cap))}; }

const Query queries[] = {
    {"lighting", [] { glEnable(GL_LIGHTING); }, [] { return enabled(GL_LIGHTING); }, {1}},
    {"cull_front", [] { glCullFace(GL_FRONT); }, [] { return ints(GL_CULL_FACE_MODE, 1); },
     {GL_FRONT}},
    {"depth_lequal", [] { glDepthFunc(GL_LEQUAL); }, [] { return ints(GL_DEPTH_FUNC, 1); },
     {GL_LEQUAL}},
    {"back_lines", [] { glPolygonMode(GL_BACK, GL_LINE); },
     [] { return ints(GL_POLYGON_MODE, 2); }, {GL_FILL, GL_LINE}},
    {"line_width", [] { glLineWidth(3); }, [] { return floats(GL_LINE_WIDTH, 1); }, {3}},
    {"colour", [] { glColor4f(0.25f, 0.5f, 0.75f, 1); },
     [] { return floats(GL_CURRENT_COLOR, 4); }, {0.25f, 0.5f, 0.75f, 1}},
    {"viewport", [] { glViewport(1, 2, 30, 40); }, [] { return ints(GL_VIEWPORT, 4); },
     {1, 2, 30, 40}},
    {"scissor", [] { glScissor(3, 4, 5, 6); }, [] { return ints(GL_SCISSOR_BOX, 4); },
     {3, 4, 5, 6}},
    {"unit1_texturing",
     [] {
         glActiveTextureARB(GL_TEXTURE1);
         glEnable(GL_TEXTURE_2D);
     },
     [] {
         std::vector<float> v = ints(GL_ACTIVE_TEXTURE, 1);
         v.push_back(glIsEnabled(GL_TEXTURE_2D));
         glActiveTextureARB(GL_TEXTURE0);
         v.push_back(glIsEnabled(GL_TEXTURE_2D));
         return v;
     },
     {GL_TEXTURE1, 1, 0}},
    {"ortho",
     [] {
         glMatrixMode(GL_PROJECTION);
         glLoadIdentity();
         gluOrtho2D(0, 2, 0, 4);
     },
     [] {
         std::vector<float> m = floats(GL_PROJECTION_MATRIX, 16);
         return std::vector<float>{m[0], m[5], m[10], m[12], m[13]};
     },
     {1, 0.5f, -1, -1, -1}},
    {"modelview_depth", [] { glMatrixMode(GL_MODELVIEW), glPushMatrix(), glPushMatrix(); },
     [] {
         std::vector<float> v = ints(GL_MODELVIEW_STACK_DEPTH, 1);
         glPopMatrix(), glPopMatrix();
         return v;
     },
     {3}},
    {"extensions", [] {},
     [] {
         const std::string all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
         return std::vector<float>{
             static_cast<float>(all.find("GL_ARB_multitexture") != std::string::npos),
             static_cast<float>(all.find("GL_EXT_framebuffer_object") != std::string::npos),
             // The look-ups find the library's own functions: unit 1 is never skipped.
             static_cast<float>(platform::glProcAddress("glActiveTextureARB") != nullptr),
             static_cast<float>(platform::glProcAddress("glBindFramebufferEXT") != nullptr)};
     },
     {1, 1, 1, 1}},
};

class Queries : public ::testing::TestWithParam<Query> {};

TEST_P(Queries, AnswerAsSet) {
    reset();
    GetParam().set();
    const std::vector<float> got = GetParam().ask();
    ASSERT_EQ(got.size(), GetParam().expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_FLOAT_EQ(got[i], GetParam().expected[i]) << i;
}
INSTANTIATE_TEST_SUITE_P(Subset, Queries, ::testing::ValuesIn(queries),
                         [](const auto& row) { return std::string(row.param.name); });

// Lighting: a quad lit by a directional light, every vertex alike, against
//   c = scene ambient * ambient_m + ambient_l * ambient_m + max(n.L, 0) diffuse_l * diffuse_m.
struct Lit {
    const char* name;
    float normal[3];
    float light[4];
    float turn; // degrees about y, applied to the normal through the modelview
};

class Lighting : public ::testing::TestWithParam<Lit> {};

TEST_P(Lighting, FollowsTheFormula) {
    const Lit& l = GetParam();
    reset();
    const float diffuse[4] = {0.87f, 0.91f, 0.88f, 0};
    const float ambient[4] = {0.3f, 0.2f, 0.1f, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, l.light); // with the identity modelview
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, diffuse);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    // The turn on the modelview turns the normal; undone on the projection, it leaves
    // the quad where it was.
    glMatrixMode(GL_PROJECTION);
    glRotatef(-l.turn, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(l.turn, 0, 1, 0);
    glNormal3fv(l.normal);
    quad(0, 0, 1, 1);
    const float a = l.turn * static_cast<float>(M_PI) / 180;
    const float n[3] = {l.normal[0] * std::cos(a) + l.normal[2] * std::sin(a), l.normal[1],
                        -l.normal[0] * std::sin(a) + l.normal[2] * std::cos(a)};
    const float len = std::sqrt(l.light[0] * l.light[0] + l.light[1] * l.light[1] +
                                l.light[2] * l.light[2]);
    const float nl =
        std::fmax(0.f, (n[0] * l.light[0] + n[1] * l.light[1] + n[2] * l.light[2]) / len);
    const std::array<int, 4> got = pixel(size / 2, size / 2);
    for (int i = 0; i < 3; ++i) {
        const float c = 0.2f * diffuse[i] + ambient[i] * diffuse[i] + nl * diffuse[i] * diffuse[i];
        EXPECT_NEAR(got[i], std::round(std::fmin(c, 1.f) * 255), 1) << i;
    }
    EXPECT_EQ(got[3], 0); // the material's diffuse alpha
}

const Lit lights[] = {{"facing", {0, 0, 1}, {0, 0, 1, 0}, 0},
                      {"slanted", {0, 0.6f, 0.8f}, {0, 0, 1, 0}, 0},
                      {"light_aside", {0, 0, 1}, {1, 0, 1, 0}, 0},
                      {"turned_by_modelview", {0, 0, 1}, {0, 0, 1, 0}, 60},
                      {"facing_away", {0, 0, -1}, {0, 0, 1, 0}, 0}};
INSTANTIATE_TEST_SUITE_P(Subset, Lighting, ::testing::ValuesIn(lights),
                         [](const auto& row) { return std::string(row.param.name); });

// Sphere-map texture coordinates: a view-filling speck at (0, 0, -1), where u = (0, 0, -1),
// textured on unit 1 by a texture whose texel (s, t) holds (s, t), against
//   r = u - 2 n (n.u), m = 2 sqrt(rx^2 + ry^2 + (rz + 1)^2), (s, t) = (rx / m, ry / m) + 1/2.
class SphereMap : public ::testing::TestWithParam<std::array<float, 3>> {};

TEST_P(SphereMap, FollowsTheFormula) {
    reset();
    std::vector<unsigned char> texels;
    for (int t = 0; t < 256; ++t)
        for (int s = 0; s < 256; ++s)
            texels.insert(texels.end(), {static_cast<unsigned char>(s),
                                         static_cast<unsigned char>(t), 0, 255});
    glActiveTextureARB(GL_TEXTURE1);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    const float e = 0.001f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-e, e, -e, e, 0.5, 2);
    glMatrixMode(GL_MODELVIEW);
    glNormal3fv(GetParam().data());
    glBegin(GL_QUADS);
    glVertex3f(-e, -e, -1), glVertex3f(e, -e, -1), glVertex3f(e, e, -1), glVertex3f(-e, e, -1);
    glEnd();
    const float* n = GetParam().data();
    const float r[3] = {2 * n[2] * n[0], 2 * n[2] * n[1], -1 + 2 * n[2] * n[2]};
    const float m = 2 * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1) * (r[2] + 1));
    const std::array<int, 4> got = pixel(size / 2, size / 2);
    EXPECT_NEAR((got[0] + 0.5) / 256, r[0] / m + 0.5, 1.0 / 256);
    EXPECT_NEAR((got[1] + 0.5) / 256, r[1] / m + 0.5, 1.0 / 256);
    glDeleteTextures(1, &name);
}

INSTANTIATE_TEST_SUITE_P(Subset, SphereMap,
                         ::testing::Values(std::array<float, 3>{0, 0, 1},
                                           std::array<float, 3>{0.5f, 0, 0.8660254f},
                                           std::array<float, 3>{0, -0.6f, 0.8f},
                                           std::array<float, 3>{0.48f, 0.6f, 0.64f}));

std::vector<std::array<int, 4>> region() {
    std::vector<std::array<int, 4>> all;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            all.push_back(pixel(x, y));
    return all;
}

// A display list replays what it recorded, the current colour as it leaves it; compiling
// it runs nothing.
TEST(Subset, DisplayListDrawnTwiceEqualsImmediateMode) {
    reset();
    const auto strip = [](bool translateByList) {
        glBegin(GL_QUADS);
        glColor3f(1, 0.5f, 0);
        glVertex2f(0, 0), glVertex2f(0.2f, 0), glVertex2f(0.2f, 0.5f), glVertex2f(0, 0.5f);
        glColor3f(0, 0.5f, 1);
        glVertex2f(0, 0.5f), glVertex2f(0.2f, 0.5f), glVertex2f(0.2f, 1), glVertex2f(0, 1);
        glEnd();
        if (translateByList) glTranslated(0.25, 0, 0);
    };
    const GLuint list = glGenLists(1);
    glColor3f(0, 1, 0);
    glNewList(list, GL_COMPILE);
    strip(true);
    glEndList();
    EXPECT_EQ(floats(GL_CURRENT_COLOR, 4), (std::vector<float>{0, 1, 0, 1}));
    EXPECT_EQ(pixel(5, 5), (std::array<int, 4>{0, 0, 0, 0})) << "compiling drew";
    glCallList(list);
    glCallList(list);
    EXPECT_EQ(floats(GL_CURRENT_COLOR, 4), (std::vector<float>{0, 0.5f, 1, 1}));
    const auto listed = region();
    reset();
    strip(false);
    glTranslatef(0.25f, 0, 0);
    strip(false);
    EXPECT_TRUE(listed == region());
    EXPECT_NE(pixel(size / 4 + 5, 5)[0], 0) << "the second strip is missing";
}

// Line mode: a quad's four edges, 3 pixels wide across their minor axis, its inside and
// its diagonal left alone. The quad spans 12.8 to 51.2 pixels each way.
TEST(Subset, PolygonLineModeOutlinesTheQuadThreePixelsWide) {
    reset();
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glLineWidth(3);
    quad(0.2f, 0.2f, 0.8f, 0.8f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const auto lit = [](int x, int y) { return pixel(x, y)[0] > 0; };
    for (auto [x, y] : {std::pair{32, 13}, {32, 51}, {13, 32}, {51, 32}})
        EXPECT_TRUE(lit(x, y)) << x << "," << y;
    EXPECT_FALSE(lit(32, 32));
    EXPECT_FALSE(lit(25, 25)) << "the diagonal is no edge of the quad";
    int across = 0, up = 0;
    for (int i = 0; i < size / 2; ++i) {
        across += lit(i, 32);
        up += lit(32, i);
    }
    EXPECT_EQ(across, 3); // a y-major edge grows sideways
    EXPECT_EQ(up, 3);     // an x-major edge grows vertically
}

// GL_CLAMP, which ES lacks: a linear filter near the edge blends in the transparent
// black border, by 1/2 + u at texel coordinate u < 1/2 from the edge.
TEST(Subset, ClampBlendsTheBorderIn) {
    reset();
    const unsigned char white[2 * 2 * 4] = {255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255, 255, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0), glTexCoord2f(1, 0), glVertex2f(1, 0);
    glTexCoord2f(1, 1), glVertex2f(1, 1), glTexCoord2f(0, 1), glVertex2f(0, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    const auto share = [](int x) { // of pixel x, 2 texels over the 64 pixels
        const float u = (x + 0.5f) / 32;
        return std::fmin(1.f, u + 0.5f) * std::fmin(1.f, 2.5f - u);
    };
    for (auto [x, y] : {std::pair{0, 0}, {0, 32}, {63, 5}, {32, 32}, {10, 63}})
        EXPECT_NEAR(pixel(x, y)[0], 255 * share(x) * share(y), 2) << x << "," << y;
    glDeleteTextures(1, &name);
}

// The alpha test, in the fragment shader: a fragment is kept when its alpha passes.
TEST(Subset, AlphaTestKeepsWhatPasses) {
    reset();
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnable(GL_ALPHA_TEST);
    glColor4f(1, 1, 1, 0.4f);
    quad(0, 0, 0.5f, 1);
    glColor4f(1, 1, 1, 0.6f);
    quad(0.5f, 0, 1, 1);
    glDisable(GL_ALPHA_TEST);
    EXPECT_EQ(pixel(10, 10)[0], 0);
    EXPECT_EQ(pixel(50, 10)[0], 255);
}

TEST(SubsetDeathTest, OutsideTheSubsetStopsNamingCallAndValue) {
    EXPECT_DEATH(glEnable(GL_FOG), "glEnable\\(0x0B60\\)");
    EXPECT_DEATH(glBegin(GL_LINE_LOOP), "glBegin\\(0x0002\\)");
    EXPECT_DEATH((glNewList(glGenLists(1), GL_COMPILE), glEnable(GL_BLEND)),
                 "glEnable inside glNewList");
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string error;
    if (!platform::openHeadless({640, 480}, error)) {
        std::fprintf(stderr, "gles_tests: %s\n", error.c_str());
        return 1;
    }
    return RUN_ALL_TESTS();
}
