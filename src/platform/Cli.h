#pragma once
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

// --help prints `usage` on stdout, --version the program's name and version: it then
// exits 0 with what this returns. -1 when neither was asked for.
int answerHelp(const std::vector<std::string>& args, const char* tool, const char* usage);

// Reads every argument against `options`. False with a message that names the option
// and what it takes, or the word it did not know.
bool readOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                 std::string& error);

// The values the programs share.
bool readSize(const std::string& text, bool& big); // "800x600" (big) or "640x480"
bool readWhole(const std::string& text, long low, long high, int& out);

extern const char* const sizeTakes; // "800x600 or 640x480"

} // namespace cli
