// The headless screen on OpenGL ES 3.0 through EGL, with no window system at all (Mesa's
// surfaceless platform): the show's GL is our own, on ES (src/gles).
#include "gles/Gles.h"
#include "platform/Gl.h"
#include "platform/Headless.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace platform {

namespace {

Offscreen target;
EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;

bool openEs(std::string& error) {
    const auto platformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (platformDisplay)
        display = platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        error = "cannot open an EGL display for OpenGL ES 3.0";
        return false;
    }
    // No window: a configuration for offscreen surfaces, or none where EGL allows that.
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES3_BIT, EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT, EGL_NONE};
    EGLConfig config = EGL_NO_CONFIG_KHR;
    EGLint found = 0;
    const EGLint version[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0,
                              EGL_NONE};
    if (eglBindAPI(EGL_OPENGL_ES_API)) {
        if (!eglChooseConfig(display, wanted, &config, 1, &found) || found == 0)
            config = EGL_NO_CONFIG_KHR;
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, version);
    }
    if (context == EGL_NO_CONTEXT ||
        !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        error = "cannot create an OpenGL ES 3.0 context without a surface (EGL error " +
                std::to_string(eglGetError()) + ")";
        return false;
    }
    const char* missing = nullptr;
    if (!gles::start(missing)) {
        error = std::string("the OpenGL ES driver lacks ") + missing;
        return false;
    }
    return true;
}

} // namespace

void* glProcAddress(const char* name) { return gles::procAddress(name); }

bool glContextCurrent() { return context != EGL_NO_CONTEXT && eglGetCurrentContext() == context; }

bool openHeadless(ScreenSize size, std::string& error) {
    Settings& s = settings();
    chooseResolution(s, size);
    if (openEs(error) && target.openScreen(error)) return true;
    closeHeadless();
    return false;
}

void closeHeadless() {
    if (glContextCurrent()) target.release();
    if (display != EGL_NO_DISPLAY) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
        eglTerminate(display);
    }
    context = EGL_NO_CONTEXT;
    display = EGL_NO_DISPLAY;
}

} // namespace platform
