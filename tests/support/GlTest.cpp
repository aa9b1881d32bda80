#include "support/GlTest.h"
#include "platform/Gl.h"
#include "platform/Headless.h"
#include "platform/Offscreen.h"
#include "platform/Presentation.h"
#include "platform/Settings.h"

namespace {

platform::Offscreen screens[2]; // 640x480, 800x600

struct Context : ::testing::Environment {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(platform::openHeadless(platform::bigSize, error)) << error;
        ASSERT_TRUE(screens[0].create(640, 480) && screens[1].create(800, 600));
    }
    void TearDown() override {
        screens[0].release();
        screens[1].release();
        platform::closeHeadless();
    }
};
const auto* context = ::testing::AddGlobalTestEnvironment(new Context);

// Capabilities, the last three also of texture unit 1, and values; '|' parts the names.
const GLenum caps[] = {GL_DEPTH_TEST, GL_CULL_FACE,      GL_BLEND,        GL_LIGHTING,
                       GL_LIGHT0,     GL_COLOR_MATERIAL, GL_ALPHA_TEST,   GL_SCISSOR_TEST,
                       GL_TEXTURE_2D, GL_TEXTURE_GEN_S,  GL_TEXTURE_GEN_T};
const char* const capNames = "depth test|culling|blend|lighting|light 0|colour material|alpha test|"
                             "scissor test|texture|gen s|gen t";
const GLenum values[] = {GL_BLEND_SRC,         GL_BLEND_DST,        GL_CURRENT_COLOR,
                         GL_VIEWPORT,          GL_SCISSOR_BOX,      GL_MATRIX_MODE,
                         GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX, GL_PROJECTION_STACK_DEPTH};
const GLenum moreValues[] = {GL_MODELVIEW_STACK_DEPTH, GL_DEPTH_FUNC,         GL_DEPTH_WRITEMASK,
                             GL_CULL_FACE_MODE,        GL_POLYGON_MODE,       GL_LINE_WIDTH,
                             GL_COLOR_WRITEMASK,       GL_ACTIVE_TEXTURE_ARB, GL_UNPACK_ALIGNMENT};
const char* const valueNames =
    "blend func|blend func|colour|viewport|scissor|matrix mode|projection|"
    "modelview|stacks|stacks|depth func|depth mask|cull face|polygon mode|"
    "line width|colour mask|active unit|unpack alignment";

std::string part(const char* names, size_t i) {
    std::string all = names;
    for (; i > 0; --i)
        all.erase(0, all.find('|') + 1);
    return all.substr(0, all.find('|'));
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
    open(true);
}

void GlTest::open(bool big) {
    platform::chooseResolution(platform::settings(), big ? platform::bigSize : platform::smallSize);
    screens[big].bind();
    for (auto [mode, depth] : {std::pair{GL_TEXTURE, GL_TEXTURE_STACK_DEPTH},
                               {GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH},
                               {GL_PROJECTION, GL_PROJECTION_STACK_DEPTH}}) {
        glMatrixMode(mode);
        while (glInteger(depth) > 1)
            glPopMatrix();
    }
    platform::resizeScene(platform::settings().width, platform::settings().height);
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

GlState glState() {
    GlState s;
    for (size_t i = 0; i < std::size(values) + std::size(moreValues); ++i) {
        GLdouble d[16];
        std::fill(d, d + 16, -12345.5); // what GL does not fill is left out
        glGetDoublev(i < std::size(values) ? values[i] : moreValues[i - std::size(values)], d);
        std::copy_if(d, d + 16, std::back_inserter(s[part(valueNames, i)]),
                     [](double v) { return v != -12345.5; });
    }
    const GLint unit = glInteger(GL_ACTIVE_TEXTURE_ARB);
    for (int u : {1, 0}) {
        platform::activeTexture(GL_TEXTURE0_ARB + u);
        const std::string suffix = u ? " 1" : "";
        for (size_t i = u ? 8 : 0; i < std::size(caps); ++i)
            s[part(capNames, i) + suffix] = {double(glIsEnabled(caps[i]))};
        GLint env = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
        s["texture env" + suffix] = {double(env)};
        s["bound texture" + suffix] = {double(glInteger(GL_TEXTURE_BINDING_2D))};
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
        for (GLenum cap : caps)
            on ? glEnable(cap) : glDisable(cap);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, on ? GL_REPLACE : GL_MODULATE);
    }
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
    for (int n : {v[0], v[1], v[2], v[3]})
        drawn += std::to_string(n) + " ";
    drawn +=
        std::to_string(start) + "+" + std::to_string(duration) + "@" + std::to_string(time) + ";";
    textured = glIsEnabled(GL_TEXTURE_2D);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    for (GLenum cap : {GL_DEPTH_TEST, GL_BLEND, GL_LIGHTING, GL_TEXTURE_2D})
        glDisable(cap);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(r, g, b);
    glRectf(x0, y0, x1, y1); // the tests draw transitions under the identity modelview
    glPopMatrix();
    glPopAttrib();
    if (scribble) glViewport(0, 0, 7, 7);
}

std::vector<std::vector<std::array<float, 3>>> feedback(const std::function<void()>& draw) {
    std::vector<GLfloat> b(1 << 22);
    glFeedbackBuffer(GLsizei(b.size()), GL_3D, b.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const size_t used = size_t(glRenderMode(GL_RENDER));
    std::vector<std::vector<std::array<float, 3>>> out;
    for (size_t i = 0; i < used && b[i] == GL_POLYGON_TOKEN; i += 2 + 3 * size_t(b[i + 1])) {
        out.emplace_back();
        for (size_t k = i + 2; k < i + 2 + 3 * size_t(b[i + 1]); k += 3)
            out.back().push_back({b[k], b[k + 1], b[k + 2]});
    }
    return out;
}
