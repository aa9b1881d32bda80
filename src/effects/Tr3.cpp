#include "effects/Tr3.h"
#include "effects/Wipe.h"
#include "platform/Settings.h"

void Tr3::draw(int time) {
    if (!transit) return;
    const float p = transit->progress(time);
    const float W = static_cast<float>(platform::settings().width);
    const float H = static_cast<float>(platform::settings().height);
    const float pW = p * W;
    const float pH = p * H;
    // The outgoing picture shrinks toward the upper right; the incoming one grows out
    // of that corner over it.
    drawWipe(*transit, time,
             {static_cast<int>(pW), static_cast<int>(pH), static_cast<int>(W - pW),
              static_cast<int>(H - pH)},
             {static_cast<int>(W - pW), static_cast<int>(H - pH), static_cast<int>(pW),
              static_cast<int>(pH)});
}
