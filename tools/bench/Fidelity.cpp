#include "Fidelity.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

Difference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                         int height) {
    Difference d;
    const int across = (width + Difference::blockSize - 1) / Difference::blockSize;
    const int down = (height + Difference::blockSize - 1) / Difference::blockSize;
    std::vector<double> blocks(static_cast<size_t>(across) * down, 0.0);
    double total = 0;
    d.x0 = width;
    d.y0 = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = (static_cast<size_t>(y) * width + x) * 3;
            double squared = 0;
            int most = 0;
            for (size_t c = 0; c < 3; ++c) {
                const int diff = std::abs(int(a[at + c]) - int(b[at + c]));
                squared += double(diff) * diff;
                most = std::max(most, diff);
            }
            if (!most) continue;
            ++d.pixels;
            d.largest = std::max(d.largest, most);
            for (int k = 0; k < 3; ++k)
                d.above[k] += most > Difference::levels[k];
            d.x0 = std::min(d.x0, x);
            d.x1 = std::max(d.x1, x);
            d.y0 = std::min(d.y0, y);
            d.y1 = std::max(d.y1, y);
            blocks[static_cast<size_t>(y / Difference::blockSize) * across +
                   x / Difference::blockSize] += squared;
            total += squared;
        }
    if (!d.pixels) {
        d = Difference();
        d.psnr = std::numeric_limits<double>::infinity();
        return d;
    }
    const double mse = total / (3.0 * width * height);
    d.psnr = 10 * std::log10(255.0 * 255.0 / mse);
    const size_t worst =
        static_cast<size_t>(std::max_element(blocks.begin(), blocks.end()) - blocks.begin());
    d.blockX = static_cast<int>(worst % across) * Difference::blockSize;
    d.blockY = static_cast<int>(worst / across) * Difference::blockSize;
    d.blockShare = blocks[worst] / total;
    return d;
}
