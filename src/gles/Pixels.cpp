// Textures, copies from the framebuffer, reading pixels, framebuffer objects, and the
// look-up of the library's extension entry points.
#include "gles/Context.h"
#include "gles/Gles.h"
#include "gles/Lists.h"
#include <cstring>
#include <string>
#include <vector>

using namespace gles;

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* names) {
    es.GenTextures(n, names);
    for (GLsizei i = 0; i < n; ++i)
        state().textures[names[i]] = TextureInfo();
}

void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* names) {
    State& s = state();
    for (GLsizei i = 0; i < n; ++i) {
        s.textures.erase(names[i]);
        for (TextureUnit& u : s.units)
            if (u.bound == names[i]) u.bound = 0;
    }
    es.DeleteTextures(n, names);
}

void GLAPIENTRY glBindTexture(GLenum target, GLuint name) {
    refuseInList("glBindTexture");
    if (target != GL_TEXTURE_2D) unsupported("glBindTexture", target);
    State& s = state();
    s.units[s.activeUnit].bound = name;
    s.textures[name]; // a name bound first becomes a texture, as in GL
    es.BindTexture(target, name);
}

void GLAPIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param) {
    refuseInList("glTexParameteri");
    if (target != GL_TEXTURE_2D) unsupported("glTexParameteri", target);
    TextureInfo& t = boundTexture();
    switch (pname) {
    case GL_TEXTURE_MIN_FILTER: t.minFilter = param; break;
    case GL_TEXTURE_MAG_FILTER: t.magFilter = param; break;
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
        if (param != GL_CLAMP && param != GL_REPEAT && param != GL_CLAMP_TO_EDGE)
            unsupported("glTexParameteri", static_cast<unsigned>(param));
        (pname == GL_TEXTURE_WRAP_S ? t.wrapS : t.wrapT) = param;
        // The shader blends GL_CLAMP's transparent border in itself.
        if (param == GL_CLAMP) param = GL_CLAMP_TO_EDGE;
        break;
    default: unsupported("glTexParameteri", pname);
    }
    es.TexParameteri(target, pname, param);
}

void GLAPIENTRY glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const GLvoid* pixels) {
    refuseInList("glTexImage2D");
    if (target != GL_TEXTURE_2D) unsupported("glTexImage2D", target);
    if (level != 0) unsupported("glTexImage2D level", static_cast<unsigned>(level));
    if (border != 0) unsupported("glTexImage2D border", static_cast<unsigned>(border));
    if (type != GL_UNSIGNED_BYTE) unsupported("glTexImage2D", type);
    if (format != GL_RGB && format != GL_RGBA) unsupported("glTexImage2D", format);
    if (internalFormat != GL_RGB && internalFormat != GL_RGBA)
        unsupported("glTexImage2D", static_cast<unsigned>(internalFormat));
    if (static_cast<GLenum>(internalFormat) != format)
        unsupported("glTexImage2D with a format of its own", format);
    es.TexImage2D(target, level, internalFormat, width, height, 0, format, type, pixels);
    boundTexture().holdImage(width, height, internalFormat);
}

void GLAPIENTRY glCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x,
                                 GLint y, GLsizei width, GLsizei height, GLint border) {
    refuseInList("glCopyTexImage2D");
    if (target != GL_TEXTURE_2D || level != 0 || border != 0)
        unsupported("glCopyTexImage2D", target);
    if (internalFormat != GL_RGBA && internalFormat != GL_RGB)
        unsupported("glCopyTexImage2D", internalFormat);
    es.CopyTexImage2D(target, level, internalFormat, x, y, width, height, 0);
    boundTexture().holdImage(width, height, static_cast<GLint>(internalFormat));
}

void GLAPIENTRY glCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset,
                                    GLint x, GLint y, GLsizei width, GLsizei height) {
    refuseInList("glCopyTexSubImage2D");
    if (target != GL_TEXTURE_2D || level != 0) unsupported("glCopyTexSubImage2D", target);
    es.CopyTexSubImage2D(target, level, xoffset, yoffset, x, y, width, height);
}

// ES reads RGBA bytes; GL_RGB rows are packed from them with the pack alignment.
void GLAPIENTRY glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                             GLenum type, GLvoid* pixels) {
    if (type != GL_UNSIGNED_BYTE) unsupported("glReadPixels", type);
    if (format == GL_RGBA) return es.ReadPixels(x, y, width, height, format, type, pixels);
    if (format != GL_RGB) unsupported("glReadPixels", format);
    if (width <= 0 || height <= 0) return;
    static std::vector<uint8_t> rgba;
    rgba.resize(static_cast<size_t>(width) * height * 4);
    es.PixelStorei(GL_PACK_ALIGNMENT, 4);
    es.ReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    es.PixelStorei(GL_PACK_ALIGNMENT, state().packAlignment);
    const size_t align = static_cast<size_t>(state().packAlignment);
    const size_t stride = (static_cast<size_t>(width) * 3 + align - 1) / align * align;
    auto* out = static_cast<uint8_t*>(pixels);
    for (GLsizei row = 0; row < height; ++row) {
        const uint8_t* from = rgba.data() + static_cast<size_t>(row) * width * 4;
        uint8_t* to = out + row * stride;
        for (GLsizei i = 0; i < width; ++i)
            std::memcpy(to + 3 * i, from + 4 * i, 3);
    }
}

// Framebuffer objects: the EXT calls are the ES ones under other names.
extern "C" {
void GLAPIENTRY glGenFramebuffersEXT(GLsizei n, GLuint* names) { es.GenFramebuffers(n, names); }
void GLAPIENTRY glDeleteFramebuffersEXT(GLsizei n, const GLuint* names) {
    es.DeleteFramebuffers(n, names);
}
void GLAPIENTRY glBindFramebufferEXT(GLenum target, GLuint name) { es.BindFramebuffer(target, name); }
void GLAPIENTRY glGenRenderbuffersEXT(GLsizei n, GLuint* names) { es.GenRenderbuffers(n, names); }
void GLAPIENTRY glDeleteRenderbuffersEXT(GLsizei n, const GLuint* names) {
    es.DeleteRenderbuffers(n, names);
}
void GLAPIENTRY glBindRenderbufferEXT(GLenum target, GLuint name) {
    es.BindRenderbuffer(target, name);
}
void GLAPIENTRY glRenderbufferStorageEXT(GLenum target, GLenum format, GLsizei w, GLsizei h) {
    es.RenderbufferStorage(target, format, w, h);
}
void GLAPIENTRY glFramebufferRenderbufferEXT(GLenum target, GLenum attachment, GLenum rbTarget,
                                             GLuint rb) {
    es.FramebufferRenderbuffer(target, attachment, rbTarget, rb);
}
GLenum GLAPIENTRY glCheckFramebufferStatusEXT(GLenum target) {
    return es.CheckFramebufferStatus(target);
}
void GLAPIENTRY glBlitFramebufferEXT(GLint sx0, GLint sy0, GLint sx1, GLint sy1, GLint dx0,
                                     GLint dy0, GLint dx1, GLint dy1, GLbitfield mask,
                                     GLenum filter) {
    es.BlitFramebuffer(sx0, sy0, sx1, sy1, dx0, dy0, dx1, dy1, mask, filter);
}
} // extern "C"

namespace gles {

void* procAddress(const char* name) {
    struct Entry {
        const char* name;
        void* address;
    };
#define GLES_ENTRY(fn) {#fn, reinterpret_cast<void*>(&fn)}
    static const Entry entries[] = {
        GLES_ENTRY(glActiveTextureARB),       GLES_ENTRY(glActiveTexture),
        GLES_ENTRY(glGenFramebuffersEXT),     GLES_ENTRY(glDeleteFramebuffersEXT),
        GLES_ENTRY(glBindFramebufferEXT),     GLES_ENTRY(glGenRenderbuffersEXT),
        GLES_ENTRY(glDeleteRenderbuffersEXT), GLES_ENTRY(glBindRenderbufferEXT),
        GLES_ENTRY(glRenderbufferStorageEXT), GLES_ENTRY(glFramebufferRenderbufferEXT),
        GLES_ENTRY(glCheckFramebufferStatusEXT), GLES_ENTRY(glBlitFramebufferEXT)};
#undef GLES_ENTRY
    for (const Entry& e : entries)
        if (std::strcmp(e.name, name) == 0) return e.address;
    return nullptr;
}

} // namespace gles
