// Writes the demo's pictures into a folder: font.tga, map.tga and flare.tga.
#include "Font.h"
#include "Pictures.h"
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s font-file output-folder\n", argv[0]);
        return 2;
    }
    const std::string out = std::string(argv[2]) + "/";
    Image font = drawFontAtlas(argv[1]);
    if (font.width == 0) {
        std::fprintf(stderr, "%s: cannot draw the font from %s\n", argv[0], argv[1]);
        return 1;
    }
    bool ok = writeTga(out + "font.tga", font, true) &&
              writeTga(out + "map.tga", drawMap(), false) &&
              writeTga(out + "flare.tga", drawFlare(), false);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
