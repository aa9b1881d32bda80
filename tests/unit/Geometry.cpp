// The cube scene's meshes as vertex arrays, without GL.
#include "effects/CubeMeshes.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace {
const float inner[3] = {0.315f, 0.0150000043f, 0.315f}; // the tile's box inside its rounding
template <class T> double length(const T* v) {
    return std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
}
} // namespace

// Every vertex of the designed and the coarse tiles lies 0.06 from the inner box, its normal
// pointing away from the nearest point of that box; every sphere vertex 1.5 from its centre, the
// first two at the south pole; the surface starts at its pole (0, 0, 4), facing up.
TEST(CubeMeshes, ShapesAndCounts) {
    const cubeMesh::Mesh tile = cubeMesh::tile(), sphere = cubeMesh::sphere(),
                         surface = cubeMesh::surface();
    EXPECT_EQ(std::vector<size_t>({tile.quads(), surface.quads(), sphere.quads()}),
              std::vector<size_t>({614, 1681, 512}));
    EXPECT_TRUE(tile.white && sphere.white && !surface.white);
    float hi[3] = {0, 0, 0};
    std::vector<cubeMesh::Mesh> tiles = {tile};
    for (int level = 0; level < cubeMesh::coarseMeshes; ++level)
        tiles.push_back(cubeMesh::coarseTile(level));
    for (const cubeMesh::Mesh& m : tiles)
        for (const auto* list : {&m.vertices, &m.triangles})
            for (const cubeMesh::Vertex& v : *list) {
                double off[3];
                for (int k = 0; k < 3; ++k)
                    off[k] = v.p[k] - std::clamp(v.p[k], -inner[k], inner[k]),
                    hi[k] = std::max(hi[k], std::abs(v.p[k]));
                ASSERT_NEAR(length(off), 0.06, 1e-6);
                for (int k = 0; k < 3; ++k)
                    ASSERT_NEAR(v.n[k], off[k] / 0.06, 2e-4);
            }
    EXPECT_EQ(std::vector<float>(hi, hi + 3), (std::vector<float>{0.375f, 0.075f, 0.375f}));
    for (const cubeMesh::Vertex& v : sphere.vertices)
        ASSERT_NEAR(length(v.p), 1.5, 1e-5);
    EXPECT_TRUE(sphere.vertices[0].p[1] == -1.5f && sphere.vertices[1].p[1] == -1.5f);
    EXPECT_NEAR(surface.vertices[0].p[2], 4, 1e-6);
    EXPECT_NEAR(surface.vertices[0].n[1], 1, 1e-4);
    for (const cubeMesh::Mesh* m : {&tile, &sphere, &surface})
        for (const cubeMesh::Vertex& v : m->vertices)
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
        cubeMesh::flatNormal(r[0], r[1], r[2], n);
        EXPECT_EQ(std::vector<float>(n, n + 3),
                  (std::vector<float>{0, r[3] ? 0.0f : 1.0f, r[3] ? 1.0f : 0.0f}));
    }
}

// Each coarse tile is closed: every face wound counter-clockwise seen from outside, and
// every edge met once in each direction, so by exactly two faces (no crack, no T-junction).
TEST(CubeMeshes, CoarseTilesAreClosed) {
    const auto key = [](const float* a, const float* b) { // an edge, on a 1e-5 grid
        std::array<long, 6> k;
        for (int i = 0; i < 3; ++i)
            k[i] = std::lround(a[i] * 1e5), k[i + 3] = std::lround(b[i] * 1e5);
        return k;
    };
    for (int level = 0; level < cubeMesh::coarseMeshes; ++level) {
        const cubeMesh::Mesh m = cubeMesh::coarseTile(level);
        std::map<std::array<long, 6>, int> edges; // directed
        for (const auto& [list, n] : {std::pair(&m.vertices, 4), std::pair(&m.triangles, 3)})
            for (size_t f = 0; f < list->size(); f += n) {
                double turn[3] = {0, 0, 0}, out[3] = {0, 0, 0};
                for (int i = 0; i < n; ++i) {
                    const float *p = (*list)[f + i].p, *q = (*list)[f + (i + 1) % n].p;
                    for (int k = 0; k < 3; ++k)
                        out[k] += p[k] - std::clamp(p[k], -inner[k], inner[k]),
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
