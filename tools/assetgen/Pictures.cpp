#include "Pictures.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr int side = 256;
constexpr double pi = 3.14159265358979323846;

uint8_t toByte(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

void put(Image& image, int x, int y, double r, double g, double b) {
    uint8_t* p = image.fromTop(x, y);
    p[0] = toByte(r);
    p[1] = toByte(g);
    p[2] = toByte(b);
}

// Thin rays through the centre: angle (radians), width, strength.
struct Streak {
    double angle, width, strength;
};
const Streak streaks[] = {
    {0.0, 0.012, 0.30},  {pi / 2, 0.015, 0.18}, {0.52, 0.020, 0.12},
    {2.31, 0.018, 0.10}, {1.21, 0.025, 0.08},   {2.83, 0.030, 0.07},
};

// The flare's light at (dx, dy), where 1 from the centre is the rim of its disc: red,
// green and blue, not yet clamped.
void flareLight(double dx, double dy, double rgb[3]) {
    const double r = std::sqrt(dx * dx + dy * dy);
    const double rim = std::clamp(1 - r, 0.0, 1.0);
    const double core = std::exp(-r * r / 0.02);
    const double glow = 0.5 * std::exp(-r * r / 0.2) + 0.25 * rim * rim;
    double rays = 0;
    for (const Streak& s : streaks) {
        // Distance to the line through the centre at the streak's angle.
        const double across = std::fabs(dx * std::sin(s.angle) - dy * std::cos(s.angle));
        rays += s.strength * std::exp(-across * across / (s.width * s.width)) * rim;
    }
    const double light = core + glow + rays * (0.35 + 0.65 * rim);
    // Cool: the blue channel saturates first, the core still burns white.
    rgb[0] = light * 0.78 + core * 0.3;
    rgb[1] = light * 0.9 + core * 0.2;
    rgb[2] = light * 1.1;
}

} // namespace

Image drawFlare() {
    Image image(side, side, 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            double rgb[3];
            flareLight((x + 0.5) / (side / 2) - 1, (y + 0.5) / (side / 2) - 1, rgb);
            put(image, x, y, rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

Image drawMap() {
    Image image(side, side, 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // Whole periods across the picture so that it tiles without a seam.
            const double u = 2 * pi * x / side;
            const double v = 2 * pi * y / side;
            const double a =
                std::sin(2 * u + std::sin(v)) + std::sin(3 * v + 0.6 * std::cos(2 * u));
            const double b = std::cos(u - 2 * v) * std::sin(u + v);
            const double w = 0.5 + 0.25 * a; // 0 to 1
            put(image, x, y, 0.25 + 0.30 * w + 0.10 * b, 0.20 + 0.25 * w * w,
                0.45 + 0.40 * w - 0.10 * b);
        }
    }
    return image;
}

Image drawIcon(int pixels) {
    // The tile's half width and corner radius, and the width of its lit edge, in units
    // of half the icon; n x n samples a pixel keep the outline smooth at 48 pixels.
    constexpr double half = 0.92, corner = 0.3, edgeWidth = 0.07;
    constexpr int n = 4;
    Image image(pixels, pixels, 4);
    for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x) {
            double sum[3] = {0, 0, 0};
            int inside = 0;
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    const double px = (x + (i + 0.5) / n) * 2 / pixels - 1;
                    const double py = (y + (j + 0.5) / n) * 2 / pixels - 1;
                    // Signed distance to the rounded outline, negative inside.
                    const double qx = std::fabs(px) - (half - corner);
                    const double qy = std::fabs(py) - (half - corner);
                    const double out = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) +
                                       std::min(std::max(qx, qy), 0.0) - corner;
                    if (out > 0) continue;
                    ++inside;
                    // The map's deep violet, the flare's light on it, and the rounded
                    // edge catching that light.
                    double light[3];
                    flareLight(px / half, py / half, light);
                    const double edge = std::max(0.0, 1 + out / edgeWidth);
                    sum[0] += 0.12 + light[0] + 0.30 * edge;
                    sum[1] += 0.10 + light[1] + 0.40 * edge;
                    sum[2] += 0.26 + light[2] + 0.60 * edge;
                }
            }
            if (inside == 0) continue;
            uint8_t* p = image.fromTop(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = toByte(sum[c] / inside);
            p[3] = toByte(static_cast<double>(inside) / (n * n));
        }
    }
    return image;
}
