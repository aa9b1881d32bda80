// What each effect leaves in the GL state: from two starting states (GL's defaults, and
// everything on or off its default), only the changes each effect is allowed may show,
// with the values they must have.
#include "effects/Blur.h"
#include "effects/CubeVom.h"
#include "effects/Flash.h"
#include "effects/Fond.h"
#include "effects/FxFont.h"
#include "effects/Tea.h"
#include "effects/Tr1.h"
#include "effects/Tr3.h"
#include "effects/TrBlur.h"
#include "engine/Attrib.h"
#include "engine/Track.h"
#include "platform/Gl.h"
#include "support/GlTest.h"
#include <cmath>
#include <set>

namespace {

using Values = std::vector<double>;

struct Row {
    std::string what;
    std::function<void()> draw;
    std::map<std::string, Values> must; // values that the draw leaves, whatever came before
    std::set<std::string> may;          // names that may change to anything
    double perspective = 0;             // the aspect of the projection left, if one is
};

Values identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

// Shows `effect` as an entry of 1000 ms from 2000, `elapsed` ms in, with one parameter.
void show(Effect& effect, const char* key, int value, int elapsed) {
    AttribSet set;
    set.set(Attrib(key, value));
    Fx entry(&effect, 1000, &set);
    entry.start = 2000;
    entry.draw(2000 + elapsed);
}

// Whatever unit was active, the draws that use unit 1 end with unit 0 active.
void unitOne() { platform::activeTexture(GL_TEXTURE1_ARB); }

// A transition between two plain entries, at its middle; the entries may leave a tiny
// viewport behind.
void transit(Transition& t, bool scribble = false) {
    Paint out(1, 0, 0), in(0, 1, 0);
    out.scribble = in.scribble = scribble;
    Track track;
    Fx a(&out, 2000, nullptr), b(&in, 2000, nullptr);
    Transit tr(&t, 1000);
    track.add(a).add(tr).add(b);
    track.active(1500)->draw(1500);
}

class States : public GlTest {
protected:
    void check(const Row& r) {
        for (bool on : {false, true}) {
            SCOPED_TRACE(r.what + (on ? ", from everything on" : ", from the defaults"));
            startState(on);
            const GlState before = glState();
            r.draw();
            const GlState after = glState();
            for (const std::string& name : changed(before, after))
                EXPECT_TRUE(r.must.count(name) || r.may.count(name) ||
                            (r.perspective && name == "projection"))
                    << name << " left changed";
            for (const auto& [name, value] : r.must)
                EXPECT_EQ(after.at(name), value) << name;
            if (r.perspective) { // gluPerspective(45, aspect, 1, 100)
                const Values& p = after.at("projection");
                const double f = 1 / std::tan(M_PI / 8);
                const Values want = {f / r.perspective, 0,  0, 0, 0,           f, 0, 0, 0, 0,
                                     -101.0 / 99,       -1, 0, 0, -200.0 / 99, 0};
                for (size_t i = 0; i < 16; ++i)
                    EXPECT_NEAR(p[i], want[i], 1e-5) << "projection " << i;
            }
            EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
        }
    }
};

TEST_F(States, EachEffectLeavesOnlyWhatItMay) {
    Flash flash(1, 0);
    Fond fond;
    Blur blur(1);
    TrBlur trBlur(1);
    Tr1 tr1(0);
    Tr3 tr3(0);
    FxFont font("DATAS\\font.tga", 0);
    Tea tea("DATAS\\map.tga", 1);
    CubeVom cube;
    const double one = GL_ONE, modelview = GL_MODELVIEW;
    const float c = float(std::sin(float(0.5f * 3.1415)));
    const float end = float(std::sin(float(3.1415))); // a trace of light at p = 1
    const std::map<std::string, Values> additive = {{"blend func", {one, one}},
                                                    {"matrix mode", {modelview}}};
    std::vector<Row> rows = {
        {"white flash",
         [&] { show(flash, "mode", 0, 500); },
         {{"blend func", {one, one}}, {"colour", {c, c, c, 1}}, {"matrix mode", {modelview}}},
         {}},
        {"white flash at its end",
         [&] { show(flash, "mode", 0, 1000); },
         {{"colour", {end, end, end, 1}}},
         {"blend func", "matrix mode"}},
        {"fade in",
         [&] { show(flash, "mode", 4, 300); },
         {{"blend func", {GL_ZERO, GL_SRC_COLOR}},
          {"colour", {0.3f, 0.3f, 0.3f, 1}},
          {"matrix mode", {modelview}}},
         {}},
        {"background", [&] { fond.draw(1000); }, additive, {"bound texture"}},
        {"zoom blur", [&] { show(blur, "mode", 0, 100); }, additive, {"bound texture"}},
        {"glow", [&] { show(blur, "mode", 1, 100); }, additive, {"bound texture"}},
        {"blur transition",
         [&] { transit(trBlur); },
         {{"blend func", {one, one}}, {"matrix mode", {modelview}}, {"texture env", {GL_MODULATE}}},
         {"bound texture"}},
        {"wipe 1", [&] { transit(tr1, true); }, {{"viewport", {0, 0, 800, 600}}}, {}},
        {"wipe 3", [&] { transit(tr3, true); }, {{"viewport", {0, 0, 800, 600}}}, {}},
        {"card",
         [&] { unitOne(), show(font, "mode", 0, 0); },
         {{"blend func", {one, one}},
          {"matrix mode", {modelview}},
          {"depth mask", {1}},
          {"active unit", {GL_TEXTURE0_ARB}}},
         {"bound texture"}},
        {"outlines",
         [&] { tea.draw(777); },
         {{"matrix mode", {modelview}}, {"modelview", identity()}, {"texture env", {GL_MODULATE}}},
         {"bound texture"},
         600.0 / 800},
    };
    for (int method : {0, 1, 2, 3, 4, 5, 6}) {
        Row r{"cube method " + std::to_string(method),
              [&cube, method] { unitOne(), show(cube, "method", method, 300); },
              {{"matrix mode", {modelview}},
               {"active unit", {GL_TEXTURE0_ARB}},
               {"texture 1", {0}},
               {"gen s 1", {0}},
               {"gen t 1", {0}}},
              {},
              800.0 / 600};
        if (method == 3)
            r.may = {"modelview", "bound texture 1"}; // the surface keeps its turn
        else
            r.must["modelview"] = identity();
        if (method != 2 && method != 4 && method != 3) r.may.insert("bound texture 1");
        if (method != 2 && method != 3) r.must["colour"] = {1, 1, 1, 1}; // the lists' white
        rows.push_back(r);
    }
    for (const Row& r : rows)
        check(r);
}

} // namespace
