// The cube scene's meshes, checked as vertex arrays without GL.
#include "effects/CubeVom.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using Mesh = CubeVom::Mesh;
using Vertex = CubeVom::Vertex;

double length(const float* v) { return std::sqrt(double(v[0]) * v[0] + v[1] * v[1] + v[2] * v[2]); }

double dot(const double* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// (V1 - V0) x (V3 - V0) of quad q.
void cross(const Mesh& m, size_t q, double* c) {
    const float* v0 = m.vertices[4 * q].p;
    const float* v1 = m.vertices[4 * q + 1].p;
    const float* v3 = m.vertices[4 * q + 3].p;
    const double a[3] = {double(v1[0]) - v0[0], double(v1[1]) - v0[1], double(v1[2]) - v0[2]};
    const double b[3] = {double(v3[0]) - v0[0], double(v3[1]) - v0[1], double(v3[2]) - v0[2]};
    c[0] = a[1] * b[2] - a[2] * b[1];
    c[1] = a[2] * b[0] - a[0] * b[2];
    c[2] = a[0] * b[1] - a[1] * b[0];
}

void expectUnitNormals(const Mesh& m, const char* name) {
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        const float* n = m.vertices[i].n;
        ASSERT_TRUE(std::isfinite(n[0]) && std::isfinite(n[1]) && std::isfinite(n[2]))
            << name << " vertex " << i;
        ASSERT_NEAR(length(n), 1.0, 1e-5) << name << " vertex " << i;
    }
}

} // namespace

TEST(CubeVomGeometry, MeshesHoldTheirQuadCounts) {
    const Mesh tile = CubeVom::tileMesh(), surface = CubeVom::surfaceMesh(),
               sphere = CubeVom::sphereMesh();
    EXPECT_EQ(tile.vertices.size(), 2456u);
    EXPECT_EQ(tile.quads(), 614u);
    EXPECT_EQ(surface.quads(), 1681u);
    EXPECT_EQ(surface.vertices.size() % 4, 0u);
    EXPECT_EQ(sphere.quads(), 512u);
    EXPECT_EQ(sphere.vertices.size() % 4, 0u);
    // The tile and the sphere are white; the surface takes whatever colour is current.
    EXPECT_TRUE(tile.white);
    EXPECT_TRUE(sphere.white);
    EXPECT_FALSE(surface.white);
}

TEST(CubeVomGeometry, EveryNormalIsFiniteAndOfUnitLength) {
    expectUnitNormals(CubeVom::tileMesh(), "tile");
    expectUnitNormals(CubeVom::surfaceMesh(), "surface");
    expectUnitNormals(CubeVom::sphereMesh(), "sphere");
}

TEST(CubeVomGeometry, TileOuterBoxIsExact) {
    const Mesh tile = CubeVom::tileMesh();
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    for (const Vertex& v : tile.vertices)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], v.p[i]);
            hi[i] = std::max(hi[i], v.p[i]);
        }
    EXPECT_EQ(lo[0], -0.375f);
    EXPECT_EQ(hi[0], 0.375f);
    EXPECT_EQ(lo[1], -0.075f);
    EXPECT_EQ(hi[1], 0.075f);
    EXPECT_EQ(lo[2], -0.375f);
    EXPECT_EQ(hi[2], 0.375f);
}

// Every vertex of the tile lies 0.06 from the inner box, and its normal points from
// the nearest point of that box to the vertex: flat faces, edges and corners alike.
TEST(CubeVomGeometry, TileIsTheInnerBoxRoundedBy006) {
    const Mesh tile = CubeVom::tileMesh();
    const float inner[3] = {0.315f, 0.0150000043f, 0.315f};
    for (size_t i = 0; i < tile.vertices.size(); ++i) {
        const Vertex& v = tile.vertices[i];
        double off[3];
        for (int k = 0; k < 3; ++k)
            off[k] = v.p[k] - std::clamp(v.p[k], -inner[k], inner[k]);
        const double dist = std::sqrt(off[0] * off[0] + off[1] * off[1] + off[2] * off[2]);
        ASSERT_NEAR(dist, 0.06, 1e-6) << "vertex " << i;
        for (int k = 0; k < 3; ++k)
            ASSERT_NEAR(v.n[k], off[k] / 0.06, 2e-4) << "vertex " << i;
    }
}

// Culling is on while tiles draw, so every quad must wind counter-clockwise seen from
// the side its normals face.
TEST(CubeVomGeometry, TileQuadsFaceTheirNormals) {
    const Mesh tile = CubeVom::tileMesh();
    int checked = 0;
    for (size_t q = 0; q < tile.quads(); ++q) {
        double c[3];
        cross(tile, q, c);
        if (std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]) < 1e-9) continue; // a pole
        for (int k = 0; k < 4; ++k)
            ASSERT_GT(dot(c, tile.vertices[4 * q + k].n), 0) << "quad " << q;
        ++checked;
    }
    EXPECT_GT(checked, 550);
}

TEST(CubeVomGeometry, SurfaceStartsAtItsPoleAndFollowsTheParameters) {
    float x, y, z;
    CubeVom::surfacePoint(0.5f, 0.5f, &x, &y, &z); // theta 0, phi a quarter turn: r = 4
    EXPECT_NEAR(x, 4.0f, 1e-5);
    EXPECT_NEAR(y, 0.0f, 1e-5);
    EXPECT_NEAR(z, 0.0f, 1e-5);
    CubeVom::surfacePoint(0.5f + 1.0f / 16, 0.3f, &x, &y, &z); // cos(4 theta) = 0
    EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 0.0, 1e-5);

    const Mesh s = CubeVom::surfaceMesh();
    const Vertex& first = s.vertices[0];
    EXPECT_NEAR(first.p[0], 0.0f, 1e-6);
    EXPECT_NEAR(first.p[1], 0.0f, 1e-6);
    EXPECT_NEAR(first.p[2], 4.0f, 1e-6);
    EXPECT_NEAR(first.n[0], 0.0f, 1e-4);
    EXPECT_NEAR(first.n[1], 1.0f, 1e-4);
    EXPECT_NEAR(first.n[2], 0.0f, 1e-4);

    // v runs inside u: quad 1 starts where quad 0's fourth corner is, quad 41 where its
    // second is; all four corners of a quad share the quad's one normal.
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(s.vertices[4].p[k], s.vertices[3].p[k]);
        EXPECT_EQ(s.vertices[41 * 4].p[k], s.vertices[1].p[k]);
        EXPECT_EQ(s.vertices[1].n[k], first.n[k]);
        EXPECT_EQ(s.vertices[3].n[k], first.n[k]);
    }
    // The last row of quads reaches just below u = 1 plus one step.
    const Vertex& last = s.vertices[s.vertices.size() - 4];
    float lx, ly, lz;
    CubeVom::surfacePoint(0.9999996f, 0.9999996f, &lx, &ly, &lz);
    EXPECT_NEAR(last.p[0], lx, 1e-5);
    EXPECT_NEAR(last.p[1], ly, 1e-5);
    EXPECT_NEAR(last.p[2], lz, 1e-5);
}

TEST(CubeVomGeometry, SphereHasRadius15AndOutwardFacets) {
    const Mesh s = CubeVom::sphereMesh();
    for (size_t i = 0; i < s.vertices.size(); ++i)
        ASSERT_NEAR(length(s.vertices[i].p), 1.5, 1e-5) << "vertex " << i;
    for (int k = 0; k < 2; ++k) {
        EXPECT_NEAR(s.vertices[k].p[0], 0.0f, 1e-6);
        EXPECT_NEAR(s.vertices[k].p[1], -1.5f, 1e-6);
        EXPECT_NEAR(s.vertices[k].p[2], 0.0f, 1e-6);
    }
    for (size_t q = 0; q < s.quads(); ++q) {
        double centre[3] = {0, 0, 0};
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 3; ++i)
                centre[i] += s.vertices[4 * q + k].p[i] / 4;
        // Pole quads have no defined facet direction; the rest face away from the centre.
        if (q % 16 == 0 || q % 16 == 15) continue;
        ASSERT_GT(dot(centre, s.vertices[4 * q].n), 0) << "quad " << q;
    }
}

TEST(CubeVomGeometry, FlatNormalOfADegenerateQuadIsAFixedUnitVector) {
    const float a[3] = {1, 2, 3}, b[3] = {2, 2, 3}, c[3] = {1, 3, 3};
    float n[3];
    CubeVom::flatNormal(a, b, c, n);
    EXPECT_FLOAT_EQ(n[0], 0);
    EXPECT_FLOAT_EQ(n[1], 0);
    EXPECT_FLOAT_EQ(n[2], 1);

    // Three coinciding corners: no plane, no division by zero.
    CubeVom::flatNormal(a, a, a, n);
    EXPECT_TRUE(std::isfinite(n[0]) && std::isfinite(n[1]) && std::isfinite(n[2]));
    EXPECT_NEAR(length(n), 1.0, 1e-6);

    // Two coinciding along one side only: still no plane.
    CubeVom::flatNormal(a, b, a, n);
    EXPECT_NEAR(length(n), 1.0, 1e-6);

    // Corners that are not numbers give a unit normal too.
    const float bad[3] = {std::numeric_limits<float>::quiet_NaN(), 0, 0};
    CubeVom::flatNormal(a, bad, c, n);
    EXPECT_NEAR(length(n), 1.0, 1e-6);
    const float far[3] = {std::numeric_limits<float>::infinity(), 0, 0};
    CubeVom::flatNormal(a, far, c, n);
    EXPECT_NEAR(length(n), 1.0, 1e-6);

    // A tiny but real plane keeps its true direction.
    const float t1[3] = {1e-20f, 0, 0}, t3[3] = {0, 1e-20f, 0}, o[3] = {0, 0, 0};
    CubeVom::flatNormal(o, t1, t3, n);
    EXPECT_NEAR(n[2], 1.0f, 1e-6);
}
