#include "effects/Tr1.h"
#include "effects/Wipe.h"
#include "platform/Settings.h"

void Tr1::draw(int time) {
    if (!transit) return;
    const float p = transit->progress(time);
    const float W = static_cast<float>(platform::settings().width);
    const float H = static_cast<float>(platform::settings().height);
    const int left = static_cast<int>(W - p * W);
    const int low = static_cast<int>(H - p * H);
    // The outgoing picture shrinks toward the lower left; the incoming one, full size,
    // slides in from the upper right.
    drawWipe(*transit, time, {0, 0, left, low},
             {left, low, static_cast<int>(W), static_cast<int>(H)});
}
