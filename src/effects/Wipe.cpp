#include "effects/Wipe.h"
#include "engine/Transit.h"
#include "glpp/Guards.h"
#include "platform/Settings.h"

using GLPP::glppViewport;

void drawWipe(Transit& transit, int time, const WipeRect& from, const WipeRect& to) {
    {
        glppViewport outgoing(from.x, from.y, from.w, from.h);
        transit.from.draw(time);
    }
    {
        glppViewport incoming(to.x, to.y, to.w, to.h);
        transit.to.draw(time);
    }
    // The next track draws on the full window, whatever viewport came before.
    glViewport(0, 0, platform::settings().width, platform::settings().height);
}
