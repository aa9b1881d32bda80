#include "script/Script.h"
#include "effects/Blur.h"
#include "effects/CubeVom.h"
#include "effects/DrawTiming.h"
#include "effects/Flash.h"
#include "effects/Fond.h"
#include "effects/FxFont.h"
#include "effects/Random.h"
#include "effects/Tea.h"
#include "effects/Tr1.h"
#include "effects/Tr3.h"
#include "effects/TrBlur.h"
#include "engine/Attrib.h"
#include "engine/Demo.h"
#include "engine/Fx.h"
#include "glpp/Guards.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "script/Sets.h"
#include "script/Timeline.h"
#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

FxFont* fontEffect = nullptr;
Blur* blurEffect = nullptr;
Flash* flashEffect = nullptr;
Tea* teaEffect = nullptr;
Tr1* tr1Effect = nullptr;
Tr3* tr3Effect = nullptr;
TrBlur* trBlurEffect = nullptr;
CubeVom* cubeEffect = nullptr;
Fond* fondEffect = nullptr;

std::string entryName(const Fx& fx) {
    const Effect* e = fx.effect;
    if (!e) return "none";
    if (e == static_cast<const Effect*>(cubeEffect)) {
        int method = 0;
        readInt(fx.attribs, "method", method);
        return "CubeVom method " + std::to_string(method);
    }
    const std::pair<const Effect*, const char*> named[] = {
        {teaEffect, "Tea"},     {fondEffect, "Fond"},    {blurEffect, "Blur"},
        {flashEffect, "Flash"}, {fontEffect, "FxFont"},  {tr1Effect, "Tr1"},
        {tr3Effect, "Tr3"},     {trBlurEffect, "TrBlur"}};
    for (const auto& [effect, name] : named)
        if (e == effect) return name;
    return "other";
}

namespace {
// Letters stay sharp on taller screens: a glyph's cell is drawn 1.5 times its height on
// 600 lines, and each atlas has cells twice the one before.
const char* fontFile() {
    const int height = platform::settings().height;
    return height <= 600    ? "DATAS\\font.tga"
           : height <= 1200 ? "DATAS\\font2x.tga"
                            : "DATAS\\font4x.tga";
}
} // namespace

Script::Script() {
    // What the show does without each of its files, for the line that says one is missing.
    platform::describeAsset("DATAS\\zik.mp3", "the show goes on silent");
    const char* const font = fontFile();
    platform::describeAsset(font, "text cards draw untextured");
    platform::describeAsset("DATAS\\map.tga", "no picture changes without it");
    platform::describeAsset("DATAS\\flare.tga", "the cube scene draws without its flare");
    demo.openMusic("DATAS\\zik.mp3");
    // The order matters to the texture cache: the cube scene's map loads last.
    fontEffect = new FxFont(font, 0);
    blurEffect = new Blur(1);
    flashEffect = new Flash(1, 0);
    teaEffect = new Tea("DATAS\\map.tga", 1);
    tr1Effect = new Tr1(0);
    tr3Effect = new Tr3(0);
    trBlurEffect = new TrBlur(1); // made, but the show never places it
    cubeEffect = new CubeVom();
    fondEffect = new Fond();
    fillOpeningSets();
    layOutTimeline(demo);
    // Loading does not count against the show: time zero is now.
    platform::clockReset();
}

bool Script::frameAt(int time) {
    const DrawTiming timed; // in auto detail, this draw's time picks the next one's tiles
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return demo.play(time);
}

bool Script::momentAt(int time) {
    restartRandom(1);
    return frameAt(time);
}

void Script::rehearse() {
    // A moment of each entry, scene, blur, flash and transition by its parameters; the
    // cards by their effect alone, as their texts draw alike.
    std::set<std::pair<const Effect*, const AttribSet*>> seen;
    std::vector<int> moments;
    const auto firstShowing = [&](const Effect* e, const AttribSet* a, int at) {
        if (e && seen.insert({e, e == fontEffect ? nullptr : a}).second) moments.push_back(at);
    };
    for (const auto& [number, track] : demo.tracks) {
        for (const Fx& fx : track->entries)
            firstShowing(fx.effect, fx.attribs, fx.start + fx.duration / 2);
        for (const Transit& tr : track->transits)
            firstShowing(tr.transition, nullptr, tr.start + tr.duration / 2);
    }
    {
        GLPP::glppEnable<GL_SCISSOR_TEST> clipped; // the states matter, not the pixels
        GLPP::glppScissor corner(0, 0, 16, 16);
        for (const int t : moments) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            demo.draw(t);
        }
        glFinish();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    restartRandom(1); // the show draws its sequence from the start, as if never rehearsed
    platform::clockReset();
}

namespace {
// Where each frame's show time, the music's position and the counter's time go, a line
// as each frame is drawn, to check that they agree: the file that VELMORA_SYNC_LOG
// names, when it is set.
FILE* syncLog() {
    static FILE* log = [] {
        const char* path = std::getenv("VELMORA_SYNC_LOG");
        FILE* f = path ? std::fopen(path, "w") : nullptr;
        if (f) std::setvbuf(f, nullptr, _IOLBF, 0);
        return f;
    }();
    return log;
}
} // namespace

bool Script::frame() {
    const double music = demo.music ? demo.music->position() : -1;
    const double now = platform::nowMs();
    const MusicClock::Step step = sync.frame(now, platform::clockElapsedMs(), music);
    // The show's clock itself moves, so that the keys' jumps and the pause, which read it,
    // start from the moment shown.
    if (step.moveClock) platform::clockSet(step.time);
    if (step.moveMusic) demo.music->seek(step.time);
    // The music starts on the first frame where the show is: later than time zero when
    // the window took long to show.
    if (!demo.started && demo.music) demo.music->cue = step.time;
    if (FILE* log = syncLog()) std::fprintf(log, "%d %.1f %.1f\n", step.time, music, now);
    shown = step.time;
    const bool running = frameAt(step.time);
    if (!running) platform::clockReset();
    return running;
}
