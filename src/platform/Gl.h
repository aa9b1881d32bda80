#pragma once
#include <GL/gl.h>
#include <GL/glext.h>
#include <string>

// The GL entry points looked up at run time, and the small GL recipes that every
// layer above shares.
namespace platform {

// The program-wide glActiveTextureARB entry point, looked up at its first use.
// Null when the driver does not offer GL_ARB_multitexture.
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARBPtr;

// The address of the current GL's entry point `name`, or null: SDL's look-up on the
// system's GL, our own on GL over ES.
void* glProcAddress(const char* name);

// Whether a GL context is current.
bool glContextCurrent();

// Makes texture unit `unit` (GL_TEXTURE0_ARB + n) active; skipped without the extension.
void activeTexture(GLenum unit);

// True when the current context's extension string names `name` exactly.
bool hasGlExtension(const char* name);

// Linear filtering both ways and `wrap` (GL_CLAMP or GL_REPEAT) on both axes, for the
// texture bound to GL_TEXTURE_2D: every texture of the program is made this way.
void setTextureParameters(GLint wrap);

// Whether the current context can draw the settings' screen: its screen textures and
// viewport within the driver's limits, and memory for a screen texture. False with a
// reason that names the size.
bool glHoldsScreen(std::string& error);

// The field of view of every 3D scene upwards, in degrees.
constexpr double viewAngle = 45.0;

// The projection of a 3D scene: viewAngle upwards, `aspect` across, from `zNear` to
// 100 units; the modelview identity and current afterwards.
void loadPerspective(double aspect, double zNear);

} // namespace platform
