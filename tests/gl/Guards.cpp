// The GLPP guards from a table of starting states: the state inside the scope and after
// it, also when the scope changed the value behind the guard's back.
#include "glpp/Guards.h"
#include "support/GlTest.h"
#include <cmath>
#include <memory>

using namespace GLPP;

namespace {

using Values = std::vector<double>;

// One property of the GL state: how to read it, and how to set it.
struct Property {
    std::function<Values()> read;
    std::function<void(const Values&)> write;
};
Property cap(GLenum c) {
    return {[c] { return Values{double(glIsEnabled(c))}; },
            [c](const Values& v) { v[0] ? glEnable(c) : glDisable(c); }};
}
Property value(GLenum pname, int n, void (*write)(const Values&)) {
    return {[pname, n] {
                GLdouble v[4];
                glGetDoublev(pname, v);
                return Values(v, v + n);
            },
            write};
}
const Property cull =
    value(GL_CULL_FACE_MODE, 1, [](const Values& v) { glCullFace(GLenum(v[0])); });
const Property depth = value(GL_DEPTH_FUNC, 1, [](const Values& v) { glDepthFunc(GLenum(v[0])); });
const Property width = value(GL_LINE_WIDTH, 1, [](const Values& v) { glLineWidth(float(v[0])); });
const Property polygon = value(GL_POLYGON_MODE, 2, [](const Values& v) {
    glPolygonMode(GL_FRONT, GLenum(v[0]));
    glPolygonMode(GL_BACK, GLenum(v[1]));
});
const Property colour =
    value(GL_CURRENT_COLOR, 4, [](const Values& v) { glColor4d(v[0], v[1], v[2], v[3]); });
const Property viewport = value(GL_VIEWPORT, 4, [](const Values& v) {
    glViewport(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
});
const Property scissor = value(GL_SCISSOR_BOX, 4, [](const Values& v) {
    glScissor(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
});

// From `start`, guard G(args) must give `inside`; when the scope then sets `scope`
// itself (unless empty), `after` must follow the guard's end.
template <class G, class... A>
void check(const Property& p, Values start, Values inside, Values scope, Values after, A... args) {
    p.write(start);
    {
        const auto guard = std::make_unique<G>(args...);
        EXPECT_EQ(p.read(), inside) << "from " << ::testing::PrintToString(start);
        if (!scope.empty()) p.write(scope);
    }
    EXPECT_EQ(p.read(), after) << "from " << ::testing::PrintToString(start);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

using Guards = GlTest;

TEST_F(Guards, EachSetsAndRestoresOnlyWhatItMust) {
    check<glppEnable<GL_BLEND>>(cap(GL_BLEND), {0}, {1}, {}, {0});
    check<glppEnable<GL_LIGHT0>>(cap(GL_LIGHT0), {1}, {1}, {}, {1});
    check<glppEnable<GL_CULL_FACE>>(cap(GL_CULL_FACE), {1}, {1}, {0}, {0});
    check<glppEnable<GL_TEXTURE_2D>>(cap(GL_TEXTURE_2D), {0}, {1}, {1}, {0});
    check<glppDisable<GL_LIGHTING>>(cap(GL_LIGHTING), {1}, {0}, {}, {1});
    check<glppDisable<GL_DEPTH_TEST>>(cap(GL_DEPTH_TEST), {0}, {0}, {}, {0});
    check<glppDisable<GL_ALPHA_TEST>>(cap(GL_ALPHA_TEST), {0}, {0}, {1}, {1});
    check<glppDisable<GL_BLEND>>(cap(GL_BLEND), {1}, {0}, {0}, {1});
    check<glppSwitch<GL_TEXTURE_GEN_S>>(cap(GL_TEXTURE_GEN_S), {0}, {0}, {1}, {0});
    check<glppSwitch<GL_TEXTURE_GEN_T>>(cap(GL_TEXTURE_GEN_T), {1}, {1}, {0}, {1});
    check<glppCullFace<GL_BACK>>(cull, {GL_FRONT}, {GL_BACK}, {GL_FRONT_AND_BACK}, {GL_FRONT});
    check<glppCullFace<GL_FRONT>>(cull, {GL_FRONT}, {GL_FRONT}, {GL_BACK}, {GL_BACK});
    check<glppDepthFunc<GL_LEQUAL>>(depth, {GL_LESS}, {GL_LEQUAL}, {GL_ALWAYS}, {GL_LESS});
    check<glppDepthFunc<GL_LEQUAL>>(depth, {GL_LEQUAL}, {GL_LEQUAL}, {GL_ALWAYS}, {GL_ALWAYS});
    // Each polygon-mode guard compares and restores its own face only.
    check<glppPolygonMode<GL_BACK>>(polygon, {GL_POINT, GL_FILL}, {GL_POINT, GL_LINE}, {},
                                    {GL_POINT, GL_FILL}, GLenum(GL_LINE));
    check<glppPolygonMode<GL_BACK>>(polygon, {GL_FILL, GL_LINE}, {GL_FILL, GL_LINE},
                                    {GL_FILL, GL_FILL}, {GL_FILL, GL_FILL}, GLenum(GL_LINE));
    check<glppPolygonMode<GL_FRONT>>(polygon, {GL_LINE, GL_FILL}, {GL_FILL, GL_FILL}, {},
                                     {GL_LINE, GL_FILL}, GLenum(GL_FILL));
    check<glppPolygonMode<GL_FRONT>>(polygon, {GL_FILL, GL_LINE}, {GL_FILL, GL_LINE},
                                     {GL_POINT, GL_LINE}, {GL_POINT, GL_LINE}, GLenum(GL_FILL));
    check<glppColorf>(colour, {1, 0, 0, 1}, {0.25, 0.5, 0.75, 1}, {0, 1, 0, 0}, {1, 0, 0, 1}, 0.25f,
                      0.5f, 0.75f, 1.0f);
    check<glppLineWidth>(width, {1}, {3}, {}, {1}, 3.0f);
    check<glppLineWidth>(width, {2}, {2}, {3}, {3}, 2.0f);
    const double nearlyTwo = std::nextafter(2.0f, 3.0f); // compared exactly
    check<glppLineWidth>(width, {nearlyTwo}, {2}, {}, {nearlyTwo}, 2.0f);
    const Values full = {0, 0, 800, 600}, box = {100, 50, 20, 10}, other = {7, 7, 7, 7};
    check<glppViewport>(viewport, full, box, other, full, 100, 50, 20, 10);
    check<glppViewport>(viewport, box, box, other, box, 100, 50, 20, 10);
    check<glppScissor>(scissor, full, box, other, full, 100, 50, 20, 10);
    check<glppScissor>(scissor, box, box, other, box, 100, 50, 20, 10);
}

} // namespace
