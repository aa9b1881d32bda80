#pragma once
#include "gles/Es.h"
#include "gles/Matrix.h"
#include <cstdint>
#include <map>
#include <vector>

// The GL 1.x state this library keeps itself: everything the fixed-function pipeline
// reads and ES 3.0 does not hold, and a mirror of what it does hold, so queries answer
// as GL would without asking ES.
namespace gles {

// Stops the program with a message naming the call and the value it cannot honour:
// drawing something else instead would pass unseen.
[[noreturn]] void unsupported(const char* call, unsigned value);

struct Vertex {
    float pos[4];
    float normal[3];
    float color[4];
    float tex[2];
};

enum Attribute { Position, Normal, Color, TexCoord, attributeCount };
constexpr unsigned allAttributes = (1u << attributeCount) - 1;

// A batch of triangles, polygons already split, with the polygon edges GL would outline
// in line mode (bit i of edges[k]: the edge from corner i of triangle k to the next).
struct Triangles {
    std::vector<Vertex> vertices;
    std::vector<uint8_t> edges;
    unsigned fromVertices = allAttributes; // the attributes the vertices carry; others are current
    void clear() {
        vertices.clear();
        edges.clear();
        fromVertices = allAttributes;
    }
};

struct TextureInfo {
    int width = 0, height = 0;
    bool image = false;
    bool alpha = true; // a base format with alpha (GL_RGBA)
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR, magFilter = GL_LINEAR;
    GLint wrapS = GL_REPEAT, wrapT = GL_REPEAT;
    // An image of width x height was given, with alpha when its base format is GL_RGBA.
    void holdImage(GLsizei w, GLsizei h, GLint baseFormat) {
        width = w;
        height = h;
        image = w > 0 && h > 0;
        alpha = baseFormat == GL_RGBA;
    }
    bool complete() const {
        return image && width > 0 && height > 0 &&
               (minFilter == GL_NEAREST || minFilter == GL_LINEAR);
    }
};

struct TextureUnit {
    bool enabled = false; // GL_TEXTURE_2D
    bool genS = false, genT = false;
    GLint genModeS = GL_EYE_LINEAR, genModeT = GL_EYE_LINEAR;
    GLint envMode = GL_MODULATE;
    GLuint bound = 0;
};

struct Light {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {1, 1, 1, 1};
    float specular[4] = {1, 1, 1, 1};
    float position[4] = {0, 0, 1, 0}; // in eye coordinates
};

struct Material {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    float specular[4] = {0, 0, 0, 1};
    float emission[4] = {0, 0, 0, 1};
    float shininess = 0;
};

struct State {
    // Capabilities only this library acts on.
    bool lighting = false, light0 = false, colorMaterial = false, alphaTest = false;
    // Capabilities ES acts on, mirrored.
    bool depthTest = false, cullFace = false, blend = false, scissorTest = false;

    GLint cullFaceMode = GL_BACK, depthFunc = GL_LESS;
    GLint polygonMode[2] = {GL_FILL, GL_FILL}; // front, back
    GLint blendSrc = GL_ONE, blendDst = GL_ZERO;
    GLint alphaFunc = GL_ALWAYS;
    float alphaRef = 0;
    float lineWidth = 1;
    GLint viewport[4] = {0, 0, 0, 0};
    GLint scissor[4] = {0, 0, 0, 0};
    bool depthMask = true;
    bool colorMask[4] = {true, true, true, true};
    float clearColor[4] = {0, 0, 0, 0};
    GLint packAlignment = 4, unpackAlignment = 4;

    // Current vertex attributes.
    float color[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float tex[2] = {0, 0};

    Light light;
    Material front, back;
    float sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1};

    GLenum matrixMode = GL_MODELVIEW;
    MatrixStack modelview{32}, projection{32};

    int activeUnit = 0;
    TextureUnit units[2];
    std::map<GLuint, TextureInfo> textures;

    GLenum error = GL_NO_ERROR; // this library's own error, reported before ES's
};

State& state();
void setError(GLenum error);

// The texture bound to the active unit.
TextureInfo& boundTexture();

// Draws triangles with the whole fixed-function state: filled through the ES pipeline,
// or outlined on the CPU where a polygon mode asks for lines. `buffer` holds the same
// vertices on the ES side (0: upload them now).
void drawTriangles(const Triangles& batch, GLuint buffer);

// Draws the edges of the triangles of `batch` that the polygon modes outline as lines of
// the current width (Lines.cpp), and gathers those they fill in `filled`.
void outlineTriangles(const Triangles& batch, Triangles& filled);

// Draws triangles given in normalised device coordinates with their colours alone,
// never culled: the wide lines.
void drawWindowTriangles(const std::vector<Vertex>& vertices);

} // namespace gles
