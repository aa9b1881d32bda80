#include "app/Entry.h"
#include "app/Options.h"
#include "platform/Cli.h"
#include "script/Script.h"

int main(int argc, char** argv) {
    PlayerOptions options;
    const int ended =
        cli::readCommandLine(argc, argv, "velmora", playerUsage, playerHelp(),
                             [&](const std::vector<std::string>& words, std::string& error) {
                                 return readPlayerOptions(words, options, error);
                             });
    if (ended >= 0) return ended;
    selectDetail(options.detail);
    return runVelmora(options, [] {
        static Script* script = new Script(); // lives as long as the program, never deleted
        script->rehearse();
        return FrameStep([] { return script->frame(); });
    });
}
