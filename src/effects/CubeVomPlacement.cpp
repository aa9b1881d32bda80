// Where a tile lands: its modelview matrix, built here rather than by GL, so that the
// scene knows each tile's place in eye space without reading GL back, and loads the same
// matrix to draw it. It is built as GL's own implementation (Mesa) builds it, to the bit: the angle in radians rounded to single precision
// before its sine and cosine, a turn about an axis exact, the products summed in GL's order.
#include "effects/CubeVomDraw.h"
#include <algorithm>
#include <cmath>

void CubeVom::Placement::translate(float x, float y, float z) {
    for (int r = 0; r < 3; ++r)
        m[12 + r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
}

void CubeVom::Placement::rotate(float degrees, float x, float y, float z) {
    const float angle = static_cast<float>(degrees * M_PI / 180.0);
    const float s = std::sin(angle), c = std::cos(angle);
    // The rotation by rows, r[row][col].
    float r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const auto axis = [&](int a, int b, bool negative) { // a turn in the plane of a and b
        r[a][a] = r[b][b] = c;
        r[a][b] = negative ? s : -s;
        r[b][a] = negative ? -s : s;
    };
    if (x == 0 && y == 0 && z != 0)
        axis(0, 1, z < 0);
    else if (x == 0 && z == 0 && y != 0)
        axis(2, 0, y < 0);
    else if (y == 0 && z == 0 && x != 0)
        axis(1, 2, x < 0);
    else {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1e-4f) return;
        x /= length, y /= length, z /= length;
        const float k = 1 - c;
        const float rows[3][3] = {{k * x * x + c, k * x * y - z * s, k * z * x + y * s},
                                  {k * x * y + z * s, k * y * y + c, k * y * z - x * s},
                                  {k * z * x - y * s, k * y * z + x * s, k * z * z + c}};
        std::copy(&rows[0][0], &rows[0][0] + 9, &r[0][0]);
    }
    float turned[12];
    std::copy(m, m + 12, turned); // the bottom row stays
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            turned[col * 4 + row] =
                m[row] * r[0][col] + m[4 + row] * r[1][col] + m[8 + row] * r[2][col];
    std::copy(turned, turned + 12, m);
}
