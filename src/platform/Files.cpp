#include "platform/Files.h"
#include <algorithm>

namespace platform {

std::string assetPath(const char* name) {
    std::string path = name ? name : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

FILE* openAsset(const char* name, const char* mode) {
    return std::fopen(assetPath(name).c_str(), mode);
}

} // namespace platform
