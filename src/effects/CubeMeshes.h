#pragma once
#include <cstddef>
#include <vector>

// The cube scene's meshes as plain vertex arrays, built without GL; the scene compiles
// them into display lists.
namespace cubeMesh {

// One vertex of a mesh as the display list emits it.
struct Vertex {
    float p[3]; // position
    float n[3]; // normal
};

// Quads, four vertices each in emission order, then triangles.
struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<Vertex> triangles; // three vertices each; none in the designed meshes
    bool white = false;            // the list sets the colour to white
    std::size_t quads() const { return vertices.size() / 4; }
};

// The rounded tile: an inner box whose edges and corners are rounded by tileRounding to
// these outer half-extents.
constexpr float tileRounding = 0.06f;
constexpr float tileHalfWidth = 0.375f;  // x and z
constexpr float tileHalfHeight = 0.075f; // y

// How many coarser tiles there are beside the designed one.
constexpr int coarseMeshes = 4;

Mesh tile(); // 614 quads
// Coarse tile `level` (0 to coarseMeshes - 1), finest first.
Mesh coarseTile(int level);
// The tile with the vertices of its rounded quarter circles at the given angles (degrees,
// from 0 to 90, rising) with their true normals, and its corners patched with a few
// triangles that meet the edges point for point.
Mesh coarseTile(const std::vector<float>& quarter);
Mesh surface(); // 1681 quads
Mesh sphere();  // 512 quads

// Unit normal of the quad's plane from V0, V1 and V3; a fixed unit normal where the quad
// is degenerate.
void flatNormal(const float* v0, const float* v1, const float* v3, float* n);

} // namespace cubeMesh
