// The cube scene's meshes as vertex arrays, without GL.
#include "effects/CubeVom.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
double length(const float* v) { return std::sqrt(double(v[0]) * v[0] + v[1] * v[1] + v[2] * v[2]); }
} // namespace

TEST(CubeMeshes, CountsAndUnitNormals) {
    const struct {
        CubeVom::Mesh mesh;
        size_t quads;
        bool white;
    } meshes[] = {{CubeVom::tileMesh(), 614, true},
                  {CubeVom::surfaceMesh(), 1681, false},
                  {CubeVom::sphereMesh(), 512, true}};
    for (const auto& m : meshes) {
        EXPECT_EQ(m.mesh.vertices.size(), 4 * m.quads);
        EXPECT_EQ(m.mesh.white, m.white);
        for (const CubeVom::Vertex& v : m.mesh.vertices)
            ASSERT_NEAR(length(v.n), 1.0, 1e-5) << m.quads;
    }
}

// Every tile vertex lies 0.06 from the inner box, its normal pointing away from the
// nearest point of that box; the outer box is exact.
TEST(CubeMeshes, TileIsTheInnerBoxRoundedBy006) {
    const float inner[3] = {0.315f, 0.0150000043f, 0.315f};
    float lo[3] = {1, 1, 1}, hi[3] = {-1, -1, -1};
    for (const CubeVom::Vertex& v : CubeVom::tileMesh().vertices) {
        double off[3];
        for (int k = 0; k < 3; ++k) {
            off[k] = v.p[k] - std::clamp(v.p[k], -inner[k], inner[k]);
            lo[k] = std::min(lo[k], v.p[k]);
            hi[k] = std::max(hi[k], v.p[k]);
        }
        ASSERT_NEAR(std::sqrt(off[0] * off[0] + off[1] * off[1] + off[2] * off[2]), 0.06, 1e-6);
        for (int k = 0; k < 3; ++k)
            ASSERT_NEAR(v.n[k], off[k] / 0.06, 2e-4);
    }
    EXPECT_EQ(std::vector<float>(lo, lo + 3), (std::vector<float>{-0.375f, -0.075f, -0.375f}));
    EXPECT_EQ(std::vector<float>(hi, hi + 3), (std::vector<float>{0.375f, 0.075f, 0.375f}));
}

TEST(CubeMeshes, SurfaceAndSphereLandmarks) {
    const CubeVom::Mesh surface = CubeVom::surfaceMesh(), sphere = CubeVom::sphereMesh();
    const CubeVom::Vertex& first = surface.vertices[0]; // u = v = 0: the pole (0, 0, 4)
    EXPECT_NEAR(first.p[2], 4.0f, 1e-6);
    EXPECT_NEAR(first.n[1], 1.0f, 1e-4);
    float x, y, z;
    CubeVom::surfacePoint(0.5f, 0.5f, &x, &y, &z); // theta 0, phi a quarter turn: r = 4
    EXPECT_NEAR(x, 4.0f, 1e-5);
    for (const CubeVom::Vertex& v : sphere.vertices)
        ASSERT_NEAR(length(v.p), 1.5, 1e-5);
    EXPECT_NEAR(sphere.vertices[0].p[1], -1.5f, 1e-6); // the first two at the south pole
    EXPECT_NEAR(sphere.vertices[1].p[1], -1.5f, 1e-6);
}

TEST(CubeMeshes, FlatNormalsOfDegenerateQuadsAreUp) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float a[3] = {1, 2, 3}, b[3] = {2, 2, 3}, c[3] = {1, 3, 3}, bad[3] = {nan, 0, 0},
                far[3] = {inf, 0, 0}, o[3] = {0, 0, 0}, t1[3] = {1e-20f, 0, 0},
                t3[3] = {0, 1e-20f, 0};
    const struct {
        const float *v0, *v1, *v3;
        float n[3];
    } rows[] = {{a, b, c, {0, 0, 1}},   {a, a, a, {0, 1, 0}},   {a, b, a, {0, 1, 0}},
                {a, bad, c, {0, 1, 0}}, {a, far, c, {0, 1, 0}}, {o, t1, t3, {0, 0, 1}}};
    for (const auto& r : rows) {
        float n[3];
        CubeVom::flatNormal(r.v0, r.v1, r.v3, n);
        EXPECT_EQ(std::vector<float>(n, n + 3), std::vector<float>(r.n, r.n + 3));
    }
}
