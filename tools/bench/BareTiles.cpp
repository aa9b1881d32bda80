#include "BareTiles.h"
#include "effects/CubeVom.h"
#include "engine/Fx.h"
#include "texture/Texture.h"
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
    CubeVom::setUpView();
    CubeVom::Ctx lit;
    CubeVom::setUpLight();
    Unit1State unit1;
    unit1.sphereMapOn();
    cube.flareTexture->bind();
    int tiles = 0;
    for (const ListCall& call : calls) {
        if (call.list != cube.tileList) continue;
        glLoadMatrixf(call.modelview.data());
        glCallList(call.list);
        ++tiles;
    }
    unit1.unit1Off();
    glLoadIdentity();
    return tiles;
}
