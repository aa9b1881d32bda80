#pragma once
#include <GL/gl.h>

// Scoped OpenGL state: each guard reads the current value once, sets the wanted one
// only when it differs, and on destruction undoes only what it changed. Bundles of
// state for one pass derive from several guards.
namespace GLPP {

template <GLenum cap> class glppEnable {
public:
    glppEnable() : saved(glIsEnabled(cap)) {
        if (!saved) glEnable(cap);
    }
    virtual ~glppEnable() {
        if (!saved) glDisable(cap);
    }
    glppEnable(const glppEnable&) = delete;
    glppEnable& operator=(const glppEnable&) = delete;

private:
    bool saved;
};

template <GLenum cap> class glppDisable {
public:
    glppDisable() : saved(glIsEnabled(cap)) {
        if (saved) glDisable(cap);
    }
    virtual ~glppDisable() {
        if (saved) glEnable(cap);
    }
    glppDisable(const glppDisable&) = delete;
    glppDisable& operator=(const glppDisable&) = delete;

private:
    bool saved;
};

// Save-only: the scope may change `cap` freely; the destructor always writes it back.
template <GLenum cap> class glppSwitch {
public:
    glppSwitch() : saved(glIsEnabled(cap)) {}
    virtual ~glppSwitch() {
        if (saved)
            glEnable(cap);
        else
            glDisable(cap);
    }
    glppSwitch(const glppSwitch&) = delete;
    glppSwitch& operator=(const glppSwitch&) = delete;

private:
    bool saved;
};

template <GLenum face> class glppCullFace {
public:
    glppCullFace() {
        glGetIntegerv(GL_CULL_FACE_MODE, &saved);
        if (saved != static_cast<GLint>(face)) glCullFace(face);
    }
    virtual ~glppCullFace() {
        if (saved != static_cast<GLint>(face)) glCullFace(static_cast<GLenum>(saved));
    }
    glppCullFace(const glppCullFace&) = delete;
    glppCullFace& operator=(const glppCullFace&) = delete;

private:
    GLint saved;
};

template <GLenum func> class glppDepthFunc {
public:
    glppDepthFunc() {
        glGetIntegerv(GL_DEPTH_FUNC, &saved);
        if (saved != static_cast<GLint>(func)) glDepthFunc(func);
    }
    virtual ~glppDepthFunc() {
        if (saved != static_cast<GLint>(func)) glDepthFunc(static_cast<GLenum>(saved));
    }
    glppDepthFunc(const glppDepthFunc&) = delete;
    glppDepthFunc& operator=(const glppDepthFunc&) = delete;

private:
    GLint saved;
};

// Touches only the mode of its own face (front or back).
template <GLenum face> class glppPolygonMode {
public:
    static constexpr int index = face == GL_FRONT ? 0 : 1;

    explicit glppPolygonMode(GLenum wanted) : mode(static_cast<GLint>(wanted)) {
        glGetIntegerv(GL_POLYGON_MODE, saved);
        if (saved[index] != mode) glPolygonMode(face, wanted);
    }
    virtual ~glppPolygonMode() {
        if (saved[index] != mode) glPolygonMode(face, static_cast<GLenum>(saved[index]));
    }
    glppPolygonMode(const glppPolygonMode&) = delete;
    glppPolygonMode& operator=(const glppPolygonMode&) = delete;

private:
    GLint saved[2];
    GLint mode;
};

// Always sets and always restores.
class glppColorf {
public:
    glppColorf(float r, float g, float b, float a) {
        glGetFloatv(GL_CURRENT_COLOR, saved);
        glColor4f(r, g, b, a);
    }
    virtual ~glppColorf() { glColor4fv(saved); }
    glppColorf(const glppColorf&) = delete;
    glppColorf& operator=(const glppColorf&) = delete;

private:
    GLfloat saved[4];
};

class glppLineWidth {
public:
    explicit glppLineWidth(float wanted) : width(wanted) {
        glGetFloatv(GL_LINE_WIDTH, &saved);
        if (saved != width) glLineWidth(width);
    }
    virtual ~glppLineWidth() {
        if (width != saved) glLineWidth(saved);
    }
    glppLineWidth(const glppLineWidth&) = delete;
    glppLineWidth& operator=(const glppLineWidth&) = delete;

private:
    GLfloat saved;
    GLfloat width;
};

// Always sets and always restores.
class glppViewport {
public:
    glppViewport(int x, int y, int w, int h) {
        glGetIntegerv(GL_VIEWPORT, saved);
        glViewport(x, y, w, h);
    }
    virtual ~glppViewport() { glViewport(saved[0], saved[1], saved[2], saved[3]); }
    glppViewport(const glppViewport&) = delete;
    glppViewport& operator=(const glppViewport&) = delete;

private:
    GLint saved[4];
};

// Always sets and always restores, as glppViewport; the test itself is switched by
// glppEnable<GL_SCISSOR_TEST>.
class glppScissor {
public:
    glppScissor(int x, int y, int w, int h) {
        glGetIntegerv(GL_SCISSOR_BOX, saved);
        glScissor(x, y, w, h);
    }
    virtual ~glppScissor() { glScissor(saved[0], saved[1], saved[2], saved[3]); }
    glppScissor(const glppScissor&) = delete;
    glppScissor& operator=(const glppScissor&) = delete;

private:
    GLint saved[4];
};

} // namespace GLPP
