// The GLPP guards in a real GL context. Besides the state they leave, the GL calls they
// make are checked: the few entry points the guards use are defined again here, log
// each call, and forward to the GL library's own.
#include "glpp/Guards.h"
#include "support/GlTest.h"
#include <cmath>
#include <dlfcn.h>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

bool recording = false;
std::vector<std::string> calls;

template <typename... Args> void note(const char* name, Args... args) {
    if (!recording) return;
    std::ostringstream out;
    out << name << "(";
    const char* sep = "";
    ((out << sep << args, sep = ", "), ...);
    out << ")";
    calls.push_back(out.str());
}

template <typename Fn> Fn next(const char* name) {
    Fn fn = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
    if (!fn) std::abort();
    return fn;
}

// The calls made while `body` runs.
template <typename F> std::vector<std::string> callsOf(F body) {
    calls.clear();
    recording = true;
    body();
    recording = false;
    return calls;
}

using Calls = std::vector<std::string>;

} // namespace

#define FORWARD(name, type, ...)                                                                   \
    static const auto real = next<type>(#name);                                                    \
    return real(__VA_ARGS__)

extern "C" {
GLboolean glIsEnabled(GLenum cap) {
    note("glIsEnabled", cap);
    FORWARD(glIsEnabled, GLboolean(*)(GLenum), cap);
}
void glEnable(GLenum cap) {
    note("glEnable", cap);
    FORWARD(glEnable, void (*)(GLenum), cap);
}
void glDisable(GLenum cap) {
    note("glDisable", cap);
    FORWARD(glDisable, void (*)(GLenum), cap);
}
void glGetIntegerv(GLenum pname, GLint* params) {
    note("glGetIntegerv", pname);
    FORWARD(glGetIntegerv, void (*)(GLenum, GLint*), pname, params);
}
void glGetFloatv(GLenum pname, GLfloat* params) {
    note("glGetFloatv", pname);
    FORWARD(glGetFloatv, void (*)(GLenum, GLfloat*), pname, params);
}
void glCullFace(GLenum mode) {
    note("glCullFace", mode);
    FORWARD(glCullFace, void (*)(GLenum), mode);
}
void glDepthFunc(GLenum func) {
    note("glDepthFunc", func);
    FORWARD(glDepthFunc, void (*)(GLenum), func);
}
void glPolygonMode(GLenum face, GLenum mode) {
    note("glPolygonMode", face, mode);
    FORWARD(glPolygonMode, void (*)(GLenum, GLenum), face, mode);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    note("glColor4f", r, g, b, a);
    FORWARD(glColor4f, void (*)(GLfloat, GLfloat, GLfloat, GLfloat), r, g, b, a);
}
void glColor4fv(const GLfloat* v) {
    note("glColor4fv", v[0], v[1], v[2], v[3]);
    FORWARD(glColor4fv, void (*)(const GLfloat*), v);
}
void glLineWidth(GLfloat width) {
    note("glLineWidth", width);
    FORWARD(glLineWidth, void (*)(GLfloat), width);
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    note("glViewport", x, y, w, h);
    FORWARD(glViewport, void (*)(GLint, GLint, GLsizei, GLsizei), x, y, w, h);
}
void glScissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    note("glScissor", x, y, w, h);
    FORWARD(glScissor, void (*)(GLint, GLint, GLsizei, GLsizei), x, y, w, h);
}
}

using namespace GLPP;

namespace {

// The enumerants as the call log prints them.
std::string call(const char* name, GLenum a) {
    return std::string(name) + "(" + std::to_string(a) + ")";
}
std::string call(const char* name, GLenum a, GLenum b) {
    return std::string(name) + "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
}

GLint integer(GLenum pname) {
    GLint v[4] = {};
    glGetIntegerv(pname, v);
    return v[0];
}

std::vector<GLint> polygonModes() {
    GLint v[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, v);
    return {v[0], v[1]};
}

// Identity matrices, so that glRectf(-1, -1, 1, 1) covers the viewport.
void flat() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setCap(GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); }

// Every guard: polymorphic through its destructor alone, never copied.
template <typename G> constexpr bool wellFormed() {
    return std::is_polymorphic_v<G> && std::has_virtual_destructor_v<G> &&
           !std::is_copy_constructible_v<G> && !std::is_copy_assignable_v<G>;
}
static_assert(wellFormed<glppEnable<GL_BLEND>>());
static_assert(wellFormed<glppDisable<GL_BLEND>>());
static_assert(wellFormed<glppSwitch<GL_BLEND>>());
static_assert(wellFormed<glppCullFace<GL_BACK>>());
static_assert(wellFormed<glppDepthFunc<GL_LEQUAL>>());
static_assert(wellFormed<glppPolygonMode<GL_FRONT>>());
static_assert(wellFormed<glppColorf>());
static_assert(wellFormed<glppLineWidth>());
static_assert(wellFormed<glppViewport>());
static_assert(wellFormed<glppScissor>());
static_assert(glppPolygonMode<GL_FRONT>::index == 0 && glppPolygonMode<GL_BACK>::index == 1);

using Guards = GlTest;

// glppEnable and glppDisable from both starting states: one query, a set only when the
// state differs, and an undo only of what was set.
template <GLenum cap> void checkEnableAndDisable() {
    SCOPED_TRACE(cap);
    for (bool start : {false, true}) {
        setCap(cap, start);
        glppEnable<cap>* guard = nullptr;
        Calls made = callsOf([&] { guard = new glppEnable<cap>; });
        Calls want = {call("glIsEnabled", cap)};
        if (!start) want.push_back(call("glEnable", cap));
        EXPECT_EQ(made, want);
        EXPECT_TRUE(glIsEnabled(cap));
        made = callsOf([&] { delete guard; });
        EXPECT_EQ(made, start ? Calls{} : Calls{call("glDisable", cap)});
        EXPECT_EQ(bool(glIsEnabled(cap)), start);

        glppDisable<cap>* off = nullptr;
        made = callsOf([&] { off = new glppDisable<cap>; });
        want = {call("glIsEnabled", cap)};
        if (start) want.push_back(call("glDisable", cap));
        EXPECT_EQ(made, want);
        EXPECT_FALSE(glIsEnabled(cap));
        made = callsOf([&] { delete off; });
        EXPECT_EQ(made, start ? Calls{call("glEnable", cap)} : Calls{});
        EXPECT_EQ(bool(glIsEnabled(cap)), start);
    }
}

TEST_F(Guards, EnableAndDisableTouchGlOnlyWhenTheStateDiffers) {
    checkEnableAndDisable<GL_DEPTH_TEST>();
    checkEnableAndDisable<GL_CULL_FACE>();
    checkEnableAndDisable<GL_TEXTURE_2D>();
    checkEnableAndDisable<GL_BLEND>();
    checkEnableAndDisable<GL_LIGHTING>();
    checkEnableAndDisable<GL_LIGHT0>();
    checkEnableAndDisable<GL_COLOR_MATERIAL>();
    checkEnableAndDisable<GL_ALPHA_TEST>();
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

template <GLenum cap> void checkSwitch() {
    SCOPED_TRACE(cap);
    // Disabled at the start, enabled inside: written back as disabled.
    glDisable(cap);
    Calls made = callsOf([] {
        glppSwitch<cap> saved;
        glEnable(cap);
    });
    EXPECT_EQ(made,
              (Calls{call("glIsEnabled", cap), call("glEnable", cap), call("glDisable", cap)}));
    EXPECT_FALSE(glIsEnabled(cap));
    // Enabled at the start, nothing done inside: still written back.
    glEnable(cap);
    made = callsOf([] { glppSwitch<cap> saved; });
    EXPECT_EQ(made, (Calls{call("glIsEnabled", cap), call("glEnable", cap)}));
    EXPECT_TRUE(glIsEnabled(cap));
    // Turned off and on again through nested guards: back as it was.
    callsOf([] {
        glppSwitch<cap> saved;
        glppDisable<cap> off;
        glDisable(cap);
        glEnable(cap);
    });
    EXPECT_TRUE(glIsEnabled(cap));
}

TEST_F(Guards, SwitchAlwaysWritesTheSavedStateBack) {
    checkSwitch<GL_TEXTURE_GEN_S>();
    checkSwitch<GL_TEXTURE_GEN_T>();
    checkSwitch<GL_TEXTURE_2D>();
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(Guards, SwitchOnTheHeapRestoresWhenDeleted) {
    glDisable(GL_TEXTURE_GEN_S);
    auto* saved = new glppSwitch<GL_TEXTURE_GEN_S>;
    glEnable(GL_TEXTURE_GEN_S);
    delete saved;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

TEST_F(Guards, NestedGuardsOnOneCapabilityUnwindInReverseOrder) {
    for (bool start : {false, true}) {
        setCap(GL_TEXTURE_2D, start);
        {
            glppEnable<GL_TEXTURE_2D> on;
            EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
            {
                glppDisable<GL_TEXTURE_2D> off;
                EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
                {
                    glppEnable<GL_TEXTURE_2D> again;
                    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
                }
                EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
            }
            EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        }
        EXPECT_EQ(bool(glIsEnabled(GL_TEXTURE_2D)), start);
    }
}

TEST_F(Guards, CullFaceSetsAndRestoresOnlyWhenItDiffers) {
    glCullFace(GL_FRONT);
    Calls made = callsOf([] {
        glppCullFace<GL_BACK> back;
        EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    });
    EXPECT_EQ(made[0], call("glGetIntegerv", GL_CULL_FACE_MODE));
    EXPECT_EQ(made[1], call("glCullFace", GL_BACK));
    EXPECT_EQ(made.back(), call("glCullFace", GL_FRONT));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT);

    // Already the wanted face: one query and nothing else, even if the scope changes it.
    made = callsOf([] {
        glppCullFace<GL_FRONT> front;
        glCullFace(GL_FRONT_AND_BACK);
    });
    EXPECT_EQ(made, (Calls{call("glGetIntegerv", GL_CULL_FACE_MODE),
                           call("glCullFace", GL_FRONT_AND_BACK)}));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT_AND_BACK);
}

TEST_F(Guards, DepthFuncSetsAndRestoresOnlyWhenItDiffers) {
    glDepthFunc(GL_LESS);
    Calls made = callsOf([] {
        glppDepthFunc<GL_LEQUAL> lequal;
        EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
        glDepthFunc(GL_ALWAYS); // someone else's change, undone because the guard had set
    });
    EXPECT_EQ(made.front(), call("glGetIntegerv", GL_DEPTH_FUNC));
    EXPECT_EQ(made[1], call("glDepthFunc", GL_LEQUAL));
    EXPECT_EQ(made.back(), call("glDepthFunc", GL_LESS));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);

    glDepthFunc(GL_LEQUAL);
    made = callsOf([] { glppDepthFunc<GL_LEQUAL> lequal; });
    EXPECT_EQ(made, Calls{call("glGetIntegerv", GL_DEPTH_FUNC)});
}

TEST_F(Guards, PolygonModeTouchesOnlyItsOwnFace) {
    glPolygonMode(GL_FRONT, GL_POINT);
    glPolygonMode(GL_BACK, GL_FILL);
    Calls made = callsOf([] {
        glppPolygonMode<GL_BACK> back(GL_LINE);
        EXPECT_EQ(polygonModes(), (std::vector<GLint>{GL_POINT, GL_LINE}));
    });
    EXPECT_EQ(made[0], call("glGetIntegerv", GL_POLYGON_MODE));
    EXPECT_EQ(made[1], call("glPolygonMode", GL_BACK, GL_LINE));
    EXPECT_EQ(made.back(), call("glPolygonMode", GL_BACK, GL_FILL));
    EXPECT_EQ(polygonModes(), (std::vector<GLint>{GL_POINT, GL_FILL}));

    // The front guard compares the first value: front already FILL, back LINE.
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    made = callsOf([] { glppPolygonMode<GL_FRONT> front(GL_FILL); });
    EXPECT_EQ(made, Calls{call("glGetIntegerv", GL_POLYGON_MODE)});
    // And the back guard the second: back already LINE although front is not.
    made = callsOf([] { glppPolygonMode<GL_BACK> back(GL_LINE); });
    EXPECT_EQ(made, Calls{call("glGetIntegerv", GL_POLYGON_MODE)});

    glPolygonMode(GL_FRONT, GL_LINE);
    made = callsOf([] {
        glppPolygonMode<GL_FRONT> front(GL_FILL);
        EXPECT_EQ(polygonModes(), (std::vector<GLint>{GL_FILL, GL_LINE}));
    });
    EXPECT_EQ(made.size(), 4u); // query, set, the check's own query, restore
    EXPECT_EQ(made.back(), call("glPolygonMode", GL_FRONT, GL_LINE));
    EXPECT_EQ(polygonModes(), (std::vector<GLint>{GL_LINE, GL_LINE}));
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

TEST_F(Guards, ColorAlwaysSetsAndRestoresTheColourOfConstruction) {
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    Calls made = callsOf([] {
        glppColorf same(0.25f, 0.5f, 0.75f, 1);
        glColor4f(1, 0, 0, 0);
        glColor3f(0, 1, 0);
    });
    EXPECT_EQ(made, (Calls{"glGetFloatv(2816)", "glColor4f(0.25, 0.5, 0.75, 1)",
                           "glColor4f(1, 0, 0, 0)", "glColor4fv(0.25, 0.5, 0.75, 1)"}));
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_EQ(std::vector<float>(c, c + 4), (std::vector<float>{0.25f, 0.5f, 0.75f, 1}));

    // The colour really draws: a white clear painted through the guard's colour.
    flat();
    fill(1, 1, 1);
    {
        glppColorf red(1, 0, 0, 1);
        glRectf(-1, -1, 1, 1);
    }
    EXPECT_EQ(pixel(10, 10), (Rgba{255, 0, 0, 255}));
}

TEST_F(Guards, LineWidthComparesExactly) {
    glLineWidth(2.0f);
    Calls made = callsOf([] { glppLineWidth same(2.0f); });
    EXPECT_EQ(made, Calls{call("glGetFloatv", GL_LINE_WIDTH)});

    const float nearlyTwo = std::nextafter(2.0f, 3.0f);
    made = callsOf([&] { glppLineWidth other(nearlyTwo); });
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[2], "glLineWidth(2)");
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f);

    glLineWidth(1.0f);
    {
        glppLineWidth wide(3.0f);
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_EQ(width, 3.0f);
    }
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f);
}

TEST_F(Guards, ViewportAlwaysSetsAndRestores) {
    glViewport(0, 0, 800, 600);
    Calls made = callsOf([] { glppViewport same(0, 0, 800, 600); });
    EXPECT_EQ(made, (Calls{call("glGetIntegerv", GL_VIEWPORT), "glViewport(0, 0, 800, 600)",
                           "glViewport(0, 0, 800, 600)"}));
    // Drawing inside the scope lands in the guard's rectangle only.
    flat();
    fill(0, 0, 0);
    {
        glppViewport corner(100, 50, 20, 10);
        glppColorf green(0, 1, 0, 1);
        glRectf(-1, -1, 1, 1);
    }
    EXPECT_EQ(pixel(105, 55), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(125, 55), (Rgba{0, 0, 0, 255}));
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(std::vector<GLint>(vp, vp + 4), (std::vector<GLint>{0, 0, 800, 600}));
}

TEST_F(Guards, ScissorAlwaysSetsAndRestoresTheBox) {
    glScissor(0, 0, 800, 600);
    Calls made = callsOf([] { glppScissor same(0, 0, 800, 600); });
    EXPECT_EQ(made, (Calls{call("glGetIntegerv", GL_SCISSOR_BOX), "glScissor(0, 0, 800, 600)",
                           "glScissor(0, 0, 800, 600)"}));
    // With the test on, a clear inside the scope lands in the guard's box only.
    fill(0, 0, 0);
    {
        glppEnable<GL_SCISSOR_TEST> clipped;
        glppScissor corner(100, 50, 20, 10);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }
    EXPECT_EQ(pixel(105, 55), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(125, 55), (Rgba{0, 0, 0, 255}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(std::vector<GLint>(box, box + 4), (std::vector<GLint>{0, 0, 800, 600}));
}

// A state bundle as the outline passes build them: bases in order, then its own calls.
struct Pass : glppEnable<GL_DEPTH_TEST>, glppCullFace<GL_FRONT>, glppPolygonMode<GL_BACK> {
    Pass() : glppPolygonMode<GL_BACK>(GL_LINE) { glEnable(GL_POLYGON_OFFSET_LINE); }
    ~Pass() override { glDisable(GL_POLYGON_OFFSET_LINE); }
};

TEST_F(Guards, BundlesBuildInBaseOrderAndUnwindInReverse) {
    glDisable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glppEnable<GL_DEPTH_TEST>* pass = nullptr;
    const Calls built = callsOf([&] { pass = new Pass; });
    EXPECT_EQ(built, (Calls{call("glIsEnabled", GL_DEPTH_TEST), call("glEnable", GL_DEPTH_TEST),
                            call("glGetIntegerv", GL_CULL_FACE_MODE), call("glCullFace", GL_FRONT),
                            call("glGetIntegerv", GL_POLYGON_MODE),
                            call("glPolygonMode", GL_BACK, GL_LINE),
                            call("glEnable", GL_POLYGON_OFFSET_LINE)}));
    // Deleting through a base pointer runs the whole bundle's undo.
    const Calls undone = callsOf([&] { delete pass; });
    EXPECT_EQ(undone, (Calls{call("glDisable", GL_POLYGON_OFFSET_LINE),
                             call("glPolygonMode", GL_BACK, GL_FILL), call("glCullFace", GL_BACK),
                             call("glDisable", GL_DEPTH_TEST)}));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(polygonModes(), (std::vector<GLint>{GL_FILL, GL_FILL}));
}

} // namespace
