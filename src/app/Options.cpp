#include "app/Options.h"
#include "platform/Cli.h"
#include "script/Timeline.h"

const char* const playerUsage =
    "usage: velmora [--window | --fullscreen] [--size 800x600|640x480] [--start MS]\n"
    "               [--detail auto|designed|coarse]\n";

const char* const playerHelp =
    "Plays the demo. Without options it asks whether to run full screen, then which size;\n"
    "an option answers its question, which is then not asked.\n"
    "  --window      run in a window\n"
    "  --fullscreen  run full screen\n"
    "  --size WxH    800x600 or 640x480\n"
    "  --start MS    start the show and its music MS milliseconds in (0 to 175625)\n"
    "  --detail D    the cube scene's tiles: auto (the default) as designed while frames\n"
    "                draw within 1/60 s, coarser while they do not; designed; coarse\n"
    "  --help, --version\n"
    "Keys while it plays:\n"
    "  Space         pause, and resume\n"
    "  Left, Right   go 5 seconds back or forward\n"
    "  Home          go back to the start\n"
    "  F1            switch between full screen and a window\n"
    "  Escape        end the demo\n";

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
        {"--size", cli::sizeTakes,
         [&](const std::string& v) {
             bool big = false;
             return cli::readSize(v, big) && (out.big = big, true);
         }},
        {"--start", "milliseconds, 0 to 175625",
         [&](const std::string& v) { return cli::readWhole(v, 0, showLength, out.start); }},
        {"--detail", detailTakes(true),
         [&](const std::string& v) { return readDetail(v, true, out.detail); }},
    };
    if (!cli::readOptions(args, options, error)) return false;
    if (conflict) error = "--window and --fullscreen exclude each other";
    return !conflict;
}
