#include "platform/Gl.h"
#include "platform/Settings.h"
#include <GL/glu.h>
#include <algorithm>
#include <cstring>

namespace platform {

PFNGLACTIVETEXTUREARBPROC glActiveTextureARBPtr = nullptr;

bool hasGlExtension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all) return false;
    const size_t len = std::strlen(name);
    for (const char* p = std::strstr(all, name); p; p = std::strstr(p + 1, name)) {
        const bool startOk = p == all || p[-1] == ' ';
        const bool endOk = p[len] == ' ' || p[len] == '\0';
        if (startOk && endOk) return true;
    }
    return false;
}

void activeTexture(GLenum unit) {
    static bool looked = false;
    if (!looked) {
        looked = true;
        // GLVND hands out a pointer for any name, so the extension string decides.
        if (hasGlExtension("GL_ARB_multitexture"))
            glActiveTextureARBPtr = reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(
                glProcAddress("glActiveTextureARB"));
    }
    if (glActiveTextureARBPtr) glActiveTextureARBPtr(unit);
}

void setTextureParameters(GLint wrap) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

bool glHoldsScreen(std::string& error) {
    const Settings& s = settings();
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    GLint most = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    if (std::max(s.texWidth, s.texHeight) > most || s.width > viewport[0] ||
        s.height > viewport[1]) {
        error = "this GL driver cannot draw " + size + " (textures up to " + std::to_string(most) +
                " texels); choose a smaller --size";
        return false;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    // As many screen textures as the show holds at once (the blur's, the transition's
    // two) and one for the offscreen screen, made and let go: the driver says now
    // whether it has the memory, rather than failing halfway through the show.
    GLuint probes[4] = {0, 0, 0, 0};
    glGenTextures(4, probes);
    for (GLuint probe : probes) {
        glBindTexture(GL_TEXTURE_2D, probe);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, s.texWidth, s.texHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    const bool held = glGetError() != GL_OUT_OF_MEMORY;
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(4, probes);
    if (!held) error = "not enough memory to draw " + size + "; choose a smaller --size";
    return held;
}

void loadPerspective(double aspect, double zNear) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(viewAngle, aspect, zNear, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace platform
