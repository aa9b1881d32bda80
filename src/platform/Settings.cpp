#include "platform/Settings.h"

namespace platform {

Settings& settings() {
    static Settings s;
    return s;
}

void chooseResolution(Settings& s, bool big) {
    s.texWidth = 1024;
    if (big) {
        s.width = 800;
        s.height = 600;
        s.texHeight = 1024;
    } else {
        s.width = 640;
        s.height = 480;
        s.texHeight = 512;
    }
}

} // namespace platform
