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
    std::set<std::string> may = {};     // names that may change to anything
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
// viewport behind them, and find another before.
void transit(Transition& t, bool scribble = false) {
    Paint out(1, 0, 0), in(0, 1, 0);
    out.scribble = in.scribble = scribble;
    if (scribble) glViewport(10, 20, 30, 40); // and a viewport before them
    Track track;
    Fx a(&out, 2000, nullptr), b(&in, 2000, nullptr);
    Transit tr(&t, 1000);
    track.add(a).add(tr).add(b);
    track.active(1500)->draw(1500);
}

// Besides a row's own, every draw may leave other textures bound and the matrix mode at
// GL_MODELVIEW, as the effects' convention has it.
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
                EXPECT_TRUE(r.must.count(name) || r.may.count(name) || name.find("bound") == 0 ||
                            (name == "matrix mode" && after.at(name)[0] == GL_MODELVIEW) ||
                            (r.perspective && name == "projection"))
                    << name << " left changed";
            for (const auto& [name, value] : r.must)
                EXPECT_EQ(after.at(name), value) << name;
            const double f = 1 / std::tan(M_PI / 8); // gluPerspective(45, aspect, 1, 100)
            const Values want = {f / r.perspective, 0,  0, 0, 0,           f, 0, 0, 0, 0,
                                 -101.0 / 99,       -1, 0, 0, -200.0 / 99, 0};
            for (size_t i = 0; i < 16 && r.perspective; ++i)
                EXPECT_NEAR(after.at("projection")[i], want[i], 1e-5) << "projection " << i;
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
    const Values one = {GL_ONE, GL_ONE}, full = {0, 0, 800, 600}, modulate = {GL_MODULATE};
    const float c = float(std::sin(float(0.5f * 3.1415))), end = float(std::sin(float(3.1415)));
    std::vector<Row> rows = {
        // the flash leaves its blend function and colour (a trace at p = 1)
        {"white flash",
         [&] { show(flash, "mode", 0, 500); },
         {{"blend func", one}, {"colour", {c, c, c, 1}}}},
        {"flash's end",
         [&] { show(flash, "mode", 0, 1000); },
         {{"blend func", one}, {"colour", {end, end, end, 1}}}},
        {"fade in",
         [&] { show(flash, "mode", 4, 300); },
         {{"blend func", {GL_ZERO, GL_SRC_COLOR}}, {"colour", {0.3f, 0.3f, 0.3f, 1}}}},
        {"background", [&] { fond.draw(1000); }, {{"blend func", one}}},
        {"zoom blur", [&] { show(blur, "mode", 0, 100); }, {{"blend func", one}}},
        {"glow", [&] { show(blur, "mode", 1, 100); }, {{"blend func", one}}},
        {"blur transition",
         [&] { transit(trBlur); },
         {{"blend func", one}, {"texture env", modulate}}},
        {"wipe 1", [&] { transit(tr1, true); }, {{"viewport", full}}},
        {"wipe 3", [&] { transit(tr3, true); }, {{"viewport", full}}},
        {"card",
         [&] { unitOne(), show(font, "mode", 0, 0); },
         {{"blend func", one}, {"depth mask", {1}}, {"active unit", {GL_TEXTURE0_ARB}}}},
        {"outlines",
         [&] { tea.draw(777); },
         {{"modelview", identity()}, {"texture env", modulate}},
         {},
         600.0 / 800},
    };
    for (int method : {0, 1, 2, 3, 4, 5, 6}) { // unit 0 active, unit 1 off; the lists' white
        Row r{"cube method " + std::to_string(method),
              [&cube, method] { unitOne(), show(cube, "method", method, 300); },
              {{"active unit", {GL_TEXTURE0_ARB}},
               {"texture 1", {0}},
               {"gen s 1", {0}},
               {"gen t 1", {0}}},
              {},
              800.0 / 600};
        if (method == 3)
            r.may = {"modelview"}; // the surface keeps its turn
        else
            r.must["modelview"] = identity();
        if (method != 2 && method != 3) r.must["colour"] = {1, 1, 1, 1};
        rows.push_back(r);
    }
    for (const Row& r : rows)
        check(r);
}

} // namespace
