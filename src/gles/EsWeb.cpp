// The ES table in the browser: emscripten's own names for the WebGL calls. Its
// proc-address look-up would hand back this library's GL 1.x functions instead.
#include "gles/Es.h"
#include <GLES3/gl3.h>

#define GLES_WEB_DECLARE(type, name) extern "C" decltype(::gl##name) emscripten_gl##name;
GLES_CALLS(GLES_WEB_DECLARE)
#undef GLES_WEB_DECLARE

namespace gles {

bool fillEsTable(const char*& missing) {
    missing = nullptr;
#define GLES_WEB_TAKE(type, name) es.name = reinterpret_cast<type>(&emscripten_gl##name);
    GLES_CALLS(GLES_WEB_TAKE)
#undef GLES_WEB_TAKE
    return true;
}

} // namespace gles
