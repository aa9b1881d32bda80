#include "effects/Tr3.h"
#include "app/Settings.h"
#include "glpp/Guards.h"

using GLPP::glppViewport;

void Tr3::draw(int time) {
    if (!transit) return;
    const float p = transit->progress(time);
    const float W = static_cast<float>(settings().width);
    const float H = static_cast<float>(settings().height);
    const float pW = p * W;
    const float pH = p * H;
    {
        glppViewport shrinking(static_cast<int>(pW), static_cast<int>(pH), static_cast<int>(W - pW),
                               static_cast<int>(H - pH));
        transit->from.draw(time);
    }
    {
        glppViewport growing(static_cast<int>(W - pW), static_cast<int>(H - pH),
                             static_cast<int>(pW), static_cast<int>(pH));
        transit->to.draw(time);
    }
    // The next track draws on the full window, whatever viewport came before.
    glViewport(0, 0, static_cast<int>(W), static_cast<int>(H));
}
