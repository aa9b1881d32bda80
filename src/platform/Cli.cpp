#include "platform/Cli.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {
// --help prints `usage` on stdout, --version the program's name and version: it then
// exits 0 with what this returns. -1 when neither was asked for.
int answerHelp(const std::vector<std::string>& args, const char* tool, const char* usage) {
    for (const std::string& a : args) {
        if (a == "--help") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (a == "--version") {
            std::printf("%s %s\n", tool, VELMORA_VERSION);
            return 0;
        }
    }
    return -1;
}
} // namespace

int readCommandLine(int argc, char** argv, const char* program, const char* usage,
                    const std::string& help, const Reader& read) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const int answered = answerHelp(words, program, (usage + help).c_str());
    if (answered >= 0) return answered;
    std::string error;
    if (read(words, error)) return -1;
    std::fprintf(stderr, "%s: %s\n%s", program, error.c_str(), usage);
    return 2;
}

bool readOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                 std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const Option* option = nullptr;
        for (const Option& o : options)
            if (args[i] == o.name) option = &o;
        if (!option) {
            error =
                args[i].rfind("-", 0) == 0 ? "unknown option " + args[i] : "unexpected " + args[i];
            return false;
        }
        const bool valued = !option->takes.empty();
        if (valued && i + 1 >= args.size()) {
            error = option->name + (" takes " + option->takes);
            return false;
        }
        const std::string value = valued ? args[++i] : "";
        if (!option->take(value)) {
            error = option->name + (" takes " + option->takes) + ", not " + value;
            return false;
        }
    }
    return true;
}

bool readWxH(const std::string& text, platform::ScreenSize& out) {
    const size_t x = text.find('x');
    platform::ScreenSize size{};
    if (x == std::string::npos || text.find_first_not_of("0123456789x") != std::string::npos ||
        !readWhole(text.substr(0, x), 1, 99999, size.width) ||
        !readWhole(text.substr(x + 1), 1, 99999, size.height))
        return false;
    out = size;
    return true;
}

bool readSize(const std::string& text, platform::ScreenSize& out) {
    platform::ScreenSize size{};
    if (!readWxH(text, size) || !platform::drawableSize(size)) return false;
    out = size;
    return true;
}

bool readWhole(const std::string& text, long low, long high, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

std::string Whole::range() const { return std::to_string(low) + " to " + std::to_string(high); }

std::string Whole::takes() const { return unit + (", " + range()); }

std::string sizeRule() {
    const auto size = [](int height) {
        return std::to_string(height / 3 * 4) + "x" + std::to_string(height);
    };
    return "from " + size(platform::leastHeight) + " to " + size(platform::mostHeight) +
           ", the height a multiple of " + std::to_string(platform::heightStep);
}

std::string sizeTakes() { return "a 4:3 size WxH " + sizeRule(); }

} // namespace cli
