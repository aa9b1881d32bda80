// Writes the demo's pictures into a folder: font.tga (with font2x.tga and font4x.tga,
// its cells twice and four times as large, for taller screens), map.tga and flare.tga.
#include "Font.h"
#include "Pictures.h"
#include <cstdio>
#include <utility>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s font-file output-folder\n", argv[0]);
        return 2;
    }
    const std::string out = std::string(argv[2]) + "/";
    bool ok = true;
    for (const auto& [name, cell] : {std::pair{"font.tga", fontCell},
                                     {"font2x.tga", 2 * fontCell},
                                     {"font4x.tga", 4 * fontCell}}) {
        Image font = drawFontAtlas(argv[1], cell);
        if (font.width == 0) {
            std::fprintf(stderr, "%s: cannot draw the font from %s\n", argv[0], argv[1]);
            return 1;
        }
        ok = ok && writeTga(out + name, font, true);
    }
    ok = ok && writeTga(out + "map.tga", drawMap(), false) &&
         writeTga(out + "flare.tga", drawFlare(), false);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
