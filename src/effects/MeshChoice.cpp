#include "effects/MeshChoice.h"
#include "effects/CubeVom.h"
#include "platform/Gl.h"
#include <cmath>

namespace {

// The radius of the sphere about the tile's centre that holds the whole tile.
const float tileReach = std::sqrt(2 * cubeMesh::tileHalfWidth * cubeMesh::tileHalfWidth +
                                  cubeMesh::tileHalfHeight * cubeMesh::tileHalfHeight);

// Whether a sphere of tileReach at (a, depth) lies wholly beyond the side of the view
// where a = tan * depth, on either side.
bool beyondSide(float a, float depth, float tan) {
    return std::fabs(a) - tan * depth > tileReach * std::sqrt(1 + tan * tan);
}

} // namespace

// At these roundings on screen every frame of the show, at both sizes, stays within a few
// levels of the designed picture (velmora-bench --fidelity measures it): the coarser the
// mesh, the smaller its rounding must be. The smaller screen sets them: a mesh's faults
// span as many pixels there, but of a smaller picture. On a CPU renderer a tile costs by
// the edges of its triangles (the long thin strips of its rounded edges above all) far
// more than by its pixels, and the designed tile has 1228 triangles to the finest coarse
// mesh's 348: it is kept for roundings of 8 pixels on.
const float designedFrom = 8.0f;
const float coarseFrom[cubeMesh::coarseMeshes] = {4.0f, 3.2f, 2.0f, 0.0f};

TileView TileView::ofScreen(int width, int height) {
    const float tanUp = static_cast<float>(std::tan(platform::viewAngle / 2 * M_PI / 180));
    return {tanUp, tanUp * static_cast<float>(width) / static_cast<float>(height),
            static_cast<float>(height) / 2 / tanUp, CubeVom::nearPlane};
}

int meshForRounding(float pixels) {
    if (pixels >= designedFrom) return designedMesh;
    for (int mesh = 0; mesh < cubeMesh::coarseMeshes; ++mesh)
        if (pixels >= coarseFrom[mesh]) return mesh;
    return cubeMesh::coarseMeshes - 1;
}

int meshForTile(const TileView& view, const float* centre, bool coarse) {
    const float depth = -centre[2];
    // Out of sight: wholly nearer than the near plane or beyond a side of the view.
    if (depth < view.zNear - tileReach || beyondSide(centre[0], depth, view.tanAcross) ||
        beyondSide(centre[1], depth, view.tanUp))
        return hiddenTile;
    // Across the near plane a tile's size on screen has no bound.
    if (!coarse || depth <= view.zNear) return designedMesh;
    return meshForRounding(cubeMesh::tileRounding * view.focal / depth);
}
