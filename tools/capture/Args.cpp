#include "Args.h"
#include "platform/Cli.h"
#include "script/Timeline.h"
#include <cstdio>

const char* const captureUsage =
    "usage: velmora-capture [--size WxH] [--out-dir DIR] --at MS [--at MS ...]\n"
    "       velmora-capture [--size WxH] [--out-dir DIR] --fps N [--from MS] [--to MS]\n"
    "       velmora-capture --video FILE.mp4 [--fps N] [--from MS] [--to MS] [--size WxH]\n"
    "                       [--pad WxH]\n"
    "       (--detail designed|coarse with any of them)\n";

std::string captureHelp() {
    return "Renders moments of the show to PNG files (frame-NNNNNN.png, the time in ms), or a span "
           "of\n"
           "it to an H.264 video with its music, without a window or sound.\n"
           "  --at MS        one moment, in milliseconds from the start; may be given again,\n"
           "                 each drawn as it would be alone\n"
           "  --fps N        every frame of a span at N frames a second (video: 60)\n"
           "  --from, --to   the span, in milliseconds (the whole show by default)\n"
           "  --size WxH     800x600 (the default), or any 4:3 size\n"
           "                 " +
           cli::sizeRule() +
           "\n"
           "  --out-dir DIR  where the frames go (the working directory by default)\n"
           "  --video FILE   encode with ffmpeg into FILE instead of writing frames\n"
           "  --pad WxH      the video's frame: the picture centred in it between black bars\n"
           "                 (1920x1080 for a 1440x1080 picture); even sides, at least the size\n"
           "  --detail D     designed (the default): every tile of the cube scene as designed;\n"
           "                 coarse: small tiles with coarser meshes, as a slow machine shows "
           "them\n"
           "  --exact        the same as --detail designed\n"
           "  --help, --version\n";
}

namespace {
const cli::Whole milliseconds = {"milliseconds", 0, 100000000};
const cli::Whole fps = {"frames per second", 1, 1000};

// A video frame: even sides, as H.264's colour planes need, up to 8K.
constexpr platform::ScreenSize largestPad = {7680, 4320};
const std::string padTakes = "WxH, both even, up to " + std::to_string(largestPad.width) + "x" +
                             std::to_string(largestPad.height);

bool readPad(const std::string& text, platform::ScreenSize& out) {
    platform::ScreenSize pad{};
    if (!cli::readWxH(text, pad) || pad.width > largestPad.width ||
        pad.height > largestPad.height || pad.width % 2 != 0 || pad.height % 2 != 0)
        return false;
    out = pad;
    return true;
}
} // namespace

std::string frameName(int time) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", time);
    return name;
}

bool parseCaptureArgs(const std::vector<std::string>& args, CaptureArgs& out, std::string& error) {
    bool haveFrom = false, haveTo = false;
    const std::vector<cli::Option> options = {
        {"--size", cli::sizeTakes(),
         [&](const std::string& v) { return cli::readSize(v, out.size); }},
        {"--pad", padTakes, [&](const std::string& v) { return readPad(v, out.pad); }},
        {"--out-dir", "a folder", [&](const std::string& v) { return !(out.outDir = v).empty(); }},
        {"--video", "a file name", [&](const std::string& v) { return !(out.video = v).empty(); }},
        {"--at", milliseconds.takes(),
         [&](const std::string& v) {
             int t = 0;
             if (!milliseconds.read(v, t)) return false;
             out.times.push_back(t);
             return true;
         }},
        {"--fps", fps.takes(), [&](const std::string& v) { return fps.read(v, out.fps); }},
        {"--from", milliseconds.takes(),
         [&](const std::string& v) { return haveFrom = milliseconds.read(v, out.from); }},
        {"--to", milliseconds.takes(),
         [&](const std::string& v) { return haveTo = milliseconds.read(v, out.to); }},
        {"--detail", detailTakes(false),
         [&](const std::string& v) { return readDetail(v, false, out.detail); }},
        {"--exact", nullptr,
         [&](const std::string&) { return (out.detail = Detail::Designed), true; }},
    };
    if (!cli::readOptions(args, options, error)) return false;
    if (!out.video.empty() && out.fps == 0) out.fps = 60;
    if (!haveTo) out.to = showLength;
    const bool span = out.fps != 0 || haveFrom || haveTo;
    if (!out.times.empty() && (span || !out.video.empty())) {
        error = "--at cannot be combined with --fps, --from, --to or --video";
        return false;
    }
    if (out.times.empty() && out.fps == 0) {
        error = "say which frames: --at MS, or --fps N";
        return false;
    }
    if (out.fps == 0 && span) {
        error = "--from and --to need --fps";
        return false;
    }
    if (out.fps != 0 && out.from >= out.to) {
        error = "--from must be below --to";
        return false;
    }
    if (out.pad.width != 0 && out.video.empty()) {
        error = "--pad needs --video";
        return false;
    }
    if (out.pad.width != 0 &&
        (out.pad.width < out.size.width || out.pad.height < out.size.height)) {
        error = "--pad takes a frame at least as large as --size";
        return false;
    }
    if (out.times.empty()) out.times = spanTimes(out.fps, out.from, out.to);
    return true;
}
