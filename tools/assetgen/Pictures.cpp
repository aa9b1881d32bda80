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

} // namespace

Image drawFlare() {
    Image image(side, side, 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // Distance from the centre, 1 at the rim of the sphere map's disc.
            const double dx = (x + 0.5) / (side / 2) - 1;
            const double dy = (y + 0.5) / (side / 2) - 1;
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
            put(image, x, y, light * 0.78 + core * 0.3, light * 0.9 + core * 0.2, light * 1.1);
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
