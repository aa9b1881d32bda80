#include "BareTiles.h"
#include "effects/CubeVom.h"
#include "engine/Fx.h"
#include <algorithm>

namespace {
std::vector<ListCall>* recorded = nullptr;

void record(GLuint list, const GLfloat* modelview) {
    ListCall call{list, {}};
    std::copy(modelview, modelview + 16, call.modelview.begin());
    recorded->push_back(call);
}
} // namespace

std::vector<ListCall> recordListCalls(Fx& entry, int time) {
    std::vector<ListCall> calls;
    recorded = &calls;
    CubeVom::observer = record;
    entry.draw(time);
    CubeVom::observer = nullptr;
    recorded = nullptr;
    return calls;
}

int drawBareTiles(const CubeVom& cube, const std::vector<ListCall>& calls) {
    std::vector<const GLfloat*> tiles;
    for (const ListCall& call : calls)
        if (cube.isTile(call.list)) tiles.push_back(call.modelview.data());
    cube.drawDesignedTiles(tiles);
    return static_cast<int>(tiles.size());
}
