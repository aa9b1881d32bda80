#include "platform/Gl.h"
#include <GL/glu.h>
#include <SDL.h>
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
                SDL_GL_GetProcAddress("glActiveTextureARB"));
    }
    if (glActiveTextureARBPtr) glActiveTextureARBPtr(unit);
}

void setTextureParameters(GLint wrap) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

void loadPerspective(double aspect, double zNear) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(viewAngle, aspect, zNear, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace platform
