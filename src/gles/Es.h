#pragma once
#include <GL/gl.h>
#include <GL/glext.h>

// The OpenGL ES 3.0 calls this library makes, reached only through this table so that
// its own GL 1.x entry points (glEnable, glViewport, ...) never meet the ES ones by name.
// One small file per source fills it: eglGetProcAddress natively (EsEgl.cpp), the
// browser's own names for the WebGL calls under emscripten (EsWeb.cpp).
// The GL 1.1 calls take their types from our own definitions of the same signatures.
#define GLES_CALLS(X)                                                                          \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                                   \
    X(PFNGLATTACHSHADERPROC, AttachShader)                                                     \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                                         \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                                         \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                                               \
    X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                                             \
    X(decltype(&::glBindTexture), BindTexture)                                                       \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                               \
    X(decltype(&::glBlendFunc), BlendFunc)                                                           \
    X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                                               \
    X(PFNGLBUFFERDATAPROC, BufferData)                                                         \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)                                 \
    X(decltype(&::glClear), Clear)                                                                   \
    X(decltype(&::glClearColor), ClearColor)                                                         \
    X(PFNGLCLEARDEPTHFPROC, ClearDepthf)                                                       \
    X(decltype(&::glColorMask), ColorMask)                                                           \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                                                   \
    X(decltype(&::glCopyTexImage2D), CopyTexImage2D)                                                 \
    X(decltype(&::glCopyTexSubImage2D), CopyTexSubImage2D)                                           \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                                   \
    X(PFNGLCREATESHADERPROC, CreateShader)                                                     \
    X(decltype(&::glCullFace), CullFace)                                                             \
    X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                                         \
    X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)                                       \
    X(decltype(&::glDeleteTextures), DeleteTextures)                                                 \
    X(decltype(&::glDepthFunc), DepthFunc)                                                           \
    X(decltype(&::glDepthMask), DepthMask)                                                           \
    X(decltype(&::glDisable), Disable)                                                               \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)                             \
    X(decltype(&::glDrawArrays), DrawArrays)                                                         \
    X(decltype(&::glEnable), Enable)                                                                 \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                               \
    X(decltype(&::glFlush), Flush)                                                                   \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)                               \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                                         \
    X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                                               \
    X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                                             \
    X(decltype(&::glGenTextures), GenTextures)                                                       \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                                               \
    X(decltype(&::glGetError), GetError)                                                             \
    X(decltype(&::glGetIntegerv), GetIntegerv)                                                       \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                                           \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                                     \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                                             \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                       \
    X(decltype(&::glGetString), GetString)                                                           \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                         \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                       \
    X(decltype(&::glPixelStorei), PixelStorei)                                                       \
    X(decltype(&::glReadPixels), ReadPixels)                                                         \
    X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)                                       \
    X(decltype(&::glScissor), Scissor)                                                               \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                                                     \
    X(decltype(&::glTexImage2D), TexImage2D)                                                         \
    X(decltype(&::glTexParameteri), TexParameteri)                                                   \
    X(PFNGLUNIFORM1FPROC, Uniform1f)                                                           \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                                           \
    X(PFNGLUNIFORM2FPROC, Uniform2f)                                                           \
    X(PFNGLUNIFORM4FVPROC, Uniform4fv)                                                         \
    X(PFNGLUNIFORMMATRIX3FVPROC, UniformMatrix3fv)                                             \
    X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                                             \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                                         \
    X(PFNGLVERTEXATTRIB4FVPROC, VertexAttrib4fv)                                               \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                                       \
    X(decltype(&::glViewport), Viewport)

namespace gles {

struct EsTable {
#define GLES_FIELD(type, name) type name = nullptr;
    GLES_CALLS(GLES_FIELD)
#undef GLES_FIELD
};

extern EsTable es;

// Fills `es` from the platform's source of ES entry points; false, naming the first
// missing call in `error`, when one cannot be found.
bool fillEsTable(const char*& missing);

} // namespace gles
