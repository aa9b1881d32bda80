// The cube scene's meshes as plain vertex arrays; the constructor compiles them into
// display lists. All arithmetic is single precision: the designed vertices are its results.
#include "effects/CubeMeshes.h"
#include "effects/CubeVom.h"
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

using cubeMesh::Mesh;
using cubeMesh::Vertex;

constexpr float pi = 3.1415927f;
constexpr float step = 11.25f; // degrees between neighbouring sweep angles

// The tile: an inner box whose edges and corners are rounded to the outer half-extents.
constexpr float radius = cubeMesh::tileRounding;
constexpr float outerXZ = cubeMesh::tileHalfWidth;
constexpr float outerY = cubeMesh::tileHalfHeight;
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

// The coarse tiles. A quarter circle is given as the angles (degrees, from 0 to 90,
// rising) of its vertices; in the designed tile they are the multiples of `step`.
using Quarter = std::vector<float>;

// The vertex at angle 90 q + alpha of the quarter circle of quadrant q that rounds an
// edge along `axis` (0 x, 1 y, 2 z), at the point of the edge whose coordinate along the
// axis is `along`. The arithmetic is roundedEdges' own (the quadrant's signs, then X, Y
// and Z as there), so that the vertices at designed angles are the designed vertices and
// the ends of the edges and the rims of the corners meet in the very same points.
Vertex edgePoint(int axis, int quadrant, float alpha, float along) {
    const float a = 90.0f * static_cast<float>(quadrant) + alpha;
    const float c = std::cos(radians(a)), s = std::sin(radians(a));
    const float su = (quadrant == 0 || quadrant == 3) ? 1.0f : -1.0f;
    const float sv = quadrant < 2 ? 1.0f : -1.0f;
    const float X = su * innerXZ + radius * c;
    if (axis == 2) return {{X, sv * innerY + radius * s, along}, {c, s, 0}};
    if (axis == 0) return {{along, sv * innerY + radius * s, X}, {0, s, c}};
    return {{X, along, sv * innerXZ + radius * s}, {c, 0, s}};
}

// The twelve edges with their quarter circles at the angles of `quarter`, wound as
// roundedEdges winds them.
void coarseEdges(Mesh& m, const Quarter& quarter) {
    for (int axis = 0; axis < 3; ++axis) {
        const float e = axis == 1 ? innerY : innerXZ;
        for (int q = 0; q < 4; ++q)
            for (size_t i = 0; i + 1 < quarter.size(); ++i) {
                // The edges along z run from the later angle, the others from the earlier.
                const float a = quarter[axis == 2 ? i + 1 : i];
                const float b = quarter[axis == 2 ? i : i + 1];
                for (const Vertex& v : {edgePoint(axis, q, a, -e), edgePoint(axis, q, a, e),
                                        edgePoint(axis, q, b, e), edgePoint(axis, q, b, -e)})
                    m.vertices.push_back(v);
            }
    }
}

// One rim of a corner patch: the quarter circle at the end of an edge, running away
// from one axis direction of the corner, and which of its points is at 45 degrees (the
// count of points when none is).
struct Rim {
    std::vector<Vertex> points;
    size_t middle;
};

// The rim at the end `along` of the edge along `axis` whose quadrant has the signs
// (su, sv), turned to run away from the corner's direction `from` (0 x, 1 y, 2 z).
Rim rim(const Quarter& quarter, int axis, float su, float sv, float along, int from) {
    const int quadrant = sv > 0 ? (su > 0 ? 0 : 1) : (su > 0 ? 3 : 2);
    Rim r{{}, quarter.size()};
    for (size_t i = 0; i < quarter.size(); ++i) {
        r.points.push_back(edgePoint(axis, quadrant, quarter[i], along));
        if (quarter[i] == 45.0f) r.middle = i;
    }
    if (std::fabs(r.points.front().n[from]) < 0.5f) {
        std::reverse(r.points.begin(), r.points.end());
        if (r.middle < r.points.size()) r.middle = r.points.size() - 1 - r.middle;
    }
    return r;
}

// One triangle, wound counter-clockwise seen from outside the tile.
void addOutward(std::vector<Vertex>& t, const Vertex& a, Vertex b, Vertex c) {
    double e1[3], e2[3];
    for (int i = 0; i < 3; ++i) {
        e1[i] = double(b.p[i]) - a.p[i];
        e2[i] = double(c.p[i]) - a.p[i];
    }
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                         e1[0] * e2[1] - e1[1] * e2[0]};
    double out = 0;
    for (int i = 0; i < 3; ++i)
        out += n[i] * (double(a.n[i]) + b.n[i] + c.n[i]);
    if (out < 0) std::swap(b, c);
    t.push_back(a);
    t.push_back(b);
    t.push_back(c);
}

// A closed loop of points on the corner's sphere (centre K) as triangles: a bare
// triangle when it is one and `fan` is not asked for, otherwise a fan about the point
// of the sphere in the direction of the sum of `towards`.
void patch(std::vector<Vertex>& t, const float* K, const std::vector<Vertex>& loop,
           std::initializer_list<const Vertex*> towards, bool fan) {
    if (loop.size() == 3 && !fan) {
        addOutward(t, loop[0], loop[1], loop[2]);
        return;
    }
    float d[3] = {0, 0, 0};
    for (const Vertex* v : towards)
        for (int i = 0; i < 3; ++i)
            d[i] += v->n[i];
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    Vertex middle{};
    for (int i = 0; i < 3; ++i) {
        middle.n[i] = d[i] / length;
        middle.p[i] = K[i] + radius * middle.n[i];
    }
    for (size_t i = 0; i < loop.size(); ++i)
        addOutward(t, middle, loop[i], loop[(i + 1) % loop.size()]);
}

// The eight corners, each patched with few triangles whose rims are the ends of the
// edges point for point, so that no crack opens between them. With a point at 45
// degrees on the rims the octant is cut at those points into four triangles, each
// filled by a fan about its middle unless it is a bare triangle; without, the whole
// octant is one fan.
void coarseCorners(std::vector<Vertex>& t, const Quarter& quarter) {
    for (float sx : {1.0f, -1.0f})
        for (float sy : {1.0f, -1.0f})
            for (float sz : {1.0f, -1.0f}) {
                const float K[3] = {sx * innerXZ, sy * innerY, sz * innerXZ};
                // x to y round the end of the z edge, y to z round the x edge, z to x
                // round the y edge.
                const Rim ab = rim(quarter, 2, sx, sy, K[2], 0);
                const Rim bc = rim(quarter, 0, sz, sy, K[0], 1);
                const Rim ca = rim(quarter, 1, sx, sz, K[1], 2);
                const Vertex *A = &ab.points.front(), *B = &bc.points.front(),
                             *C = &ca.points.front();
                if (ab.middle == quarter.size()) {
                    std::vector<Vertex> loop(ab.points.begin(), ab.points.end() - 1);
                    loop.insert(loop.end(), bc.points.begin(), bc.points.end() - 1);
                    loop.insert(loop.end(), ca.points.begin(), ca.points.end() - 1);
                    patch(t, K, loop, {A, B, C}, true);
                    continue;
                }
                const Vertex* mab = &ab.points[ab.middle];
                const Vertex* mbc = &bc.points[bc.middle];
                const Vertex* mca = &ca.points[ca.middle];
                // At each axis: along its rim to the middle, across to the middle of the
                // rim that ends there, and back along that one.
                const auto around = [](const Rim& out, const Rim& back) {
                    std::vector<Vertex> r(out.points.begin(), out.points.begin() + out.middle + 1);
                    r.insert(r.end(), back.points.begin() + back.middle, back.points.end() - 1);
                    return r;
                };
                patch(t, K, around(ab, ca), {A, mab, mca}, false);
                patch(t, K, around(bc, ab), {B, mbc, mab}, false);
                patch(t, K, around(ca, bc), {C, mca, mbc}, false);
                patch(t, K, {*mab, *mbc, *mca}, {mab, mbc, mca}, true);
            }
}

// One quad with the flat normal of its plane on all four vertices.
void addFlat(Mesh& m, const float (&v)[4][3]) {
    float n[3];
    cubeMesh::flatNormal(v[0], v[1], v[3], n);
    for (const auto& p : v)
        add(m, n[0], n[1], n[2], p[0], p[1], p[2]);
}

} // namespace

void cubeMesh::flatNormal(const float* v0, const float* v1, const float* v3, float* n) {
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

Mesh cubeMesh::tile() {
    Mesh m;
    m.white = true;
    m.vertices.reserve(614 * 4);
    flatFaces(m);
    roundedEdges(m);
    roundedCorners(m);
    return m;
}

Mesh cubeMesh::coarseTile(int level) {
    // Six and four segments at designed angles, with the designed ends (the picture is
    // most sensitive where a quarter circle meets a flat face) and the point at 45 degrees
    // that quarters the corners (without it a corner is one fan, and the rings' frames
    // lose some 3 dB); then three and two even ones.
    static const Quarter quarters[coarseMeshes] = {{0, 11.25f, 22.5f, 45, 67.5f, 78.75f, 90},
                                                   {0, 11.25f, 45, 78.75f, 90},
                                                   {0, 30, 60, 90},
                                                   {0, 45, 90}};
    return coarseTile(quarters[level]);
}

Mesh cubeMesh::coarseTile(const std::vector<float>& quarter) {
    Mesh m;
    m.white = true;
    flatFaces(m);
    coarseEdges(m, quarter);
    coarseCorners(m.triangles, quarter);
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

Mesh cubeMesh::surface() {
    Mesh m;
    m.vertices.reserve(1681 * 4);
    const float d = 0.025f;
    // 41 values each: 0, 0.025, ... 0.9999996 (the single-precision sums stay below 1).
    for (float u = 0; u < 1.0f; u += d) {
        for (float v = 0; v < 1.0f; v += d) {
            float q[4][3];
            CubeVom::surfacePoint(u, v, &q[0][0], &q[0][1], &q[0][2]);
            CubeVom::surfacePoint(u + d, v, &q[1][0], &q[1][1], &q[1][2]);
            CubeVom::surfacePoint(u + d, v + d, &q[2][0], &q[2][1], &q[2][2]);
            CubeVom::surfacePoint(u, v + d, &q[3][0], &q[3][1], &q[3][2]);
            addFlat(m, q);
        }
    }
    return m;
}

Mesh cubeMesh::sphere() {
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
