// Renders frames of the show to PNG files (or a video) without a visible window.
#include "Args.h"
#include "Png.h"
#include "Video.h"
#include "effects/Detail.h"
#include "engine/Demo.h"
#include "platform/Cli.h"
#include "platform/Headless.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "script/Script.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>

namespace {

// Each frame is compressed and written on a thread of its own while the next one draws;
// its line is printed once it is on disk. One write at a time is in flight.
int renderFrames(Script& script, const CaptureArgs& args) {
    std::error_code ec;
    std::filesystem::create_directories(args.outDir, ec);
    const platform::Settings& s = platform::settings();
    std::future<bool> writing;
    std::string path, line; // of the frame being written
    const auto written = [&] {
        if (!writing.valid()) return true;
        if (!writing.get()) {
            std::fprintf(stderr, "velmora-capture: cannot write %s\n", path.c_str());
            return false;
        }
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        return true;
    };
    for (int time : args.times) {
        // A moment is the same picture whichever others are asked with it; a span runs on.
        const bool drawn = args.fps ? script.frameAt(time) : script.momentAt(time);
        std::vector<uint8_t> rgb = platform::readRgbTopDown(s.width, s.height);
        if (!written()) return 1;
        const std::string name = frameName(time);
        path = (std::filesystem::path(args.outDir) / name).string();
        line = name + (drawn ? " drawn" : " end");
        writing = std::async(std::launch::async, [&s, file = path, pixels = std::move(rgb)] {
            return writePng(file, s.width, s.height, pixels);
        });
    }
    return written() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    CaptureArgs args;
    const int ended =
        cli::readCommandLine(argc, argv, "velmora-capture", captureUsage, captureHelp(),
                             [&](const std::vector<std::string>& words, std::string& error) {
                                 return parseCaptureArgs(words, args, error);
                             });
    if (ended >= 0) return ended;
    std::string error;
    if (!platform::openHeadless(args.size, error)) {
        std::fprintf(stderr, "velmora-capture: %s\n", error.c_str());
        return 1;
    }
    demo.sound = false; // pictures only: the music is never heard
    selectDetail(args.detail);
    Script script;
    // A live run's first frame is at time 0 and draws in the state the image loads
    // left behind; draw it too, unseen, so every captured frame is one a live run shows.
    script.frameAt(0);
    const int code = args.video.empty() ? renderFrames(script, args) : encodeVideo(script, args);
    // The GL context and window go with the process: tearing them down first only
    // unloads the GL driver, whose own leftovers then read as leaks under LeakSanitizer.
    return code;
}
