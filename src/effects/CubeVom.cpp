#include "effects/CubeVom.h"
#include "engine/Attrib.h"
#include "platform/Gl.h"
#include "platform/Settings.h"
#include "texture/Texture.h"
#include <cmath>

namespace {

void compile(GLuint list, const CubeVom::Mesh& mesh) {
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    if (mesh.white) glColor3f(1, 1, 1);
    for (const CubeVom::Vertex& v : mesh.vertices) {
        glNormal3fv(v.n);
        glVertex3fv(v.p);
    }
    glEnd();
    if (!mesh.triangles.empty()) {
        glBegin(GL_TRIANGLES);
        for (const CubeVom::Vertex& v : mesh.triangles) {
            glNormal3fv(v.n);
            glVertex3fv(v.p);
        }
        glEnd();
    }
    glEndList();
}

void spin(float w) {
    glRotatef(w / 30, 0, 0, 1);
    glRotatef(w / 20, 0, 1, 0);
    glRotatef(w / 10, 1, 0, 0);
}

// A ring's turn: rings with odd c turn twice as fast.
float ringTurn(int time, int c) { return static_cast<float>(time * ((c & 1) + 1)) / 100.0f; }

// The tile's rounding radius, and the radius of the sphere that holds the tile.
constexpr float roundingRadius = 0.06f;
const float tileReach = std::sqrt(0.375f * 0.375f * 2 + 0.075f * 0.075f);
// tan(45 / 2): the scene's perspective.
constexpr float halfViewTan = 0.41421356f;

} // namespace

CubeVom::Observer CubeVom::observer = nullptr;
bool CubeVom::exact = false;
// Chosen with velmora-bench --fidelity against the designed tile, frame by frame over the
// whole show at both sizes: the coarser the mesh, the smaller the tile must be on screen
// for the picture to stay within a few levels of the designed one.
const float CubeVom::coarseFrom[coarseLevels] = {5.0f, 4.0f, 2.5f, 0.0f};
const float CubeVom::designedFrom = 8.0f;

CubeVom::CubeVom() : Effect(1) {
    const GLuint base = glGenLists(3);
    tileList = base;
    surfaceList = base + 1;
    sphereList = base + 2;
    compile(tileList, tileMesh());
    compile(surfaceList, surfaceMesh());
    compile(sphereList, sphereMesh());
    flareTexture = new TextureTga("DATAS\\flare.tga");
    flareTexture->load();
    mapTexture = new TextureTga("DATAS\\map.tga");
    mapTexture->load();
    coarseTileLists = glGenLists(coarseLevels);
    for (int level = 0; level < coarseLevels; ++level)
        compile(coarseTileLists + level, coarseTileMesh(level));
}

void CubeVom::configure(const AttribSet* attribs) { readInt(attribs, "method", method); }

void CubeVom::setUpView() {
    glClear(GL_DEPTH_BUFFER_BIT);
    const platform::Settings& s = platform::settings();
    platform::loadPerspective(static_cast<float>(s.width) / static_cast<float>(s.height), 1);
}

void CubeVom::setUpLight() {
    static const GLfloat position[] = {0, 0, 10, 1};
    static const GLfloat colour[] = {0.87f, 0.91f, 0.88f, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, colour);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
}

void CubeVom::draw(int time) {
    setUpView();
    Ctx ctx;
    setUpLight();
    Unit1State unit1;
    const float T = static_cast<float>(time);
    const int tl = time - start;
    switch (method) {
    case 0:
        grid(unit1, tl, T);
        break;
    case 1:
        rings(unit1, time);
        break;
    case 3:
        surface(unit1, T);
        break;
    case 4:
        sphere(T);
        break;
    case 5:
        morph(unit1, time, false);
        break;
    case 6:
        morph(unit1, time, true);
        break;
    default:
        break; // 2 and anything else: only the depth clear
    }
}

void CubeVom::place(GLuint list) const {
    if (observer) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        observer(list, m);
        return;
    }
    glCallList(list);
}

GLuint CubeVom::tileFor(float pixels) const {
    if (pixels >= designedFrom) return tileList;
    for (int level = 0; level < coarseLevels; ++level)
        if (pixels >= coarseFrom[level]) return coarseTileLists + level;
    return coarseTileLists + coarseLevels - 1;
}

bool CubeVom::designedOnly() const { return exact || observer; }

void CubeVom::tile() const {
    if (designedOnly()) {
        place(tileList);
        return;
    }
    // The tile's centre in eye space: the scene turns and moves tiles but never scales them.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float x = m[12], y = m[13], depth = -m[14];
    const platform::Settings& s = platform::settings();
    const float tanX = halfViewTan * static_cast<float>(s.width) / static_cast<float>(s.height);
    // Out of sight: wholly nearer than the near plane (at 1) or beyond a side of the view.
    if (depth < 1 - tileReach) return;
    if (std::fabs(x) - tanX * depth > tileReach * std::sqrt(1 + tanX * tanX)) return;
    if (std::fabs(y) - halfViewTan * depth > tileReach * std::sqrt(1 + halfViewTan * halfViewTan))
        return;
    // Across the near plane its size on screen has no bound: the designed tile.
    if (depth < 1) {
        glCallList(tileList);
        return;
    }
    const float focal = 300 / halfViewTan; // half a 600-line screen, in pixels
    glCallList(tileFor(roundingRadius * focal / depth));
}

// Hands the tiles drawn so far to the renderer. A software renderer then rasterises
// them on its own threads while this one transforms and lights the next; in one batch
// the whole frame's tiles would be set up first and rasterised after. An observed draw
// has handed nothing to it.
void CubeVom::handOver() const {
    if (!observer) glFlush();
}

// Method 0: 13 x 13 spinning tiles that twist towards the viewer at the crest of
// every sin^2 wave.
void CubeVom::grid(Unit1State& unit1, int tl, float T) {
    unit1.sphereMapOn();
    flareTexture->bind();
    const float wave = std::sin(static_cast<float>(tl) / 2500.0f);
    const float s = wave * wave;
    const bool twist = s >= 0.5f;
    float q = 0;
    if (twist) {
        const float x = (s - 0.5f) * 2;
        q = std::fmin(12 * ((x * x) * (x * x)), 1.0f);
    }
    for (int c = -6; c <= 6; ++c) {
        for (int j = -6; j <= 6; ++j) {
            glPushMatrix();
            if (twist) {
                glRotatef(90 * q, 0, 0, 1);
                glTranslatef(0, 0, 10.5f * q);
            }
            glTranslatef(c, j, -12);
            spin(40.0f * ((c + 7) * (j + 7)) + T);
            tile();
            glPopMatrix();
        }
        handOver();
    }
    unit1.unit1Off();
}

// Method 1: 13 rings of 31 tiles about the view axis, turning with the clock.
void CubeVom::rings(Unit1State& unit1, int time) {
    unit1.sphereMapOn();
    flareTexture->bind();
    for (int c = -6; c <= 6; ++c) {
        const float g = ringTurn(time, c);
        for (int i = 0; i <= 30; ++i) {
            // The last tile, at 360 degrees, lies on the first: only the designed scene
            // draws it twice.
            if (i == 30 && !designedOnly()) break;
            glPushMatrix();
            glTranslatef(0, 0, -12);
            glRotatef(12 * i + g, 0, 1, 0);
            glTranslatef(0, 0.75f * c, -5);
            glRotatef(90, 1, 0, 0);
            tile();
            glPopMatrix();
        }
        handOver();
    }
    unit1.unit1Off();
}

// Method 3: the lobed surface, both sides shown. Its transforms stay on the
// modelview matrix.
void CubeVom::surface(Unit1State& unit1, float T) {
    unit1.sphereMapOn();
    glTranslatef(0, 0, -12);
    glRotatef(T / 20, 0.25f, 1, 0.5f);
    flareTexture->bind();
    {
        GLPP::glppDisable<GL_CULL_FACE> bothSides;
        place(surfaceList);
    }
    unit1.unit1Off();
}

// Method 4: the faceted sphere, untextured.
void CubeVom::sphere(float T) {
    glPushMatrix();
    glTranslatef(0, 0, -5);
    glRotatef(T / 20, 0, 1, 0);
    place(sphereList);
    glPopMatrix();
}

// Methods 5 and 6: 13 rows of 31 tiles between the grid and the rings; method 5
// goes from grid to rings over the entry, method 6 back.
void CubeVom::morph(Unit1State& unit1, int time, bool toGrid) {
    unit1.sphereMapOn();
    flareTexture->bind();
    const float p = static_cast<float>(time - start) / static_cast<float>(duration);
    const float e = std::sin(p * 3.1415f * 0.5f);
    const float m = toGrid ? 1 - e : e;
    const float T = static_cast<float>(time);
    for (int c = -6; c <= 6; ++c) {
        const float g = ringTurn(time, c);
        for (int i = 0; i <= 30; ++i) {
            const int j = i - 6;
            glPushMatrix();
            glTranslatef((1 - m) * j, (1 - m) * c, -12);
            glRotatef(m * (12 * i + g), 0, 1, 0);
            glTranslatef(0, 0.75f * m * c, -5 * m);
            const float G = (40.0f * ((c + 7) * (j + 7)) + T) * (1 - m);
            glRotatef(G / 30, 0, 0, 1);
            glRotatef(G / 20, 0, 1, 0);
            glRotatef(G / 10 + 90 * m, 1, 0, 0);
            tile();
            glPopMatrix();
        }
        handOver();
    }
    unit1.unit1Off();
}

Unit1State::Unit1State() : savedUnit(GL_TEXTURE0_ARB) {
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &savedUnit);
    platform::activeTexture(GL_TEXTURE1_ARB);
    texture2D = new GLPP::glppSwitch<GL_TEXTURE_2D>;
    texGenS = new GLPP::glppSwitch<GL_TEXTURE_GEN_S>;
    texGenT = new GLPP::glppSwitch<GL_TEXTURE_GEN_T>;
    if (savedUnit != GL_TEXTURE1_ARB) platform::activeTexture(static_cast<GLenum>(savedUnit));
}

// Unit 0 is active when the guards are deleted, so the states recorded on unit 1
// are written to unit 0.
Unit1State::~Unit1State() {
    unit1Off();
    delete texGenS;
    delete texGenT;
    delete texture2D;
}

void Unit1State::sphereMapOn() {
    platform::activeTexture(GL_TEXTURE1_ARB);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
}

void Unit1State::unit1Off() {
    platform::activeTexture(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    platform::activeTexture(GL_TEXTURE0_ARB);
}
