#include "Options.h"
#include "platform/Cli.h"
#include "script/Timeline.h"

const char* const usage = "usage: velmora-bench [--size WxH] [--step MS] [--repeat N] [--json]\n"
                          "                     [--detail designed|coarse]\n"
                          "       velmora-bench --fidelity [--size WxH]\n";
namespace {
const cli::Whole step = {"milliseconds", 1, showLength};
const cli::Whole repeat = {"a count", 1, 100};
} // namespace

std::string help() {
    return "Times the show on this machine's renderer, without a window or sound: start-up, each\n"
           "section's frame times, the whole show, peak memory, and the cube scene's tiles "
           "against\n"
           "a bare draw of the same tiles with the designed meshes.\n"
           "  --size WxH    800x600 (the default), or any 4:3 size\n"
           "                " +
           cli::sizeRule() +
           "\n"
           "  --step MS     render every MS milliseconds of the show (100)\n"
           "  --repeat N    make N passes over the show and keep each moment's fastest (1)\n"
           "  --json        one JSON object instead of the table\n"
           "  --detail D    coarse (the default): small tiles of the cube scene with coarser\n"
           "                meshes, as the demo draws them where the frames do not afford more;\n"
           "                designed: every tile as designed\n"
           "  --exact       the same as --detail designed\n"
           "  --fidelity    instead of timing, compare the show's pictures with the same pictures\n"
           "                drawn with the designed meshes (PSNR, frame by frame)\n"
           "  --help, --version\n";
}

bool parse(const std::vector<std::string>& args, Options& o, std::string& error) {
    const std::vector<cli::Option> options = {
        {"--size", cli::sizeTakes(),
         [&](const std::string& v) { return cli::readSize(v, o.size); }},
        {"--step", step.takes(), [&](const std::string& v) { return step.read(v, o.step); }},
        {"--repeat", repeat.takes(),
         [&](const std::string& v) { return repeat.read(v, o.repeat); }},
        {"--json", nullptr, [&](const std::string&) { return o.json = true; }},
        {"--detail", detailTakes(false),
         [&](const std::string& v) { return readDetail(v, false, o.detail); }},
        {"--exact", nullptr,
         [&](const std::string&) { return (o.detail = Detail::Designed), true; }},
        {"--fidelity", nullptr, [&](const std::string&) { return o.fidelity = true; }},
    };
    return cli::readOptions(args, options, error);
}
