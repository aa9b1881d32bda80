#pragma once
#include <GL/gl.h>
#include <GL/glext.h>

// The program-wide glActiveTextureARB entry point, looked up at its first use.
// Null when the driver does not offer GL_ARB_multitexture.
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARBPtr;

// Makes texture unit `unit` (GL_TEXTURE0_ARB + n) active; skipped without the extension.
void activeTexture(GLenum unit);

// True when the current context's extension string names `name` exactly.
bool hasGlExtension(const char* name);
