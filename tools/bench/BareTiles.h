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

// The cube scene's bare reference (CubeVom::drawDesignedTiles) for the tile calls among
// `calls`; other lists are skipped. Returns the number of tiles drawn.
int drawBareTiles(const CubeVom& cube, const std::vector<ListCall>& calls);
