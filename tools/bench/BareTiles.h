#pragma once
#include <GL/gl.h>
#include <array>
#include <vector>

class CubeVom;
class Fx;

// One display-list call that a draw made, with the modelview matrix it ran under.
struct ListCall {
    GLuint list;
    std::array<GLfloat, 16> modelview;
};

// Runs `entry`'s draw at `time` with the cube scene observed (CubeVom::observer): the
// meshes it places are recorded, as designed, instead of drawn, and it does not flush.
// Other effects draw as usual.
std::vector<ListCall> recordListCalls(Fx& entry, int time);

// The reference the cube scene's tile variants are held against: the same tile list at
// the same places, lit, sphere-mapped with the flare on unit 1 and with back faces
// culled as the scene draws it, but each tile placed by loading its recorded matrix
// instead of the scene's pushes, transforms and pops, and always with the designed tile.
// Calls of other lists are skipped.
// Returns the number of tiles drawn.
int drawBareTiles(const CubeVom& cube, const std::vector<ListCall>& calls);
