// Draws batches of triangles with the fixed-function state, through programs made for
// each combination of features in use.
#include "gles/Context.h"
#include "gles/Gles.h"
#include "gles/Shaders.h"
#include <cstddef>
#include <cstring>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace gles {

namespace {

GLuint vertexArray = 0;
GLuint stream = 0;        // immediate-mode vertices, refilled for each draw
GLuint windowProgram = 0; // see useWindowProgram
GLuint boundProgram = 0;

GLuint compile(GLenum kind, const std::string& source) {
    const GLuint shader = es.CreateShader(kind);
    const char* text = source.c_str();
    es.ShaderSource(shader, 1, &text, nullptr);
    es.CompileShader(shader);
    GLint ok = 0;
    es.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = "";
        es.GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "a fixed-function shader does not compile:\n%s\n%s\n", log, text);
        std::abort();
    }
    return shader;
}

GLuint link(const std::string& defines, const char* vertex, const char* fragment) {
    const std::string head = "#version 300 es\n" + defines;
    const GLuint program = es.CreateProgram();
    es.AttachShader(program, compile(GL_VERTEX_SHADER, head + vertex));
    es.AttachShader(program, compile(GL_FRAGMENT_SHADER, head + fragment));
    es.BindAttribLocation(program, Position, "a_pos");
    es.BindAttribLocation(program, Normal, "a_normal");
    es.BindAttribLocation(program, Color, "a_color");
    es.BindAttribLocation(program, TexCoord, "a_tex");
    es.LinkProgram(program);
    GLint ok = 0;
    es.GetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = "";
        es.GetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "a fixed-function program does not link:\n%s\n", log);
        std::abort();
    }
    return program;
}

// The uniforms of each program met so far, by the name's address (the names are
// literals, so a look-up costs a few pointer comparisons), with the values last sent:
// a value sent again unchanged would cost the renderer a new upload for each draw.
struct Slot {
    const char* name;
    GLint location;
    int size = 0; // floats held in `last`; 0 until the first value is sent
    float last[16] = {};
};
using Locations = std::vector<Slot>;
Locations* boundLocations = nullptr;

void use(GLuint program) {
    static std::unordered_map<GLuint, Locations> locations;
    if (program != boundProgram) es.UseProgram(program);
    boundProgram = program;
    boundLocations = &locations[program];
}

Slot& slot(const char* name) {
    for (Slot& known : *boundLocations)
        if (known.name == name) return known;
    boundLocations->push_back({name, es.GetUniformLocation(boundProgram, name)});
    return boundLocations->back();
}

// Sends `n` floats (1, 2, 4, a 3x3 or a 4x4 matrix) to the bound program's uniform
// `name` when they differ from those it holds.
void send(const char* name, const float* v, int n) {
    Slot& s = slot(name);
    if (s.size == n && std::memcmp(s.last, v, sizeof(float) * n) == 0) return;
    s.size = n;
    std::memcpy(s.last, v, sizeof(float) * n);
    switch (n) {
    case 1: es.Uniform1f(s.location, v[0]); break;
    case 2: es.Uniform2f(s.location, v[0], v[1]); break;
    case 4: es.Uniform4fv(s.location, 1, v); break;
    case 9: es.UniformMatrix3fv(s.location, 1, GL_FALSE, v); break;
    default: es.UniformMatrix4fv(s.location, 1, GL_FALSE, v); break;
    }
}

// The features of one draw, as bits: what a program is built for.
uint32_t featureKey() {
    const State& s = state();
    uint32_t key = 0;
    if (s.lighting) key |= 1;
    if (s.lighting && s.colorMaterial) key |= 2;
    for (int u = 0; u < 2; ++u) {
        const TextureUnit& unit = s.units[u];
        const auto found = s.textures.find(unit.bound);
        const bool on = unit.enabled && found != s.textures.end() && found->second.complete();
        uint32_t bits = 0;
        if (on) {
            const TextureInfo& t = found->second;
            // Only a linear filter reaches GL_CLAMP's border.
            const bool linear = t.magFilter == GL_LINEAR;
            bits = 1u | (unit.envMode == GL_REPLACE ? 2u : 0u) | (t.alpha ? 4u : 0u) |
                   (linear && t.wrapS == GL_CLAMP ? 8u : 0u) |
                   (linear && t.wrapT == GL_CLAMP ? 16u : 0u);
        }
        if (unit.genS) bits |= 32;
        if (unit.genT) bits |= 64;
        key |= bits << (4 + 8 * u);
    }
    if (s.alphaTest) key |= static_cast<uint32_t>(s.alphaFunc - GL_NEVER + 1) << 20;
    return key;
}

std::string definesFor(uint32_t key) {
    std::string d;
    const auto define = [&d](const std::string& name, const char* value = "") {
        d += "#define " + name + " " + value + "\n";
    };
    if (key & 1) define("LIGHTING");
    if (key & 2) define("COLOR_MATERIAL");
    for (int u = 0; u < 2; ++u) {
        const uint32_t bits = key >> (4 + 8 * u);
        const std::string n = std::to_string(u);
        if (bits & 32) define("GEN" + n + "_S");
        if (bits & 64) define("GEN" + n + "_T");
        if (!(bits & 1)) continue;
        define("TEX" + n);
        define("REPLACE" + n, bits & 2 ? "true" : "false");
        define("ALPHA" + n, bits & 4 ? "true" : "false");
        define("CLAMP" + n + "_S", bits & 8 ? "true" : "false");
        define("CLAMP" + n + "_T", bits & 16 ? "true" : "false");
    }
    static const char* const tests[8] = {"false",
                                         "c.a < u_alphaRef",
                                         "c.a == u_alphaRef",
                                         "c.a <= u_alphaRef",
                                         "c.a > u_alphaRef",
                                         "c.a != u_alphaRef",
                                         "c.a >= u_alphaRef",
                                         "true"};
    if (key >> 20) define("ALPHA_TEST", tests[(key >> 20) - 1]);
    return d;
}

GLuint programFor(uint32_t key) {
    static std::unordered_map<uint32_t, GLuint> programs;
    GLuint& program = programs[key];
    if (!program) {
        program = link(definesFor(key), vertexSource, fragmentSource);
        use(program);
        es.Uniform1i(slot("u_sampler0").location, 0);
        es.Uniform1i(slot("u_sampler1").location, 1);
    }
    return program;
}

void product(const float* a, const float* b, float* out) {
    for (int i = 0; i < 4; ++i)
        out[i] = a[i] * b[i];
}

void setUniforms() {
    const State& s = state();
    const Matrix& mv = s.modelview.top();
    const Matrix mvp = Matrix::product(s.projection.top(), mv);
    float nm[9];
    mv.normalMatrix(nm);
    send("u_mvp", mvp.m, 16);
    send("u_mv", mv.m, 16);
    send("u_nm", nm, 9);
    if (s.lighting) {
        const Material& m = s.front;
        const Light& l = s.light;
        float base[4], ambient[4], diffuse[4], specular[4];
        product(s.sceneAmbient, m.ambient, base);
        for (int i = 0; i < 4; ++i)
            base[i] += m.emission[i];
        product(l.ambient, m.ambient, ambient);
        product(l.diffuse, m.diffuse, diffuse);
        diffuse[3] = m.diffuse[3];
        product(l.specular, m.specular, specular);
        const float light0 = s.light0 ? 1.0f : 0.0f;
        send("u_lightPos", l.position, 4);
        send("u_base", base, 4);
        send("u_ambient", ambient, 4);
        send("u_diffuse", diffuse, 4);
        send("u_specular", specular, 4);
        send("u_emission", m.emission, 4);
        send("u_sceneAmbient", s.sceneAmbient, 4);
        send("u_lightAmbient", l.ambient, 4);
        send("u_lightDiffuse", l.diffuse, 4);
        send("u_shininess", &m.shininess, 1);
        send("u_light0", &light0, 1);
    }
    for (int u = 0; u < 2; ++u) {
        const auto found = s.textures.find(s.units[u].bound);
        if (found == s.textures.end()) continue;
        const float size[2] = {static_cast<float>(found->second.width),
                               static_cast<float>(found->second.height)};
        send(u ? "u_size1" : "u_size0", size, 2);
    }
    send("u_alphaRef", &s.alphaRef, 1);
}

// Vertices from the bound buffer for the attributes in `fromVertices`; the current
// values for the others.
void setAttributes(unsigned fromVertices) {
    const State& s = state();
    struct Source {
        int size;
        size_t offset;
        const float* current;
    };
    const float normal[4] = {s.normal[0], s.normal[1], s.normal[2], 0};
    const float tex[4] = {s.tex[0], s.tex[1], 0, 1};
    const Source sources[attributeCount] = {{4, offsetof(Vertex, pos), nullptr},
                                            {3, offsetof(Vertex, normal), normal},
                                            {4, offsetof(Vertex, color), s.color},
                                            {2, offsetof(Vertex, tex), tex}};
    for (unsigned a = 0; a < attributeCount; ++a) {
        if (fromVertices & (1u << a)) {
            es.EnableVertexAttribArray(a);
            es.VertexAttribPointer(a, sources[a].size, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                   reinterpret_cast<const void*>(sources[a].offset));
        } else {
            es.DisableVertexAttribArray(a);
            es.VertexAttrib4fv(a, sources[a].current);
        }
    }
}

void fill(const Triangles& batch, GLuint buffer) {
    if (!buffer) {
        es.BindBuffer(GL_ARRAY_BUFFER, stream);
        const GLsizeiptr bytes = static_cast<GLsizeiptr>(batch.vertices.size() * sizeof(Vertex));
        es.BufferData(GL_ARRAY_BUFFER, bytes, batch.vertices.data(), GL_STREAM_DRAW);
    } else {
        es.BindBuffer(GL_ARRAY_BUFFER, buffer);
    }
    use(programFor(featureKey()));
    setUniforms();
    setAttributes(batch.fromVertices);
    es.DrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch.vertices.size()));
}

} // namespace

void drawWindowTriangles(const std::vector<Vertex>& vertices) {
    if (vertices.empty()) return;
    es.BindBuffer(GL_ARRAY_BUFFER, stream);
    es.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                  vertices.data(), GL_STREAM_DRAW);
    use(windowProgram);
    setAttributes((1u << Position) | (1u << Color));
    const bool culling = state().cullFace;
    if (culling) es.Disable(GL_CULL_FACE);
    es.DrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
    if (culling) es.Enable(GL_CULL_FACE);
}

void drawTriangles(const Triangles& batch, GLuint buffer) {
    const State& s = state();
    if (s.polygonMode[0] == GL_FILL && s.polygonMode[1] == GL_FILL) return fill(batch, buffer);
    static Triangles filled;
    filled.clear();
    filled.fromVertices = batch.fromVertices;
    outlineTriangles(batch, filled);
    if (!filled.vertices.empty()) fill(filled, 0);
}

bool start(const char*& error) {
    if (!fillEsTable(error)) return false;
    es.GenVertexArrays(1, &vertexArray);
    es.BindVertexArray(vertexArray);
    es.GenBuffers(1, &stream);
    windowProgram = link("", windowVertexSource, windowFragmentSource);
    return true;
}

} // namespace gles
