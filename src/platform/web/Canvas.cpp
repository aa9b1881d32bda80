#include "platform/web/Canvas.h"
#include "gles/Gles.h"
#include "platform/Gl.h"
#include "platform/Offscreen.h"
#include "platform/Presentation.h"
#include "platform/Settings.h"
#include <emscripten/html5.h>

namespace platform {

namespace {
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
// The show draws here, as it does offscreen on the desktop: WebGL copies a screen into an
// RGBA texture only from a framebuffer with alpha, which an opaque canvas does not have.
Offscreen target;
} // namespace

bool openCanvas(std::string& error) {
    const Settings& s = settings();
    emscripten_set_canvas_element_size("#canvas", s.width, s.height);
    EmscriptenWebGLContextAttributes wanted;
    emscripten_webgl_init_context_attributes(&wanted);
    wanted.majorVersion = 2;
    wanted.minorVersion = 0;
    wanted.alpha = false;
    wanted.depth = true;
    wanted.antialias = false;
    wanted.preserveDrawingBuffer = true; // a held frame stays, and can be read back
    context = emscripten_webgl_create_context("#canvas", &wanted);
    if (context <= 0) {
        error = "this browser offers no WebGL 2: turn on its hardware acceleration, or try another";
        return false;
    }
    emscripten_webgl_make_context_current(context);
    const char* missing = nullptr;
    if (!gles::start(missing)) {
        error = std::string("WebGL 2 lacks ") + (missing ? missing : "a call the show needs");
        return false;
    }
    return target.openScreen(error);
}

void* glProcAddress(const char* name) { return gles::procAddress(name); }

bool glContextCurrent() { return context > 0 && emscripten_webgl_get_current_context() == context; }

// The browser shows the canvas once the frame's callback returns: nothing to swap.
void endFrame() {
    target.present(settings().width, settings().height);
    target.bind();
}

} // namespace platform
