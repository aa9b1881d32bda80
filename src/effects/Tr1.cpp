#include "effects/Tr1.h"
#include "app/Settings.h"
#include "glpp/Guards.h"

using GLPP::glppViewport;

void Tr1::draw(int time) {
    if (!transit) return;
    const float p = transit->progress(time);
    const float W = static_cast<float>(settings().width);
    const float H = static_cast<float>(settings().height);
    const int left = static_cast<int>(W - p * W);
    const int low = static_cast<int>(H - p * H);
    {
        glppViewport squeezed(0, 0, left, low);
        transit->from.draw(time);
    }
    {
        glppViewport sliding(left, low, static_cast<int>(W), static_cast<int>(H));
        transit->to.draw(time);
    }
    // The next track draws on the full window, whatever viewport came before.
    glViewport(0, 0, static_cast<int>(W), static_cast<int>(H));
}
