// The show in a page. The page's script (index.html) asks the start-up questions and calls
// velmoraPlay with the answers and its URL parameters as the desktop's command-line words,
// or velmoraStill for one moment. Frames follow the browser's, on requestAnimationFrame.
#include "app/Options.h"
#include "app/Player.h"
#include "effects/Detail.h"
#include "engine/Demo.h"
#include "platform/Cli.h"
#include "platform/Clock.h"
#include "platform/Presentation.h"
#include "platform/Settings.h"
#include "platform/web/Canvas.h"
#include "script/Script.h"
#include "script/Timeline.h"
#include <cstdio>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <sstream>

namespace {

Player* player = nullptr;
Script* script = nullptr;
int startAt = 0;      // where the show starts, ms
bool started = false; // the show's clock runs: the music was ready

// clang-format off
EM_JS(void, velmora_page_said, (const char* what), { Module.velmoraSaid(UTF8ToString(what)); });
EM_JS(int, velmora_music_pending, (), { return Module.velmoraMusic.pending; });
EM_JS(void, velmora_page_fullscreen, (), { Module.velmoraFullscreen(); });
EM_JS(int, velmora_page_leave_fullscreen, (), { return Module.velmoraLeaveFullscreen(); });
EM_JS(void, velmora_page_largest, (int* w, int* h), {
    HEAP32[w >> 2] = screen.width * devicePixelRatio;
    HEAP32[h >> 2] = screen.height * devicePixelRatio;
});
// clang-format on

// What the page shows of the run: "frame MS designed|coarse" after each frame (the show time
// and the cube scene's tiles), "ended", "still MS".
void say(const std::string& what) { velmora_page_said(what.c_str()); }

// The settings for a screen of `size` and the canvas made to match; false after saying why not.
bool openScreen(platform::ScreenSize size) {
    platform::chooseResolution(platform::settings(), size);
    std::string error;
    if (platform::openCanvas(error)) return true;
    std::fprintf(stderr, "velmora: %s\n", error.c_str());
    return false;
}

void end() {
    emscripten_cancel_main_loop();
    if (demo.music) demo.music->pause();
    say("ended");
}

void frame() {
    if (!started) {
        if (velmora_music_pending()) return; // the music decodes; the show waits for it
        started = true;
        platform::clockReset(); // loading does not count against the show
        player->jump(startAt);
    }
    if (player->paused()) return;
    const bool running = player->frame();
    say("frame " + std::to_string(script->shown) +
        (coarseTiles() ? " coarse" : " designed"));
    if (!running) end();
}

EM_BOOL key(int, const EmscriptenKeyboardEvent* event, void*) {
    const std::string code = event->code;
    if (code == "F1") {
        velmora_page_fullscreen();
        return EM_TRUE;
    }
    if (!started || !player) return EM_FALSE;
    if (code == "Escape") {
        // Full screen is the browser's to leave on Escape, the show going on; should the key
        // reach the page as well, it leaves full screen here and no more.
        if (!velmora_page_leave_fullscreen()) end();
        return EM_TRUE;
    }
    const std::pair<const char*, Control> controls[] = {{"Space", Control::Pause},
                                                        {"ArrowLeft", Control::Back},
                                                        {"ArrowRight", Control::Forward},
                                                        {"Home", Control::Home}};
    for (const auto& [name, control] : controls) {
        if (code != name) continue;
        if (!event->repeat && !player->press(control)) end();
        return EM_TRUE;
    }
    return EM_FALSE;
}

} // namespace

extern "C" {

// Plays the show with `words`, the options one a line; false after saying why not.
EMSCRIPTEN_KEEPALIVE int velmoraPlay(const char* words) {
    std::vector<std::string> args;
    std::istringstream lines(words);
    for (std::string line; std::getline(lines, line);)
        args.push_back(line);
    PlayerOptions options;
    std::string error;
    if (!readPlayerOptions(args, options, error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        return 0;
    }
    platform::ScreenSize size = options.size ? *options.size : platform::bigSize;
    if (options.native) {
        int w = 0, h = 0;
        velmora_page_largest(&w, &h);
        size = platform::largestWithin(w, h);
    }
    selectDetail(options.detail);
    if (!openScreen(size)) return 0;
    script = new Script(); // lives as long as the page
    script->rehearse();
    player = new Player([] { return script->frame(); }, demo.music.get());
    startAt = options.start;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, key);
    emscripten_set_main_loop(frame, 0, 0);
    return 1;
}

// Draws the moment `at` (ms) at `size` ("WxH") with the designed detail and holds it, as
// velmora-capture --at does, with no sound; false after saying why not. Called again, it
// draws a further moment at the same size, as the capture tool's next --at.
EMSCRIPTEN_KEEPALIVE int velmoraStill(const char* at, const char* size) {
    platform::ScreenSize screen = platform::bigSize;
    int ms = 0;
    const cli::Whole moment = {"milliseconds", 0, showLength};
    if (!moment.read(at, ms)) {
        std::fprintf(stderr, "velmora: at takes %s, not %s\n", moment.takes().c_str(), at);
        return 0;
    }
    if (!cli::readSize(size, screen)) {
        std::fprintf(stderr, "velmora: size takes %s, not %s\n", cli::sizeTakes().c_str(), size);
        return 0;
    }
    if (!script) {
        demo.sound = false;
        selectDetail(Detail::Designed);
        if (!openScreen(screen)) return 0;
        script = new Script(); // lives as long as the page
        script->frameAt(0); // as the capture tool: the frame a live run starts with, unseen
    } else if (screen.width != platform::settings().width ||
               screen.height != platform::settings().height) {
        std::fprintf(stderr, "velmora: the page's stills keep the size of its first\n");
        return 0;
    }
    script->momentAt(ms); // as the capture tool draws each --at moment
    platform::endFrame();
    say("still " + std::to_string(ms));
    return 1;
}
}

// The page calls in once the runtime is up; main has nothing to do.
int main() { return 0; }
