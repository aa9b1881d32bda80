// The GLPP guards from a table of starting states: the state inside the scope, and
// after it, also when the scope itself changed the value behind the guard's back.
#include "glpp/Guards.h"
#include "support/GlTest.h"
#include <cmath>
#include <memory>

using namespace GLPP;

namespace {

using Values = std::vector<double>;

struct Property {
    std::function<Values()> read;
    std::function<void(const Values&)> write;
};

Property cap(GLenum c) {
    return {[c] { return Values{double(glIsEnabled(c))}; },
            [c](const Values& v) { v[0] ? glEnable(c) : glDisable(c); }};
}
Property value(GLenum pname, int count, std::function<void(const Values&)> write) {
    return {[pname, count] {
                GLdouble v[4];
                glGetDoublev(pname, v);
                return Values(v, v + count);
            },
            std::move(write)};
}
const Property cullFace =
    value(GL_CULL_FACE_MODE, 1, [](const Values& v) { glCullFace(GLenum(v[0])); });
const Property depthFunc =
    value(GL_DEPTH_FUNC, 1, [](const Values& v) { glDepthFunc(GLenum(v[0])); });
const Property polygon = value(GL_POLYGON_MODE, 2, [](const Values& v) {
    glPolygonMode(GL_FRONT, GLenum(v[0]));
    glPolygonMode(GL_BACK, GLenum(v[1]));
});
const Property colour =
    value(GL_CURRENT_COLOR, 4, [](const Values& v) { glColor4d(v[0], v[1], v[2], v[3]); });
const Property lineWidth =
    value(GL_LINE_WIDTH, 1, [](const Values& v) { glLineWidth(float(v[0])); });
const Property viewport = value(GL_VIEWPORT, 4, [](const Values& v) {
    glViewport(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
});
const Property scissor = value(GL_SCISSOR_BOX, 4, [](const Values& v) {
    glScissor(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
});

template <class G, class... A> std::function<std::shared_ptr<void>()> guard(A... args) {
    return [=] { return std::make_shared<G>(args...); };
}

struct Row {
    const char* what;
    Property property;
    Values start;
    std::function<std::shared_ptr<void>()> make;
    Values inside;
    Values changedInside; // what the scope sets itself, if anything
    Values after;
};

const double nearlyTwo = std::nextafter(2.0f, 3.0f);
const Values full = {0, 0, 800, 600}, box = {100, 50, 20, 10};

using Guards = GlTest;

TEST_F(Guards, EachGuardSetsAndRestoresOnlyWhatItMust) {
    const Row rows[] = {
        {"enable from off", cap(GL_BLEND), {0}, guard<glppEnable<GL_BLEND>>(), {1}, {}, {0}},
        {"enable from on", cap(GL_LIGHT0), {1}, guard<glppEnable<GL_LIGHT0>>(), {1}, {}, {1}},
        {"enable leaves others' changes",
         cap(GL_CULL_FACE),
         {1},
         guard<glppEnable<GL_CULL_FACE>>(),
         {1},
         {0},
         {0}},
        {"enable undoes its own",
         cap(GL_TEXTURE_2D),
         {0},
         guard<glppEnable<GL_TEXTURE_2D>>(),
         {1},
         {1},
         {0}},
        {"disable from on", cap(GL_LIGHTING), {1}, guard<glppDisable<GL_LIGHTING>>(), {0}, {}, {1}},
        {"disable from off",
         cap(GL_DEPTH_TEST),
         {0},
         guard<glppDisable<GL_DEPTH_TEST>>(),
         {0},
         {},
         {0}},
        {"disable leaves others' changes",
         cap(GL_ALPHA_TEST),
         {0},
         guard<glppDisable<GL_ALPHA_TEST>>(),
         {0},
         {1},
         {1}},
        {"switch writes off back",
         cap(GL_TEXTURE_GEN_S),
         {0},
         guard<glppSwitch<GL_TEXTURE_GEN_S>>(),
         {0},
         {1},
         {0}},
        {"switch writes on back",
         cap(GL_TEXTURE_GEN_T),
         {1},
         guard<glppSwitch<GL_TEXTURE_GEN_T>>(),
         {1},
         {0},
         {1}},
        {"cull face",
         cullFace,
         {GL_FRONT},
         guard<glppCullFace<GL_BACK>>(),
         {GL_BACK},
         {GL_FRONT_AND_BACK},
         {GL_FRONT}},
        {"cull face already so",
         cullFace,
         {GL_FRONT},
         guard<glppCullFace<GL_FRONT>>(),
         {GL_FRONT},
         {GL_FRONT_AND_BACK},
         {GL_FRONT_AND_BACK}},
        {"depth func",
         depthFunc,
         {GL_LESS},
         guard<glppDepthFunc<GL_LEQUAL>>(),
         {GL_LEQUAL},
         {GL_ALWAYS},
         {GL_LESS}},
        {"depth func already so",
         depthFunc,
         {GL_LEQUAL},
         guard<glppDepthFunc<GL_LEQUAL>>(),
         {GL_LEQUAL},
         {GL_ALWAYS},
         {GL_ALWAYS}},
        {"back polygon mode",
         polygon,
         {GL_POINT, GL_FILL},
         guard<glppPolygonMode<GL_BACK>>(GLenum(GL_LINE)),
         {GL_POINT, GL_LINE},
         {},
         {GL_POINT, GL_FILL}},
        {"back already so",
         polygon,
         {GL_FILL, GL_LINE},
         guard<glppPolygonMode<GL_BACK>>(GLenum(GL_LINE)),
         {GL_FILL, GL_LINE},
         {GL_FILL, GL_FILL},
         {GL_FILL, GL_FILL}},
        {"front polygon mode",
         polygon,
         {GL_LINE, GL_FILL},
         guard<glppPolygonMode<GL_FRONT>>(GLenum(GL_FILL)),
         {GL_FILL, GL_FILL},
         {},
         {GL_LINE, GL_FILL}},
        {"front already so",
         polygon,
         {GL_FILL, GL_LINE},
         guard<glppPolygonMode<GL_FRONT>>(GLenum(GL_FILL)),
         {GL_FILL, GL_LINE},
         {GL_POINT, GL_LINE},
         {GL_POINT, GL_LINE}},
        {"colour",
         colour,
         {1, 0, 0, 1},
         guard<glppColorf>(0.25f, 0.5f, 0.75f, 1.0f),
         {0.25, 0.5, 0.75, 1},
         {0, 1, 0, 0},
         {1, 0, 0, 1}},
        {"line width", lineWidth, {1}, guard<glppLineWidth>(3.0f), {3}, {}, {1}},
        {"line width already so", lineWidth, {2}, guard<glppLineWidth>(2.0f), {2}, {3}, {3}},
        {"line width compared exactly",
         lineWidth,
         {nearlyTwo},
         guard<glppLineWidth>(2.0f),
         {2},
         {},
         {nearlyTwo}},
        {"viewport", viewport, full, guard<glppViewport>(100, 50, 20, 10), box, {7, 7, 7, 7}, full},
        {"viewport already so",
         viewport,
         box,
         guard<glppViewport>(100, 50, 20, 10),
         box,
         {7, 7, 7, 7},
         box},
        {"scissor", scissor, full, guard<glppScissor>(100, 50, 20, 10), box, {7, 7, 7, 7}, full},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        r.property.write(r.start);
        {
            const std::shared_ptr<void> g = r.make();
            EXPECT_EQ(r.property.read(), r.inside);
            if (!r.changedInside.empty()) r.property.write(r.changedInside);
        }
        EXPECT_EQ(r.property.read(), r.after);
        EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
    }
}

// The colour and viewport guards do draw: inside a 20 x 10 corner, in their colour.
TEST_F(Guards, DrawingInsideTheScopeUsesTheGuardedState) {
    fill(0, 0, 0);
    {
        glppViewport corner(100, 50, 20, 10);
        glppColorf green(0, 1, 0, 1);
        glRectf(-1, -1, 1, 1);
    }
    EXPECT_EQ(pixel(105, 55), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(125, 55), (Rgba{0, 0, 0, 255}));
}

} // namespace
