#include "BareTiles.h"
#include "effects/CubeVom.h"
#include "engine/Fx.h"
#include "texture/Texture.h"

namespace {
bool recording = false;
std::vector<ListCall>* recorded = nullptr;
} // namespace

// With -Wl,--wrap=glCallList the linker sends the engine's glCallList here and the real
// entry point is reached as __real_glCallList.
extern "C" void __real_glCallList(GLuint list);
extern "C" void __wrap_glCallList(GLuint list) {
    if (!recording) {
        __real_glCallList(list);
        return;
    }
    ListCall call{list, {}};
    glGetFloatv(GL_MODELVIEW_MATRIX, call.modelview.data());
    recorded->push_back(call);
}

// glFlush likewise (-Wl,--wrap=glFlush): while recording, the engine's flushes would only
// hand empty batches to the renderer, which then keeps more of them in its pool.
extern "C" void __real_glFlush();
extern "C" void __wrap_glFlush() {
    if (!recording) __real_glFlush();
}

std::vector<ListCall> recordListCalls(Fx& entry, int time) {
    std::vector<ListCall> calls;
    recorded = &calls;
    recording = true;
    entry.draw(time);
    recording = false;
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
        __real_glCallList(call.list);
        ++tiles;
    }
    unit1.unit1Off();
    glLoadIdentity();
    return tiles;
}
