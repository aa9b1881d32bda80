// Immediate mode, display lists and GLUT's cube: all become batches of triangles.
#include "gles/Context.h"
#include "gles/Lists.h"
#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

using namespace gles;

namespace {

// What a list replays, in order.
struct Op {
    enum Kind { Draw, Translate, Rotate, Scale, Push, Pop } kind;
    float v[4];
    std::shared_ptr<Triangles> batch; // Draw
    GLuint buffer = 0;                // Draw: the batch on the ES side
};

struct List {
    std::vector<Op> ops;
    unsigned sets = 0;   // the current attributes the list leaves changed
    Vertex last{};       // and their values
};

struct Recorder {
    bool inside = false; // between glBegin and glEnd
    GLenum mode = 0;
    std::vector<Vertex> primitive;
    Triangles immediate;

    GLuint compiling = 0; // the list being compiled, 0 for none
    List list;
    std::shared_ptr<Triangles> batch; // the list's draw being gathered
    unsigned touched = 0; // attributes the list being compiled has set so far
    Vertex saved{};       // the current attributes before the compile began

    std::map<GLuint, List> lists;
    GLuint nextList = 1;
    GLuint listBase = 0;
};

Recorder& rec() {
    static Recorder r;
    return r;
}

void currentInto(Vertex& v) {
    const State& s = state();
    std::memcpy(v.normal, s.normal, sizeof v.normal);
    std::memcpy(v.color, s.color, sizeof v.color);
    std::memcpy(v.tex, s.tex, sizeof v.tex);
}

void restoreCurrent(const Vertex& v, unsigned which) {
    State& s = state();
    if (which & (1u << Normal)) std::memcpy(s.normal, v.normal, sizeof v.normal);
    if (which & (1u << Color)) std::memcpy(s.color, v.color, sizeof v.color);
    if (which & (1u << TexCoord)) std::memcpy(s.tex, v.tex, sizeof v.tex);
}

void endBatch() {
    Recorder& r = rec();
    if (!r.batch || r.batch->vertices.empty()) return;
    Op op{Op::Draw, {0, 0, 0, 0}, r.batch, 0};
    r.list.ops.push_back(op);
    r.batch.reset();
}

// Splits the primitive into triangles, the quad's diagonal no edge of the polygon. GL's
// software renderer splits a quad drawn at once into (0, 1, 2) and (0, 2, 3), one from a
// display list into (0, 1, 3) and (1, 2, 3): the colours and texture coordinates of a
// quad whose corners differ follow the diagonal, so each is split as it would be.
void addPrimitive(Triangles& out, const std::vector<Vertex>& p, GLenum mode, bool listed) {
    const size_t n = mode == GL_QUADS ? 4 : 3;
    for (size_t i = 0; i + n <= p.size(); i += n) {
        if (n == 3) {
            out.vertices.insert(out.vertices.end(), p.begin() + i, p.begin() + i + 3);
            out.edges.push_back(7);
            continue;
        }
        if (listed) {
            for (size_t k : {i, i + 1, i + 3, i + 1, i + 2, i + 3})
                out.vertices.push_back(p[k]);
            out.edges.push_back(1 | 4);
            out.edges.push_back(1 | 2);
            continue;
        }
        for (size_t k : {i, i + 1, i + 2, i, i + 2, i + 3})
            out.vertices.push_back(p[k]);
        out.edges.push_back(1 | 2);
        out.edges.push_back(2 | 4);
    }
}

void vertex(float x, float y, float z) {
    Recorder& r = rec();
    if (!r.inside) return setError(GL_INVALID_OPERATION);
    Vertex v{};
    v.pos[0] = x, v.pos[1] = y, v.pos[2] = z, v.pos[3] = 1;
    currentInto(v);
    r.primitive.push_back(v);
}

void replay(GLuint name);

bool recording(Op::Kind kind, float a = 0, float b = 0, float c = 0, float d = 0) {
    Recorder& r = rec();
    if (!r.compiling) return false;
    endBatch();
    Op op{kind, {a, b, c, d}, nullptr, 0};
    r.list.ops.push_back(op);
    return true;
}

} // namespace

namespace gles {

bool recordTranslate(float x, float y, float z) { return recording(Op::Translate, x, y, z); }
bool recordRotate(float a, float x, float y, float z) { return recording(Op::Rotate, a, x, y, z); }
bool recordScale(float x, float y, float z) { return recording(Op::Scale, x, y, z); }
bool recordPush() { return recording(Op::Push); }
bool recordPop() { return recording(Op::Pop); }
void noteAttribute(Attribute a) { rec().touched |= 1u << a; }

void refuseInList(const char* call) {
    if (!rec().compiling) return;
    std::fprintf(stderr,
                 "%s inside glNewList(%u): this GL on ES records only geometry, current "
                 "attributes and transforms in display lists\n",
                 call, rec().compiling);
    std::abort();
}

} // namespace gles

void GLAPIENTRY glBegin(GLenum mode) {
    Recorder& r = rec();
    if (mode != GL_QUADS && mode != GL_TRIANGLES) unsupported("glBegin", mode);
    if (r.inside) return setError(GL_INVALID_OPERATION);
    r.inside = true;
    r.mode = mode;
    r.primitive.clear();
}

void GLAPIENTRY glEnd() {
    Recorder& r = rec();
    if (!r.inside) return setError(GL_INVALID_OPERATION);
    r.inside = false;
    if (!r.compiling) {
        r.immediate.clear();
        addPrimitive(r.immediate, r.primitive, r.mode, false);
        if (!r.immediate.vertices.empty()) drawTriangles(r.immediate, 0);
        return;
    }
    // In a list, a vertex carries the attributes the list had set by then; the others
    // are read when the list runs. A change of those starts a new draw.
    const unsigned carried = r.touched | (1u << Position);
    if (r.batch && r.batch->fromVertices != carried) endBatch();
    if (!r.batch) {
        r.batch = std::make_shared<Triangles>();
        r.batch->fromVertices = carried;
    }
    addPrimitive(*r.batch, r.primitive, r.mode, true);
}

void GLAPIENTRY glVertex2f(GLfloat x, GLfloat y) { vertex(x, y, 0); }
void GLAPIENTRY glVertex2i(GLint x, GLint y) {
    vertex(static_cast<float>(x), static_cast<float>(y), 0);
}
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { vertex(x, y, z); }
void GLAPIENTRY glVertex3fv(const GLfloat* v) { vertex(v[0], v[1], v[2]); }

GLuint GLAPIENTRY glGenLists(GLsizei range) {
    Recorder& r = rec();
    if (range <= 0) return 0;
    const GLuint first = r.nextList;
    r.nextList += static_cast<GLuint>(range);
    return first;
}

void GLAPIENTRY glNewList(GLuint list, GLenum mode) {
    Recorder& r = rec();
    if (mode != GL_COMPILE) unsupported("glNewList", mode);
    if (list == 0 || r.compiling || r.inside) return setError(GL_INVALID_OPERATION);
    r.compiling = list;
    r.list = List();
    r.batch.reset();
    r.touched = 0;
    currentInto(r.saved);
}

void GLAPIENTRY glEndList() {
    Recorder& r = rec();
    if (!r.compiling || r.inside) return setError(GL_INVALID_OPERATION);
    endBatch();
    for (Op& op : r.list.ops) {
        if (op.kind != Op::Draw) continue;
        es.GenBuffers(1, &op.buffer);
        es.BindBuffer(GL_ARRAY_BUFFER, op.buffer);
        es.BufferData(GL_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(op.batch->vertices.size() * sizeof(Vertex)),
                      op.batch->vertices.data(), GL_STATIC_DRAW);
    }
    // Compiling executes nothing: the current attributes are as before it.
    r.list.sets = r.touched;
    currentInto(r.list.last);
    restoreCurrent(r.saved, allAttributes);
    r.lists[r.compiling] = std::move(r.list);
    r.compiling = 0;
}

namespace {

void replay(GLuint name) {
    Recorder& r = rec();
    const auto found = r.lists.find(name);
    if (found == r.lists.end()) return;
    const List& list = found->second;
    for (const Op& op : list.ops) {
        switch (op.kind) {
        case Op::Draw: drawTriangles(*op.batch, op.buffer); break;
        case Op::Translate: glTranslatef(op.v[0], op.v[1], op.v[2]); break;
        case Op::Rotate: glRotatef(op.v[0], op.v[1], op.v[2], op.v[3]); break;
        case Op::Scale: glScalef(op.v[0], op.v[1], op.v[2]); break;
        case Op::Push: glPushMatrix(); break;
        case Op::Pop: glPopMatrix(); break;
        }
    }
    restoreCurrent(list.last, list.sets);
}

} // namespace

void GLAPIENTRY glCallList(GLuint list) {
    if (rec().compiling) unsupported("glCallList inside glNewList", list);
    replay(list);
}

void GLAPIENTRY glListBase(GLuint base) { rec().listBase = base; }

void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    for (GLsizei i = 0; i < n; ++i) {
        GLuint offset = 0;
        switch (type) {
        case GL_BYTE: offset = static_cast<GLuint>(static_cast<const GLbyte*>(lists)[i]); break;
        case GL_UNSIGNED_BYTE: offset = static_cast<const GLubyte*>(lists)[i]; break;
        case GL_INT: offset = static_cast<GLuint>(static_cast<const GLint*>(lists)[i]); break;
        case GL_UNSIGNED_INT: offset = static_cast<const GLuint*>(lists)[i]; break;
        default: unsupported("glCallLists", type);
        }
        glCallList(rec().listBase + offset);
    }
}

void GLAPIENTRY glDeleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i)
        rec().lists.erase(list + static_cast<GLuint>(i));
}

// GLUT's solid cube: twelve triangles, two a face from the face's first corner, so that
// in line mode each face shows its diagonal as GLUT's own does.
void glutSolidCube(double size) {
    static const float corners[6][4][3] = {
        {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},
        {{1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}},
        {{1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}},
        {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}},
        {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
        {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}};
    static const float normals[6][3] = {{0, 0, 1},  {1, 0, 0},  {0, 1, 0},
                                        {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
    Triangles cube;
    cube.fromVertices = (1u << Position) | (1u << Normal);
    const float half = static_cast<float>(size) * 0.5f;
    for (int f = 0; f < 6; ++f)
        for (int k : {0, 1, 2, 0, 2, 3}) {
            Vertex v{};
            currentInto(v);
            for (int i = 0; i < 3; ++i) {
                v.pos[i] = corners[f][k][i] * half;
                v.normal[i] = normals[f][i];
            }
            v.pos[3] = 1;
            cube.vertices.push_back(v);
        }
    cube.edges.assign(12, 7);
    drawTriangles(cube, 0);
}
