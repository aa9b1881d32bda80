// The state entry points: capabilities, values, queries and the current attributes.
#include "gles/Context.h"
#include "gles/Gles.h"
#include "gles/Lists.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace gles {

EsTable es;

void unsupported(const char* call, unsigned value) {
    std::fprintf(stderr, "%s(0x%04X): outside the GL subset this GL on ES implements\n", call,
                 value);
    std::abort();
}

State& state() {
    static State s;
    return s;
}

void setError(GLenum error) {
    if (state().error == GL_NO_ERROR) state().error = error;
}

TextureInfo& boundTexture() {
    State& s = state();
    return s.textures[s.units[s.activeUnit].bound];
}

namespace {

// The flag behind a capability, and whether ES acts on it too.
bool* capability(GLenum cap, const char* call, bool& onEs) {
    State& s = state();
    TextureUnit& unit = s.units[s.activeUnit];
    onEs = false;
    switch (cap) {
    case GL_LIGHTING: return &s.lighting;
    case GL_LIGHT0: return &s.light0;
    case GL_COLOR_MATERIAL: return &s.colorMaterial;
    case GL_ALPHA_TEST: return &s.alphaTest;
    case GL_TEXTURE_2D: return &unit.enabled;
    case GL_TEXTURE_GEN_S: return &unit.genS;
    case GL_TEXTURE_GEN_T: return &unit.genT;
    default: break;
    }
    onEs = true;
    switch (cap) {
    case GL_DEPTH_TEST: return &s.depthTest;
    case GL_CULL_FACE: return &s.cullFace;
    case GL_BLEND: return &s.blend;
    case GL_SCISSOR_TEST: return &s.scissorTest;
    default: unsupported(call, cap);
    }
}

void setCapability(GLenum cap, bool on, const char* call) {
    refuseInList(call);
    bool onEs = false;
    bool* flag = capability(cap, call, onEs);
    State& s = state();
    // Leaving colour material, the material keeps the colour it last tracked.
    if (cap == GL_COLOR_MATERIAL && *flag && !on)
        for (Material* m : {&s.front, &s.back}) {
            std::memcpy(m->ambient, s.color, sizeof s.color);
            std::memcpy(m->diffuse, s.color, sizeof s.color);
        }
    *flag = on;
    if (onEs) (on ? es.Enable : es.Disable)(cap);
}

void copy4(float* to, const GLfloat* from) { std::memcpy(to, from, 4 * sizeof(float)); }

} // namespace

} // namespace gles

using namespace gles;

void GLAPIENTRY glEnable(GLenum cap) { setCapability(cap, true, "glEnable"); }
void GLAPIENTRY glDisable(GLenum cap) { setCapability(cap, false, "glDisable"); }
GLboolean GLAPIENTRY glIsEnabled(GLenum cap) {
    bool onEs = false;
    return *capability(cap, "glIsEnabled", onEs) ? GL_TRUE : GL_FALSE;
}

void GLAPIENTRY glCullFace(GLenum mode) {
    refuseInList("glCullFace");
    if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK)
        unsupported("glCullFace", mode);
    state().cullFaceMode = static_cast<GLint>(mode);
    es.CullFace(mode);
}

void GLAPIENTRY glDepthFunc(GLenum func) {
    refuseInList("glDepthFunc");
    if (func < GL_NEVER || func > GL_ALWAYS) unsupported("glDepthFunc", func);
    state().depthFunc = static_cast<GLint>(func);
    es.DepthFunc(func);
}

void GLAPIENTRY glAlphaFunc(GLenum func, GLclampf ref) {
    refuseInList("glAlphaFunc");
    if (func < GL_NEVER || func > GL_ALWAYS) unsupported("glAlphaFunc", func);
    state().alphaFunc = static_cast<GLint>(func);
    state().alphaRef = ref < 0 ? 0 : ref > 1 ? 1 : ref;
}

void GLAPIENTRY glPolygonMode(GLenum face, GLenum mode) {
    refuseInList("glPolygonMode");
    if (mode != GL_FILL && mode != GL_LINE) unsupported("glPolygonMode", mode);
    State& s = state();
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) s.polygonMode[0] = static_cast<GLint>(mode);
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) s.polygonMode[1] = static_cast<GLint>(mode);
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)
        unsupported("glPolygonMode", face);
}

void GLAPIENTRY glLineWidth(GLfloat width) {
    refuseInList("glLineWidth");
    if (width <= 0) return setError(GL_INVALID_VALUE);
    state().lineWidth = width;
}

void GLAPIENTRY glBlendFunc(GLenum sfactor, GLenum dfactor) {
    refuseInList("glBlendFunc");
    state().blendSrc = static_cast<GLint>(sfactor);
    state().blendDst = static_cast<GLint>(dfactor);
    es.BlendFunc(sfactor, dfactor);
}

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    refuseInList("glViewport");
    if (width < 0 || height < 0) return setError(GL_INVALID_VALUE);
    GLint* v = state().viewport;
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
    es.Viewport(x, y, width, height);
}

void GLAPIENTRY glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    refuseInList("glScissor");
    if (width < 0 || height < 0) return setError(GL_INVALID_VALUE);
    GLint* v = state().scissor;
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
    es.Scissor(x, y, width, height);
}

void GLAPIENTRY glDepthMask(GLboolean flag) {
    refuseInList("glDepthMask");
    state().depthMask = flag;
    es.DepthMask(flag);
}

void GLAPIENTRY glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    refuseInList("glColorMask");
    bool* m = state().colorMask;
    m[0] = r, m[1] = g, m[2] = b, m[3] = a;
    es.ColorMask(r, g, b, a);
}

void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    refuseInList("glClearColor");
    float* c = state().clearColor;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    es.ClearColor(r, g, b, a);
}

void GLAPIENTRY glClearDepth(GLclampd depth) { es.ClearDepthf(static_cast<float>(depth)); }
void GLAPIENTRY glClear(GLbitfield mask) {
    refuseInList("glClear");
    if (mask & ~(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) unsupported("glClear", mask);
    es.Clear(mask);
}
void GLAPIENTRY glFlush() { es.Flush(); }
// GL's finish returns once every command has run, but WebGL's may return at once. No
// renderer can hand back a pixel before drawing it: reading one makes the wait real.
void GLAPIENTRY glFinish() {
    GLubyte pixel[4];
    es.ReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

GLenum GLAPIENTRY glGetError() {
    State& s = state();
    const GLenum own = s.error;
    s.error = GL_NO_ERROR;
    return own != GL_NO_ERROR ? own : es.GetError();
}

void GLAPIENTRY glPixelStorei(GLenum pname, GLint param) {
    refuseInList("glPixelStorei");
    if (pname == GL_PACK_ALIGNMENT)
        state().packAlignment = param;
    else if (pname == GL_UNPACK_ALIGNMENT)
        state().unpackAlignment = param;
    else
        unsupported("glPixelStorei", pname);
    es.PixelStorei(pname, param);
}

void GLAPIENTRY glGetIntegerv(GLenum pname, GLint* params) {
    State& s = state();
    switch (pname) {
    case GL_VIEWPORT: std::memcpy(params, s.viewport, sizeof s.viewport); return;
    case GL_SCISSOR_BOX: std::memcpy(params, s.scissor, sizeof s.scissor); return;
    case GL_CULL_FACE_MODE: *params = s.cullFaceMode; return;
    case GL_DEPTH_FUNC: *params = s.depthFunc; return;
    case GL_POLYGON_MODE: params[0] = s.polygonMode[0], params[1] = s.polygonMode[1]; return;
    case GL_BLEND_SRC: *params = s.blendSrc; return;
    case GL_BLEND_DST: *params = s.blendDst; return;
    case GL_ALPHA_TEST_FUNC: *params = s.alphaFunc; return;
    case GL_ACTIVE_TEXTURE: *params = GL_TEXTURE0 + s.activeUnit; return;
    case GL_TEXTURE_BINDING_2D: *params = static_cast<GLint>(s.units[s.activeUnit].bound); return;
    case GL_MATRIX_MODE: *params = static_cast<GLint>(s.matrixMode); return;
    case GL_MODELVIEW_STACK_DEPTH: *params = s.modelview.depth(); return;
    case GL_PROJECTION_STACK_DEPTH: *params = s.projection.depth(); return;
    case GL_PACK_ALIGNMENT: *params = s.packAlignment; return;
    case GL_UNPACK_ALIGNMENT: *params = s.unpackAlignment; return;
    case GL_DEPTH_WRITEMASK: *params = s.depthMask; return;
    case GL_MAX_TEXTURE_UNITS: *params = 2; return;
    case GL_MAX_TEXTURE_SIZE:
    case GL_MAX_VIEWPORT_DIMS: es.GetIntegerv(pname, params); return;
    default: unsupported("glGetIntegerv", pname);
    }
}

void GLAPIENTRY glGetFloatv(GLenum pname, GLfloat* params) {
    State& s = state();
    switch (pname) {
    case GL_CURRENT_COLOR: copy4(params, s.color); return;
    case GL_CURRENT_NORMAL: std::memcpy(params, s.normal, sizeof s.normal); return;
    case GL_CURRENT_TEXTURE_COORDS:
        params[0] = s.tex[0], params[1] = s.tex[1], params[2] = 0, params[3] = 1;
        return;
    case GL_COLOR_CLEAR_VALUE: copy4(params, s.clearColor); return;
    case GL_LINE_WIDTH: *params = s.lineWidth; return;
    case GL_ALPHA_TEST_REF: *params = s.alphaRef; return;
    case GL_MODELVIEW_MATRIX: std::memcpy(params, s.modelview.top().m, 64); return;
    case GL_PROJECTION_MATRIX: std::memcpy(params, s.projection.top().m, 64); return;
    default: break;
    }
    GLint ints[4] = {0, 0, 0, 0};
    glGetIntegerv(pname, ints);
    for (int i = 0; i < (pname == GL_VIEWPORT || pname == GL_SCISSOR_BOX ? 4 : 1); ++i)
        params[i] = static_cast<float>(ints[i]);
}

const GLubyte* GLAPIENTRY glGetString(GLenum name) {
    static const char extensions[] =
        "GL_ARB_multitexture GL_EXT_framebuffer_object GL_EXT_framebuffer_blit";
    static const char version[] = "1.3 (the fixed-function subset of a demo, on OpenGL ES 3.0)";
    switch (name) {
    case GL_EXTENSIONS: return reinterpret_cast<const GLubyte*>(extensions);
    case GL_VERSION: return reinterpret_cast<const GLubyte*>(version);
    case GL_VENDOR:
    case GL_RENDERER: return es.GetString(name); // the renderer chooses the software tuning
    default: unsupported("glGetString", name);
    }
}

// Current attributes.
void GLAPIENTRY glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    float* c = state().color;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    noteAttribute(Color);
}
void GLAPIENTRY glColor3f(GLfloat r, GLfloat g, GLfloat b) { glColor4f(r, g, b, 1); }
void GLAPIENTRY glColor4fv(const GLfloat* v) { glColor4f(v[0], v[1], v[2], v[3]); }
void GLAPIENTRY glColor3fv(const GLfloat* v) { glColor4f(v[0], v[1], v[2], 1); }
void GLAPIENTRY glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    float* n = state().normal;
    n[0] = x, n[1] = y, n[2] = z;
    noteAttribute(Normal);
}
void GLAPIENTRY glNormal3fv(const GLfloat* v) { glNormal3f(v[0], v[1], v[2]); }
void GLAPIENTRY glTexCoord2f(GLfloat s, GLfloat t) {
    state().tex[0] = s;
    state().tex[1] = t;
    noteAttribute(TexCoord);
}

// Lighting: the one light and the material.
void GLAPIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    refuseInList("glLightfv");
    if (light != GL_LIGHT0) unsupported("glLightfv", light);
    Light& l = state().light;
    switch (pname) {
    case GL_AMBIENT: copy4(l.ambient, params); return;
    case GL_DIFFUSE: copy4(l.diffuse, params); return;
    case GL_SPECULAR: copy4(l.specular, params); return;
    case GL_POSITION: state().modelview.top().apply(params, l.position); return;
    default: unsupported("glLightfv", pname);
    }
}

void GLAPIENTRY glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    refuseInList("glMaterialfv");
    State& s = state();
    for (int side = 0; side < 2; ++side) {
        const GLenum which = side ? GL_BACK : GL_FRONT;
        if (face != which && face != GL_FRONT_AND_BACK) continue;
        Material& m = side ? s.back : s.front;
        switch (pname) {
        case GL_AMBIENT: copy4(m.ambient, params); break;
        case GL_DIFFUSE: copy4(m.diffuse, params); break;
        case GL_AMBIENT_AND_DIFFUSE: copy4(m.ambient, params), copy4(m.diffuse, params); break;
        case GL_SPECULAR: copy4(m.specular, params); break;
        case GL_EMISSION: copy4(m.emission, params); break;
        case GL_SHININESS: m.shininess = params[0]; break;
        default: unsupported("glMaterialfv", pname);
        }
    }
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)
        unsupported("glMaterialfv", face);
}

// Texture environment and coordinate generation, per unit.
void GLAPIENTRY glActiveTextureARB(GLenum unit) {
    refuseInList("glActiveTextureARB");
    if (unit != GL_TEXTURE0 && unit != GL_TEXTURE1) unsupported("glActiveTextureARB", unit);
    state().activeUnit = static_cast<int>(unit - GL_TEXTURE0);
    es.ActiveTexture(unit);
}
void GLAPIENTRY glActiveTexture(GLenum unit) { glActiveTextureARB(unit); }

void GLAPIENTRY glTexEnvi(GLenum target, GLenum pname, GLint param) {
    refuseInList("glTexEnvi");
    if (target != GL_TEXTURE_ENV) unsupported("glTexEnvi", target);
    if (pname != GL_TEXTURE_ENV_MODE) unsupported("glTexEnvi", pname);
    if (param != GL_MODULATE && param != GL_REPLACE)
        unsupported("glTexEnvi", static_cast<unsigned>(param));
    state().units[state().activeUnit].envMode = param;
}
void GLAPIENTRY glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
    glTexEnvi(target, pname, static_cast<GLint>(param));
}

void GLAPIENTRY glTexGeni(GLenum coord, GLenum pname, GLint param) {
    refuseInList("glTexGeni");
    if (pname != GL_TEXTURE_GEN_MODE) unsupported("glTexGeni", pname);
    if (param != GL_SPHERE_MAP) unsupported("glTexGeni", static_cast<unsigned>(param));
    TextureUnit& u = state().units[state().activeUnit];
    if (coord == GL_S)
        u.genModeS = param;
    else if (coord == GL_T)
        u.genModeT = param;
    else
        unsupported("glTexGeni", coord);
}
