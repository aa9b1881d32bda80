#pragma once
#include <cstdio>
#include <string>

namespace platform {

// Asset names are written with backslashes ("DATAS\zik.mp3"); on disk they use '/'.
std::string assetPath(const char* name);

// The one way the program opens a file by its asset name.
FILE* openAsset(const char* name, const char* mode);

} // namespace platform
