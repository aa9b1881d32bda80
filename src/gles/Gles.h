#pragma once

// The GL 1.x, GLU and GLUT subset that the show draws with, implemented on OpenGL ES 3.0.
// Its entry points are the GL ones (<GL/gl.h>, <GL/glu.h>, <GL/glut.h> declare them); a
// program links this library instead of the system's GL. An enum or mode outside the
// subset stops the program with a message naming the call and the value.
namespace gles {

// Once an ES 3.0 context is current: finds the ES calls and makes the library's buffers
// and shaders. False with a reason.
bool start(const char*& error);

// The library's own entry point of that name (glActiveTextureARB, the framebuffer-object
// calls, ...), as a driver's proc-address look-up answers; null for others.
void* procAddress(const char* name);

} // namespace gles
