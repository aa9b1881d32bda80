// Writes the program's icon into a hicolor tree, once for each size asked for:
// FOLDER/NxN/apps/velmora.png. Drawn from the show's pictures, without a display.
#include "Pictures.h"
#include "Png.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s output-folder size [size ...]\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        if (side < 16 || side > 1024) {
            std::fprintf(stderr, "%s: a size is 16 to 1024 pixels, not %s\n", argv[0], argv[i]);
            return 2;
        }
        const std::string size = std::to_string(side);
        const std::filesystem::path folder =
            std::filesystem::path(argv[1]) / (size + "x" + size) / "apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        Image icon = drawIcon(side);
        std::vector<uint8_t> topDown;
        for (int y = 0; y < side; ++y)
            topDown.insert(topDown.end(), icon.fromTop(0, y), icon.fromTop(0, y) + side * 4);
        const std::string path = (folder / "velmora.png").string();
        if (!writePng(path, side, side, topDown, 4)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
