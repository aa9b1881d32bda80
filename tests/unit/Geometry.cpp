// The cube scene's meshes as vertex arrays, without GL.
#include "effects/CubeVom.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {
double length(const float* v) { return std::sqrt(double(v[0]) * v[0] + v[1] * v[1] + v[2] * v[2]); }
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
