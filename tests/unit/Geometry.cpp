// The cube scene's meshes as vertex arrays, without GL.
#include "effects/CubeVom.h"
#include "effects/Detail.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace {
template <class T> double length(const T* v) {
    return std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
}
} // namespace

// Every tile vertex lies 0.06 from the inner box, its normal pointing away from the
// nearest point of that box; every sphere vertex 1.5 from its centre, the first two at
// the south pole; the surface starts at its pole (0, 0, 4), facing up.
TEST(CubeMeshes, ShapesAndCounts) {
    const CubeVom::Mesh tile = CubeVom::tileMesh(), sphere = CubeVom::sphereMesh(),
                        surface = CubeVom::surfaceMesh();
    EXPECT_EQ(std::vector<size_t>({tile.quads(), surface.quads(), sphere.quads()}),
              std::vector<size_t>({614, 1681, 512}));
    EXPECT_TRUE(tile.white && sphere.white && !surface.white);
    const float inner[3] = {0.315f, 0.0150000043f, 0.315f};
    float hi[3] = {0, 0, 0};
    for (const CubeVom::Vertex& v : tile.vertices) {
        double off[3];
        for (int k = 0; k < 3; ++k)
            off[k] = v.p[k] - std::clamp(v.p[k], -inner[k], inner[k]),
            hi[k] = std::max(hi[k], std::abs(v.p[k]));
        ASSERT_NEAR(std::sqrt(off[0] * off[0] + off[1] * off[1] + off[2] * off[2]), 0.06, 1e-6);
        for (int k = 0; k < 3; ++k)
            ASSERT_NEAR(v.n[k], off[k] / 0.06, 2e-4);
    }
    EXPECT_EQ(std::vector<float>(hi, hi + 3), (std::vector<float>{0.375f, 0.075f, 0.375f}));
    for (const CubeVom::Vertex& v : sphere.vertices)
        ASSERT_NEAR(length(v.p), 1.5, 1e-5);
    EXPECT_TRUE(sphere.vertices[0].p[1] == -1.5f && sphere.vertices[1].p[1] == -1.5f);
    EXPECT_NEAR(surface.vertices[0].p[2], 4, 1e-6);
    EXPECT_NEAR(surface.vertices[0].n[1], 1, 1e-4);
    for (const CubeVom::Mesh* m : {&tile, &sphere, &surface})
        for (const CubeVom::Vertex& v : m->vertices)
            ASSERT_NEAR(length(v.n), 1.0, 1e-5);
}

// Where a quad's corners coincide, or are no numbers, its plane has no direction: up.
TEST(CubeMeshes, FlatNormalsOfDegenerateQuadsAreUp) {
    const float nan = std::nanf(""), inf = INFINITY;
    const float a[3] = {1, 2, 3}, b[3] = {2, 2, 3}, c[3] = {1, 3, 3}, bad[3] = {nan, 0, 0},
                far[3] = {inf, 0, 0}, o[3] = {0, 0, 0}, t1[3] = {1e-20f, 0, 0},
                t3[3] = {0, 1e-20f, 0};
    const float* rows[][4] = {{a, b, c, c + 0}, {a, a, a},   {a, b, a},
                              {a, bad, c},      {a, far, c}, {o, t1, t3, o}};
    for (const auto& r : rows) { // the fourth, when there, marks a true plane facing +z
        float n[3];
        CubeVom::flatNormal(r[0], r[1], r[2], n);
        EXPECT_EQ(std::vector<float>(n, n + 3),
                  (std::vector<float>{0, r[3] ? 0.0f : 1.0f, r[3] ? 1.0f : 0.0f}));
    }
}

// Each coarse tile is a closed surface on the designed one: every vertex 0.06 from the
// inner box, every face wound counter-clockwise seen from outside, and every edge met once
// in each direction, so by exactly two faces (no crack, no T-junction).
TEST(CubeMeshes, CoarseTilesAreClosedOnTheDesignedSurface) {
    const float inner[3] = {0.315f, 0.0150000043f, 0.315f};
    const auto key = [](const float* a, const float* b) { // an edge, on a 1e-5 grid
        std::array<long, 6> k;
        for (int i = 0; i < 3; ++i)
            k[i] = std::lround(a[i] * 1e5), k[i + 3] = std::lround(b[i] * 1e5);
        return k;
    };
    for (int level = 0; level < coarseMeshes; ++level) {
        const CubeVom::Mesh m = CubeVom::coarseTileMesh(level);
        std::vector<std::vector<const float*>> faces;
        for (size_t k = 0; k < m.vertices.size(); k += 4)
            faces.push_back({m.vertices[k].p, m.vertices[k + 1].p, m.vertices[k + 2].p,
                             m.vertices[k + 3].p});
        for (size_t k = 0; k < m.triangles.size(); k += 3)
            faces.push_back({m.triangles[k].p, m.triangles[k + 1].p, m.triangles[k + 2].p});
        std::map<std::array<long, 6>, int> edges; // directed
        for (const auto& f : faces) {
            double turn[3] = {0, 0, 0}, out[3] = {0, 0, 0};
            for (size_t i = 0; i < f.size(); ++i) {
                const float *p = f[i], *q = f[(i + 1) % f.size()];
                double off[3];
                for (int k = 0; k < 3; ++k)
                    out[k] += off[k] = p[k] - std::clamp(p[k], -inner[k], inner[k]);
                ASSERT_NEAR(length(off), 0.06, 1e-6) << level;
                for (int k = 0; k < 3; ++k)
                    turn[k] += double(p[(k + 1) % 3]) * q[(k + 2) % 3] -
                               double(p[(k + 2) % 3]) * q[(k + 1) % 3];
                if (key(p, q) != key(q, p)) ++edges[key(p, q)];
            }
            EXPECT_GT(turn[0] * out[0] + turn[1] * out[1] + turn[2] * out[2], 0) << level;
        }
        for (const auto& [e, count] : edges) {
            const auto back = edges.find({e[3], e[4], e[5], e[0], e[1], e[2]});
            ASSERT_TRUE(count == 1 && back != edges.end() && back->second == 1) << level;
        }
    }
}
