// The ES table from EGL: Mesa answers eglGetProcAddress for core ES calls too, so
// nothing links libGLESv2 and its glEnable never meets ours.
#include "gles/Es.h"
#include <EGL/egl.h>

namespace gles {

bool fillEsTable(const char*& missing) {
#define GLES_LOOK_UP(type, name)                                                               \
    es.name = reinterpret_cast<type>(eglGetProcAddress("gl" #name));                           \
    if (!es.name) {                                                                            \
        missing = "gl" #name;                                                                  \
        return false;                                                                          \
    }
    GLES_CALLS(GLES_LOOK_UP)
#undef GLES_LOOK_UP
    return true;
}

} // namespace gles
