#include "support/GlTest.h"
#include "platform/Gl.h"
#include "platform/Headless.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include <GL/glext.h>
#include <ostream>

namespace {

platform::Offscreen screens[2]; // 640x480 and 800x600

class Context : public ::testing::Environment {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(platform::openHeadless(true, error)) << error;
        ASSERT_TRUE(screens[0].create(640, 480) && screens[1].create(800, 600));
    }
    void TearDown() override {
        screens[0].release();
        screens[1].release();
        platform::closeHeadless();
    }
};
const auto* context = ::testing::AddGlobalTestEnvironment(new Context);

void matrices() {
    for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        const GLenum depth = mode == GL_TEXTURE      ? GL_TEXTURE_STACK_DEPTH
                             : mode == GL_PROJECTION ? GL_PROJECTION_STACK_DEPTH
                                                     : GL_MODELVIEW_STACK_DEPTH;
        while (glInteger(depth) > 1)
            glPopMatrix();
        glLoadIdentity();
    }
}

} // namespace

void GlTest::SetUp() {
    while (glGetError() != GL_NO_ERROR) {
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    open(true);
}

void GlTest::TearDown() {
    glPopClientAttrib();
    glPopAttrib();
    matrices();
}

void GlTest::open(bool big) {
    platform::chooseResolution(platform::settings(), big);
    screens[big].bind();
    platform::resizeScene(platform::settings().width, platform::settings().height);
    matrices();
}

GlTest::Rgba GlTest::pixel(int x, int y) {
    uint8_t p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

void GlTest::fill(float r, float g, float b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
}

std::vector<uint8_t> GlTest::frame() {
    return platform::readRgbTopDown(platform::settings().width, platform::settings().height);
}

std::ostream& operator<<(std::ostream& os, const GlTest::Rgba& p) {
    return os << "(" << p[0] << ", " << p[1] << ", " << p[2] << ", " << p[3] << ")";
}

namespace {
const std::pair<const char*, GLenum> caps[] = {{"depth test", GL_DEPTH_TEST},
                                               {"culling", GL_CULL_FACE},
                                               {"texture", GL_TEXTURE_2D},
                                               {"blend", GL_BLEND},
                                               {"lighting", GL_LIGHTING},
                                               {"light 0", GL_LIGHT0},
                                               {"colour material", GL_COLOR_MATERIAL},
                                               {"alpha test", GL_ALPHA_TEST},
                                               {"scissor test", GL_SCISSOR_TEST},
                                               {"gen s", GL_TEXTURE_GEN_S},
                                               {"gen t", GL_TEXTURE_GEN_T}};
struct Value {
    const char* name;
    GLenum pname;
    int count;
};
const Value values[] = {{"blend func", GL_BLEND_SRC, 1},
                        {"blend func", GL_BLEND_DST, 1},
                        {"colour", GL_CURRENT_COLOR, 4},
                        {"viewport", GL_VIEWPORT, 4},
                        {"scissor", GL_SCISSOR_BOX, 4},
                        {"matrix mode", GL_MATRIX_MODE, 1},
                        {"projection", GL_PROJECTION_MATRIX, 16},
                        {"modelview", GL_MODELVIEW_MATRIX, 16},
                        {"stacks", GL_PROJECTION_STACK_DEPTH, 1},
                        {"stacks", GL_MODELVIEW_STACK_DEPTH, 1},
                        {"depth func", GL_DEPTH_FUNC, 1},
                        {"depth mask", GL_DEPTH_WRITEMASK, 1},
                        {"cull face", GL_CULL_FACE_MODE, 1},
                        {"polygon mode", GL_POLYGON_MODE, 2},
                        {"line width", GL_LINE_WIDTH, 1},
                        {"colour mask", GL_COLOR_WRITEMASK, 4},
                        {"active unit", GL_ACTIVE_TEXTURE_ARB, 1},
                        {"unpack alignment", GL_UNPACK_ALIGNMENT, 1}};
} // namespace

GlState glState() {
    GlState s;
    const GLint unit = glInteger(GL_ACTIVE_TEXTURE_ARB);
    for (const Value& v : values) {
        GLdouble d[16];
        glGetDoublev(v.pname, d);
        s[v.name].insert(s[v.name].end(), d, d + v.count);
    }
    for (int u : {1, 0}) { // per texture unit; names of unit 1 end in " 1"
        platform::activeTexture(GL_TEXTURE0_ARB + u);
        const std::string unitName = u ? " 1" : "";
        for (const auto& [name, cap] : caps)
            if (u == 0 || cap == GL_TEXTURE_2D || cap == GL_TEXTURE_GEN_S ||
                cap == GL_TEXTURE_GEN_T)
                s[name + unitName] = {double(glIsEnabled(cap))};
        GLint env = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
        s["texture env" + unitName] = {double(env)};
        s["bound texture" + unitName] = {double(glInteger(GL_TEXTURE_BINDING_2D))};
    }
    platform::activeTexture(GLenum(unit));
    return s;
}

std::vector<std::string> changed(const GlState& before, const GlState& after) {
    std::vector<std::string> names;
    for (const auto& [name, v] : before)
        if (after.at(name) != v) names.push_back(name);
    return names;
}

void startState(bool on) {
    for (int u : {1, 0}) {
        platform::activeTexture(GL_TEXTURE0_ARB + u);
        for (const auto& [name, cap] : caps)
            on ? glEnable(cap) : glDisable(cap);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, on ? GL_REPLACE : GL_MODULATE);
    }
    if (!on) platform::activeTexture(GL_TEXTURE0_ARB);
    glBlendFunc(on ? GL_SRC_ALPHA : GL_ONE, on ? GL_ONE_MINUS_SRC_ALPHA : GL_ZERO);
    on ? glColor4f(0.3f, 0.6f, 0.9f, 0.5f) : glColor4f(1, 1, 1, 1);
    glScissor(on ? 100 : 0, on ? 120 : 0, on ? 30 : 800, on ? 40 : 600);
    glDepthFunc(on ? GL_LEQUAL : GL_LESS);
    glDepthMask(on ? GL_FALSE : GL_TRUE);
    glCullFace(on ? GL_FRONT : GL_BACK);
    glPolygonMode(GL_FRONT, on ? GL_LINE : GL_FILL);
    glPolygonMode(GL_BACK, on ? GL_POINT : GL_FILL);
    glLineWidth(on ? 1.5f : 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, on ? 8 : 4);
    glMatrixMode(on ? GL_PROJECTION : GL_MODELVIEW);
}

void Paint::draw(int time) {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    drawn += std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]) + " " +
             std::to_string(v[3]) + " " + std::to_string(start) + "+" + std::to_string(duration) +
             "@" + std::to_string(time) + ";";
    textured = glIsEnabled(GL_TEXTURE_2D);
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(r, g, b);
    glRectf(x0, y0, x1, y1);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    if (scribble) glViewport(0, 0, 7, 7);
}

Polygons feedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    Polygons out;
    for (GLint i = 0; i < used && GLint(buffer[size_t(i)]) == GL_POLYGON_TOKEN;) {
        const GLint n = GLint(buffer[size_t(i) + 1]);
        out.emplace_back();
        for (GLint k = 0; k < n; ++k)
            out.back().push_back({buffer[size_t(i + 2 + 3 * k)], buffer[size_t(i + 3 + 3 * k)],
                                  buffer[size_t(i + 4 + 3 * k)]});
        i += 2 + 3 * n;
    }
    return out;
}
