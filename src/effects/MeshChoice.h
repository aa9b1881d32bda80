#pragma once
#include "effects/CubeMeshes.h"

// Which mesh draws a tile of the cube scene, from where it lies in the view: the rule that
// makes the coarse detail coarse and leaves out what cannot be seen.

// The scene's view in real pixels of the screen: its perspective, from the one set-up.
struct TileView {
    float tanUp;     // tangent of half the view's angle upwards
    float tanAcross; // the same across: tanUp times the aspect
    float focal;     // pixels a unit spans at distance 1: half the screen's height / tanUp
    float zNear;     // the near plane's distance

    static TileView ofScreen(int width, int height);
};

// The meshes a tile may be drawn with, and the radius of its rounding on screen, in real
// pixels, from which each is used: the designed tile from designedFrom on, else the first
// coarse mesh (finest first) whose threshold the radius reaches.
extern const float designedFrom;
extern const float coarseFrom[cubeMesh::coarseMeshes];

// What draws a tile centred at `centre` in eye space (looking down -z): hidden when it
// lies wholly out of sight, designedMesh when not `coarse` or where its size on screen
// has no bound (its centre nearer than the near plane), else a coarse mesh by the radius
// of its rounding on screen.
constexpr int hiddenTile = -1;
constexpr int designedMesh = cubeMesh::coarseMeshes;
int meshForTile(const TileView& view, const float* centre, bool coarse);

// The coarse mesh (0 to coarseMeshes - 1) for a rounding of `pixels` on screen, or
// designedMesh.
int meshForRounding(float pixels);
