#pragma once
#include "platform/Settings.h"
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The command line of every program: options read against one table, with --help and
// --version answered the same way by all of them.
namespace cli {

struct Option {
    // Takes the value (empty for a flag); false when it is not one the option takes.
    using Take = std::function<bool(const std::string& value)>;

    // An option that takes a value, and what that is, for errors ("milliseconds, 0 to
    // 175625"); and a flag, which takes none.
    Option(const char* option, std::string what, Take taker)
        : name(option), takes(std::move(what)), take(std::move(taker)) {}
    Option(const char* option, std::nullptr_t, Take taker) : name(option), take(std::move(taker)) {}

    const char* name;  // "--size"
    std::string takes; // empty for a flag
    Take take;
};

// A program's whole command line: --help and --version answered with `usage` + `help`,
// then `read` (the program's option reader) run on the words; when it refuses, the
// reason, after "PROGRAM: ", and `usage` go to stderr. The exit status when the program
// ends here (0 answered, 2 refused); -1 to go on.
using Reader = std::function<bool(const std::vector<std::string>& args, std::string& error)>;
int readCommandLine(int argc, char** argv, const char* program, const char* usage,
                    const std::string& help, const Reader& read);

// Reads every argument against `options`. False with a message that names the option
// and what it takes, or the word it did not know.
bool readOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                 std::string& error);

// The values the programs share.
bool readWxH(const std::string& text, platform::ScreenSize& out);  // any "WxH", in digits
bool readSize(const std::string& text, platform::ScreenSize& out); // and drawableSize
bool readWhole(const std::string& text, long low, long high, int& out);

// A whole number of `unit` from `low` to `high`: what it takes, said from the limits that
// it checks.
struct Whole {
    const char* unit; // "milliseconds"
    long low, high;
    std::string range() const; // "0 to 175625"
    std::string takes() const; // "milliseconds, 0 to 175625"
    bool read(const std::string& text, int& out) const { return readWhole(text, low, high, out); }
};

// The 4:3 sizes that readSize takes, in words, from the limits it checks: "from 640x480
// to 2880x2160, the height a multiple of 6".
std::string sizeRule();
// What --size takes: "a 4:3 size WxH " and the rule.
std::string sizeTakes();

} // namespace cli
