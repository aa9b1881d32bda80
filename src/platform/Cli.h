#pragma once
#include "platform/Settings.h"
#include <functional>
#include <string>
#include <vector>

// The command line of every program: options read against one table, with --help and
// --version answered the same way by all of them.
namespace cli {

struct Option {
    const char* name;  // "--size"
    const char* takes; // what its value is, for errors ("milliseconds, 0 to 100000000");
                       // null for an option that takes none
    // Takes the value (empty for a flag); false when it is not one the option takes.
    std::function<bool(const std::string& value)> take;
};

// A program's whole command line: --help and --version answered with `usage` + `help`,
// then `read` (the program's option reader) run on the words; when it refuses, the
// reason, after "PROGRAM: ", and `usage` go to stderr. The exit status when the program
// ends here (0 answered, 2 refused); -1 to go on.
using Reader = std::function<bool(const std::vector<std::string>& args, std::string& error)>;
int readCommandLine(int argc, char** argv, const char* program, const char* usage, const char* help,
                    const Reader& read);

// Reads every argument against `options`. False with a message that names the option
// and what it takes, or the word it did not know.
bool readOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                 std::string& error);

// The values the programs share.
bool readWxH(const std::string& text, platform::ScreenSize& out);  // any "WxH", in digits
bool readSize(const std::string& text, platform::ScreenSize& out); // and drawableSize
bool readWhole(const std::string& text, long low, long high, int& out);

extern const char* const sizeTakes; // what readSize takes, in words

} // namespace cli
