// Where a tile lands: the modelview matrix kept beside GL's, so that the scene knows each
// tile's centre in eye space without reading GL back.
#include "effects/CubeVom.h"
#include "platform/Gl.h"
#include <algorithm>
#include <cmath>

void CubeVom::Placement::translate(float x, float y, float z) {
    if (gl) glTranslatef(x, y, z);
    for (int r = 0; r < 3; ++r)
        m[12 + r] += m[r] * x + m[4 + r] * y + m[8 + r] * z;
}

void CubeVom::Placement::rotate(float degrees, float x, float y, float z) {
    if (gl) glRotatef(degrees, x, y, z);
    const float length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0)) return;
    x /= length, y /= length, z /= length;
    const float a = degrees * 3.1415927f / 180, c = std::cos(a), s = std::sin(a), k = 1 - c;
    // The rotation's columns, as glRotate makes them.
    const float r[3][3] = {{x * x * k + c, y * x * k + z * s, x * z * k - y * s},
                           {x * y * k - z * s, y * y * k + c, y * z * k + x * s},
                           {x * z * k + y * s, y * z * k - x * s, z * z * k + c}};
    float turned[12];
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            turned[col * 4 + row] =
                m[row] * r[col][0] + m[4 + row] * r[col][1] + m[8 + row] * r[col][2];
    std::copy(turned, turned + 12, m);
}
