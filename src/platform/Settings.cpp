#include "platform/Settings.h"
#include <algorithm>
#include <cstdint>

namespace platform {

namespace {
int powerOfTwoHolding(int n) {
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}
} // namespace

Settings& settings() {
    static Settings s;
    return s;
}

bool drawableSize(ScreenSize size) {
    return size.height >= leastHeight && size.height <= mostHeight &&
           size.height % heightStep == 0 && size.width * 3 == size.height * 4;
}

ScreenSize largestWithin(int width, int height) {
    int h = std::min({height, width / 4 * 3, mostHeight});
    h = std::max(h - h % heightStep, leastHeight);
    return {h / 3 * 4, h};
}

ScreenSize fitted(ScreenSize picture, int width, int height) {
    const auto scaled = [](int n, int num, int den) {
        return static_cast<int>(static_cast<int64_t>(n) * num / den);
    };
    const int across = scaled(width, picture.height, picture.width);
    if (across <= height) return {width, across};
    return {scaled(height, picture.width, picture.height), height};
}

void chooseResolution(Settings& s, ScreenSize size) {
    s.width = size.width;
    s.height = size.height;
    s.texWidth = powerOfTwoHolding(size.width);
    s.texHeight = powerOfTwoHolding(size.height);
}

float scaledPixels(float designed) {
    return designed * static_cast<float>(std::max(settings().height, 600)) / 600.0f;
}

} // namespace platform
