#pragma once
#include "effects/Detail.h"
#include "platform/Settings.h"
#include <optional>
#include <string>
#include <vector>

// What the viewer asked for on the command line. A start-up question that an option
// answers is not asked.
struct PlayerOptions {
    std::optional<bool> fullscreen;           // --fullscreen, or --window
    std::optional<platform::ScreenSize> size; // --size WxH
    bool native = false;                      // --size native: the largest that fits the screen
    int start = 0;                            // --start: ms into the show
    Detail detail = Detail::Auto; // --detail: designed tiles where the frames afford them
};

// Reads the command line, --help and --version aside. False with a reason that names
// the option and what it takes.
bool readPlayerOptions(const std::vector<std::string>& args, PlayerOptions& out,
                       std::string& error);

// The usage line, and what follows it under --help.
extern const char* const playerUsage;
std::string playerHelp();
