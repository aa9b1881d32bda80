#include "platform/Files.h"
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {

namespace {

std::map<std::string, std::string>& descriptions() {
    static std::map<std::string, std::string> d;
    return d;
}

// The working directory first, so that a DATAS beside the user wins.
std::vector<fs::path> roots() {
    std::vector<fs::path> found = {fs::path()};
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        found.push_back(exe.parent_path());
        found.push_back((exe.parent_path() / ".." / "share" / "velmora").lexically_normal());
    }
    return found;
}

// Says once per name what went wrong and what the show does without the file.
void complain(const char* name, const std::string& what) {
    static std::set<std::string> said;
    if (!said.insert(name).second) return;
    const auto d = descriptions().find(name);
    const std::string without = d == descriptions().end() ? "" : ": " + d->second;
    std::fprintf(stderr, "velmora: %s%s\n", what.c_str(), without.c_str());
}

} // namespace

std::string assetPath(const char* name) {
    std::string path = name ? name : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void describeAsset(const char* name, const char* withoutIt) { descriptions()[name] = withoutIt; }

std::string findAsset(const char* name) {
    const fs::path relative = assetPath(name);
    std::string tried;
    for (const fs::path& root : roots()) {
        const fs::path path = root / relative;
        std::error_code ec;
        if (fs::is_regular_file(path, ec)) return path.string();
        const fs::path folder = root.empty() ? "." / relative.parent_path() : path.parent_path();
        tried += (tried.empty() ? "" : ", ") + folder.string();
    }
    complain(name, relative.filename().string() + " not found in " + tried);
    return "";
}

FILE* openAsset(const char* name, const char* mode) {
    const std::string path = findAsset(name);
    if (path.empty()) return nullptr;
    FILE* file = std::fopen(path.c_str(), mode);
    if (!file) complain(name, "cannot open " + path + " (" + std::strerror(errno) + ")");
    return file;
}

} // namespace platform
