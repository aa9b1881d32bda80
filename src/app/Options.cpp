#include "app/Options.h"
#include "platform/Cli.h"
#include "script/Timeline.h"

namespace {
const cli::Whole startAt = {"milliseconds", 0, showLength};
}

const char* const playerUsage =
    "usage: velmora [--window | --fullscreen] [--size WxH|native] [--start MS]\n"
    "               [--detail auto|designed|coarse]\n";

std::string playerHelp() {
    return "Plays the demo. Without options it asks whether to run full screen, then which size;\n"
           "an option answers its question, which is then not asked.\n"
           "  --window      run in a window\n"
           "  --fullscreen  run full screen\n"
           "  --size WxH    any 4:3 size " +
           cli::sizeRule() +
           "\n"
           "  --size native with --fullscreen: the largest such size the screen holds, drawn\n"
           "                pixel for pixel between black bars\n"
           "  --start MS    start the show and its music MS milliseconds in (" +
           startAt.range() +
           ")\n"
           "  --detail D    the cube scene's tiles: auto (the default) as designed while frames\n"
           "                draw within 1/60 s, coarser while they do not; designed; coarse\n"
           "  --help, --version\n"
           "Keys while it plays:\n"
           "  Space         pause, and resume\n"
           "  Left, Right   go 5 seconds back or forward\n"
           "  Home          go back to the start\n"
           "  F1            switch between full screen and a window\n"
           "  Escape        end the demo\n";
}

bool readPlayerOptions(const std::vector<std::string>& args, PlayerOptions& out,
                       std::string& error) {
    bool conflict = false; // --window and --fullscreen both given
    const auto screen = [&](bool fullscreen) {
        conflict = conflict || (out.fullscreen && *out.fullscreen != fullscreen);
        out.fullscreen = fullscreen;
        return true;
    };
    // One entry an option: what it is called, what it takes, where its value goes.
    const std::vector<cli::Option> options = {
        {"--window", nullptr, [&](const std::string&) { return screen(false); }},
        {"--fullscreen", nullptr, [&](const std::string&) { return screen(true); }},
        {"--size", cli::sizeTakes() + ", or native",
         [&](const std::string& v) {
             platform::ScreenSize size{};
             out.native = v == "native";
             return out.native || (cli::readSize(v, size) && (out.size = size, true));
         }},
        {"--start", startAt.takes(),
         [&](const std::string& v) { return startAt.read(v, out.start); }},
        {"--detail", detailTakes(true),
         [&](const std::string& v) { return readDetail(v, true, out.detail); }},
    };
    if (!cli::readOptions(args, options, error)) return false;
    if (conflict)
        error = "--window and --fullscreen exclude each other";
    else if (out.native && !(out.fullscreen && *out.fullscreen))
        error = "--size native needs --fullscreen";
    else
        return true;
    return false;
}
