#include "glpp/Software.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace software {

namespace {
Renderer forced = Renderer::Detected;

bool detected() {
    // The renderer of the one context does not change while the program runs.
    static const bool onCpu =
        namesSoftware(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    return onCpu;
}

// The lit box, read back.
PixelBox readLitBox(int w, int h) {
    PixelBox box;
    if (w <= 0 || h <= 0) return box;
    static std::vector<uint32_t> pixels; // kept: a frame's worth is read every frame
    pixels.resize(static_cast<size_t>(w) * h);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    box = {w, h, -1, -1};
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = pixels.data() + static_cast<size_t>(y) * w;
        uint32_t any = 0;
        for (int x = 0; x < w; ++x)
            any |= row[x];
        if (!any) continue;
        int first = 0, last = w - 1;
        while (!row[first])
            ++first;
        while (!row[last])
            --last;
        box.x0 = std::min(box.x0, first);
        box.x1 = std::max(box.x1, last);
        box.y0 = std::min(box.y0, y);
        box.y1 = y;
    }
    if (box.x1 < 0) box = PixelBox();
    return box;
}
} // namespace

void forceRenderer(Renderer choice) { forced = choice; }

bool tuned() { return forced == Renderer::Detected ? detected() : forced == Renderer::Software; }

bool namesSoftware(const char* renderer) {
    if (!renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "SwiftShader"})
        if (std::strstr(renderer, name)) return true;
    return false;
}

void handOver() {
    if (tuned()) glFlush();
}

PixelBox litBox(int w, int h) {
    if (tuned()) return readLitBox(w, h);
    PixelBox whole;
    if (w > 0 && h > 0) whole = {0, 0, w - 1, h - 1};
    return whole;
}

} // namespace software
