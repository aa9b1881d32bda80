#pragma once
#include <cstdio>
#include <string>

// Asset files, found wherever the program was started from. An asset name is written
// with backslashes ("DATAS\zik.mp3") and looked for under three roots in turn: the
// working directory, the executable's folder, and ../share/velmora beside that folder
// (an installed or unpacked tree).
namespace platform {

// The name with '/' for '\'.
std::string assetPath(const char* name);

// Where `name` is: the first root that holds it, else empty after one line on stderr
// (once per name) saying where it was looked for and what the show does without it.
std::string findAsset(const char* name);

// The one way the program opens an asset; null when it is nowhere (said as above) or
// cannot be opened (also said, once).
FILE* openAsset(const char* name, const char* mode);

// What the show does without `name`, for the line that says it is missing.
void describeAsset(const char* name, const char* withoutIt);

} // namespace platform
