#include "app/Entry.h"
#include "app/Options.h"
#include "platform/Cli.h"
#include "script/Script.h"
#include <cstdio>

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const int answered =
        cli::answerHelp(words, "velmora", (std::string(playerUsage) + playerHelp).c_str());
    if (answered >= 0) return answered;
    PlayerOptions options;
    std::string error;
    if (!readPlayerOptions(words, options, error)) {
        std::fprintf(stderr, "velmora: %s\n%s", error.c_str(), playerUsage);
        return 2;
    }
    selectDetail(options.detail);
    return runVelmora(options, [] {
        Script* script = new Script(); // lives as long as the program
        return FrameStep([script] { return script->frame(); });
    });
}
