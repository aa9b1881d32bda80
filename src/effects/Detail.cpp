#include "effects/Detail.h"
#include "effects/CubeVom.h"
#include "platform/Clock.h"
#include "platform/Gl.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {

Detail selected = Detail::Designed;

AutoDetail& live() {
    static AutoDetail chooser(frameBudgetMs);
    return chooser;
}

// The radius of the sphere about the tile's centre that holds the whole tile.
const float tileReach = std::sqrt(2 * CubeVom::tileHalfWidth * CubeVom::tileHalfWidth +
                                  CubeVom::tileHalfHeight * CubeVom::tileHalfHeight);

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
const float coarseFrom[coarseMeshes] = {4.0f, 3.2f, 2.0f, 0.0f};

void selectDetail(Detail detail) { selected = detail; }

Detail selectedDetail() { return selected; }

bool readDetail(const std::string& text, bool withAuto, Detail& out) {
    if (text == "designed")
        out = Detail::Designed;
    else if (text == "coarse")
        out = Detail::Coarse;
    else if (text == "auto" && withAuto)
        out = Detail::Auto;
    else
        return false;
    return true;
}

const char* detailTakes(bool withAuto) {
    return withAuto ? "auto, designed or coarse" : "designed or coarse";
}

bool coarseTiles() {
    return selected == Detail::Coarse || (selected == Detail::Auto && live().coarse());
}

DrawTiming::DrawTiming() {
    if (selected == Detail::Auto) begin = platform::nowMs();
}

DrawTiming::~DrawTiming() {
    if (begin < 0 || selected != Detail::Auto) return;
    glFinish(); // the draw itself, without the wait for the screen's refresh
    const double now = platform::nowMs();
    live().frameDrawn(now - begin, now);
}

void AutoDetail::restart() { count = next = 0; }

void AutoDetail::frameDrawn(double drawMs, double nowMs) {
    times[next] = drawMs;
    next = (next + 1) % recent;
    if (count < recent) ++count;
    if (count < recent) return;
    double sorted[recent];
    std::copy(times, times + recent, sorted);
    std::nth_element(sorted, sorted + recent / 2, sorted + recent);
    const double median = sorted[recent / 2];
    if (!isCoarse) {
        if (median <= budget) return;
        isCoarse = true;
        designedMs = median;
        slower = 0;
        coarseSince = nowMs;
        restart();
        return;
    }
    if (slower == 0) slower = std::max(1.0, designedMs / std::max(median, 1e-3));
    if (nowMs - coarseSince >= hold && median * slower < roomToSpare * budget) {
        isCoarse = false;
        restart();
    }
}

TileView TileView::ofScreen(int width, int height) {
    const float tanUp = static_cast<float>(std::tan(platform::viewAngle / 2 * M_PI / 180));
    return {tanUp, tanUp * static_cast<float>(width) / static_cast<float>(height),
            static_cast<float>(height) / 2 / tanUp, CubeVom::nearPlane};
}

int meshForRounding(float pixels) {
    if (pixels >= designedFrom) return designedMesh;
    for (int mesh = 0; mesh < coarseMeshes; ++mesh)
        if (pixels >= coarseFrom[mesh]) return mesh;
    return coarseMeshes - 1;
}

int meshForTile(const TileView& view, const float* centre, bool coarse) {
    const float depth = -centre[2];
    // Out of sight: wholly nearer than the near plane or beyond a side of the view.
    if (depth < view.zNear - tileReach || beyondSide(centre[0], depth, view.tanAcross) ||
        beyondSide(centre[1], depth, view.tanUp))
        return hiddenTile;
    // Across the near plane a tile's size on screen has no bound.
    if (!coarse || depth <= view.zNear) return designedMesh;
    return meshForRounding(CubeVom::tileRounding * view.focal / depth);
}
