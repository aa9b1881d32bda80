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

// Runs `entry`'s draw at `time` with the engine's glCallList calls recorded instead of
// drawn, and its glFlush calls dropped. Works in programs linked with
// -Wl,--wrap=glCallList,--wrap=glFlush (the velmora_bench library adds both): the
// engine's calls then come here first.
std::vector<ListCall> recordListCalls(Fx& entry, int time);

// The reference the cube scene's tile variants are held against: the same tile list at
// the same places, lit, sphere-mapped with the flare on unit 1 and with back faces
// culled as the scene draws it, but each tile placed by loading its recorded matrix
// instead of the scene's pushes, transforms and pops. Calls of other lists are skipped.
// Returns the number of tiles drawn.
int drawBareTiles(const CubeVom& cube, const std::vector<ListCall>& calls);
