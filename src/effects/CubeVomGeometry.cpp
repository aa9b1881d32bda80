// The cube scene's meshes as plain vertex arrays; the constructor compiles them into
// display lists. All arithmetic is single precision, as the lists were designed with.
#include "effects/CubeVom.h"
#include <cmath>

namespace {

using Mesh = CubeVom::Mesh;

constexpr float pi = 3.1415927f;
constexpr float step = 11.25f; // degrees between neighbouring sweep angles

// The tile: an inner box whose edges and corners are rounded to the outer half-extents.
constexpr float radius = 0.06f;
constexpr float outerXZ = 0.375f;
constexpr float outerY = 0.075f;
const float innerXZ = outerXZ - radius; // 0.315
const float innerY = outerY - radius;   // 0.015000004

float radians(float degrees) { return degrees * pi / 180.0f; }

void add(Mesh& m, float nx, float ny, float nz, float x, float y, float z) {
    m.vertices.push_back({{x, y, z}, {nx, ny, nz}});
}

// Longitude beta, latitude tau (degrees) to a unit direction.
void direction(float beta, float tau, float* n) {
    const float cb = std::cos(radians(beta)), sb = std::sin(radians(beta));
    const float ct = std::cos(radians(tau)), st = std::sin(radians(tau));
    n[0] = ct * cb;
    n[1] = st;
    n[2] = ct * sb;
}

void flatFaces(Mesh& m) {
    const float a = innerXZ, o = outerXZ, y = innerY, h = outerY;
    // Per face: its normal, then its four corners.
    const float faces[6][5][3] = {
        {{0, 0, -1}, {a, -y, -o}, {-a, -y, -o}, {-a, y, -o}, {a, y, -o}},
        {{0, 0, 1}, {-a, -y, o}, {a, -y, o}, {a, y, o}, {-a, y, o}},
        {{-1, 0, 0}, {-o, -y, -a}, {-o, -y, a}, {-o, y, a}, {-o, y, -a}},
        {{1, 0, 0}, {o, -y, a}, {o, -y, -a}, {o, y, -a}, {o, y, a}},
        {{0, 1, 0}, {a, h, a}, {a, h, -a}, {-a, h, -a}, {-a, h, a}},
        {{0, -1, 0}, {-a, -h, a}, {-a, -h, -a}, {a, -h, -a}, {a, -h, a}},
    };
    for (const auto& f : faces)
        for (int i = 1; i <= 4; ++i)
            add(m, f[0][0], f[0][1], f[0][2], f[i][0], f[i][1], f[i][2]);
}

// The twelve edges in one sweep: the quarter circle of quadrant q rounds the edges
// whose corner signs are (+,+), (-,+), (-,-), (+,-) for q = 0..3.
void roundedEdges(Mesh& m) {
    for (int k = 0; k < 32; ++k) {
        const float a = k * step, a2 = a + step;
        const float c = std::cos(radians(a)), s = std::sin(radians(a));
        const float c2 = std::cos(radians(a2)), s2 = std::sin(radians(a2));
        const float sx = (a < 90 || a >= 270) ? 1.0f : -1.0f;
        const float sy = a < 180 ? 1.0f : -1.0f;
        const float X = sx * innerXZ + radius * c, X2 = sx * innerXZ + radius * c2;
        const float Y = sy * innerY + radius * s, Y2 = sy * innerY + radius * s2;
        const float Z = sy * innerXZ + radius * s, Z2 = sy * innerXZ + radius * s2;
        const float e = innerXZ, y = innerY;

        // Edges along z.
        add(m, c2, s2, 0, X2, Y2, -e);
        add(m, c2, s2, 0, X2, Y2, e);
        add(m, c, s, 0, X, Y, e);
        add(m, c, s, 0, X, Y, -e);
        // Edges along x.
        add(m, 0, s, c, -e, Y, X);
        add(m, 0, s, c, e, Y, X);
        add(m, 0, s2, c2, e, Y2, X2);
        add(m, 0, s2, c2, -e, Y2, X2);
        // Edges along y.
        add(m, c, 0, s, X, -y, Z);
        add(m, c, 0, s, X, y, Z);
        add(m, c2, 0, s2, X2, y, Z2);
        add(m, c2, 0, s2, X2, -y, Z2);
    }
}

// The eight corners in one sweep over longitude and latitude; each patch is centred
// on the inner box corner of its octant.
void roundedCorners(Mesh& m) {
    for (int k = 0; k < 32; ++k) {
        const float b = k * step;
        const float sx = (b < 90 || b >= 270) ? 1.0f : -1.0f;
        const float sz = b < 180 ? 1.0f : -1.0f;
        for (int l = 0; l < 16; ++l) {
            const float t = -90.0f + l * step;
            const float sy = t >= 0 ? 1.0f : -1.0f;
            const float K[3] = {sx * innerXZ, sy * innerY, sz * innerXZ};
            const float corners[4][2] = {
                {b + step, t}, {b, t}, {b, t + step}, {b + step, t + step}};
            for (const auto& bt : corners) {
                float n[3];
                direction(bt[0], bt[1], n);
                add(m, n[0], n[1], n[2], K[0] + radius * n[0], K[1] + radius * n[1],
                    K[2] + radius * n[2]);
            }
        }
    }
}

// One quad with the flat normal of its plane on all four vertices.
void addFlat(Mesh& m, const float (&v)[4][3]) {
    float n[3];
    CubeVom::flatNormal(v[0], v[1], v[3], n);
    for (const auto& p : v)
        add(m, n[0], n[1], n[2], p[0], p[1], p[2]);
}

} // namespace

void CubeVom::flatNormal(const float* v0, const float* v1, const float* v3, float* n) {
    // Double precision, so that the squares of tiny residues do not underflow.
    const double a[3] = {double(v1[0]) - v0[0], double(v1[1]) - v0[1], double(v1[2]) - v0[2]};
    const double b[3] = {double(v3[0]) - v0[0], double(v3[1]) - v0[1], double(v3[2]) - v0[2]};
    const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                         a[0] * b[1] - a[1] * b[0]};
    const double len = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    if (!(len > 0) || !std::isfinite(len)) {
        // Coinciding corners (a pole, a point where the surface radius is 0): the
        // plane has no direction, so any unit normal serves.
        n[0] = 0, n[1] = 1, n[2] = 0;
        return;
    }
    for (int i = 0; i < 3; ++i)
        n[i] = static_cast<float>(c[i] / len);
}

CubeVom::Mesh CubeVom::tileMesh() {
    Mesh m;
    m.white = true;
    m.vertices.reserve(614 * 4);
    flatFaces(m);
    roundedEdges(m);
    roundedCorners(m);
    return m;
}

void CubeVom::surfacePoint(float u, float v, float* x, float* y, float* z) {
    const float theta = (u - 0.5f) * 6.2831855f;
    const float phi = v * pi;
    const float r = 4.0f * std::cos(4.0f * theta) * std::cos(4.0f * phi);
    *x = std::cos(theta) * r * std::sin(phi);
    *y = std::sin(theta) * r * std::sin(phi);
    *z = std::cos(phi) * r;
}

CubeVom::Mesh CubeVom::surfaceMesh() {
    Mesh m;
    m.vertices.reserve(1681 * 4);
    const float d = 0.025f;
    // 41 values each: 0, 0.025, ... 0.9999996 (the single-precision sums stay below 1).
    for (float u = 0; u < 1.0f; u += d) {
        for (float v = 0; v < 1.0f; v += d) {
            float q[4][3];
            surfacePoint(u, v, &q[0][0], &q[0][1], &q[0][2]);
            surfacePoint(u + d, v, &q[1][0], &q[1][1], &q[1][2]);
            surfacePoint(u + d, v + d, &q[2][0], &q[2][1], &q[2][2]);
            surfacePoint(u, v + d, &q[3][0], &q[3][1], &q[3][2]);
            addFlat(m, q);
        }
    }
    return m;
}

CubeVom::Mesh CubeVom::sphereMesh() {
    Mesh m;
    m.white = true;
    m.vertices.reserve(512 * 4);
    const float sphereRadius = radius * 25; // 1.5
    for (int k = 0; k < 32; ++k) {
        const float b = k * step;
        for (int l = 0; l < 16; ++l) {
            const float t = -90.0f + l * step;
            const float corners[4][2] = {
                {b + step, t}, {b, t}, {b, t + step}, {b + step, t + step}};
            float q[4][3];
            for (int i = 0; i < 4; ++i) {
                direction(corners[i][0], corners[i][1], q[i]);
                for (float& c : q[i])
                    c *= sphereRadius;
            }
            addFlat(m, q);
        }
    }
    return m;
}
