#pragma once
#include "effects/Detail.h"
#include "platform/Settings.h"
#include <string>
#include <vector>

// What the command line asks of the bench.
struct Options {
    platform::ScreenSize size = platform::bigSize;
    int step = 100;
    int repeat = 1; // passes over every moment; each moment's fastest counts
    bool json = false;
    Detail detail = Detail::Coarse; // as the live demo draws here, on a software renderer
    bool fidelity = false;          // compare pictures instead of timing them
};

extern const char* const usage;
std::string help();

// Reads the options after the program's name; false with `error` set on a bad one.
bool parse(const std::vector<std::string>& args, Options& o, std::string& error);
