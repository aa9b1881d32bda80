#include "effects/CubeMeshes.h"
#include "effects/CubeVomDraw.h"
#include "effects/Detail.h"
#include "effects/MeshChoice.h"
#include "engine/Attrib.h"
#include "glpp/Software.h"
#include "platform/Gl.h"
#include "platform/Settings.h"
#include "texture/Texture.h"
#include <algorithm>
#include <cmath>

namespace {

void compile(GLuint list, const cubeMesh::Mesh& mesh) {
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    if (mesh.white) glColor3f(1, 1, 1);
    for (const cubeMesh::Vertex& v : mesh.vertices) {
        glNormal3fv(v.n);
        glVertex3fv(v.p);
    }
    glEnd();
    if (!mesh.triangles.empty()) {
        glBegin(GL_TRIANGLES);
        for (const cubeMesh::Vertex& v : mesh.triangles) {
            glNormal3fv(v.n);
            glVertex3fv(v.p);
        }
        glEnd();
    }
    glEndList();
}

void spin(CubeVom::Placement& place, float w) {
    place.rotate(w / 30, 0, 0, 1);
    place.rotate(w / 20, 0, 1, 0);
    place.rotate(w / 10, 1, 0, 0);
}

// A ring's turn: rings with odd c turn twice as fast.
float ringTurn(int time, int c) { return static_cast<float>(time * ((c & 1) + 1)) / 100.0f; }

} // namespace

CubeVom::CubeVom() : Effect(1) {
    const GLuint base = glGenLists(3);
    tileList = base;
    surfaceList = base + 1;
    sphereList = base + 2;
    compile(tileList, cubeMesh::tile());
    compile(surfaceList, cubeMesh::surface());
    compile(sphereList, cubeMesh::sphere());
    flareTexture = new TextureTga("DATAS\\flare.tga");
    flareTexture->load();
    mapTexture = new TextureTga("DATAS\\map.tga");
    mapTexture->load();
    coarseTileLists = glGenLists(cubeMesh::coarseMeshes);
    for (int level = 0; level < cubeMesh::coarseMeshes; ++level)
        compile(coarseTileLists + level, cubeMesh::coarseTile(level));
}

void CubeVom::configure(const AttribSet* attribs) { readInt(attribs, "method", method); }

void CubeVom::setUpView() {
    glClear(GL_DEPTH_BUFFER_BIT);
    const platform::Settings& s = platform::settings();
    platform::loadPerspective(static_cast<float>(s.width) / static_cast<float>(s.height),
                              nearPlane);
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
    switch (method) {
    case 0:
    case 1:
    case 5:
    case 6:
        tiles(unit1, time);
        break;
    case 3:
        surface(unit1, T);
        break;
    case 4:
        sphere(T);
        break;
    default:
        break; // 2 and anything else: only the depth clear
    }
}

// The tiles placed at `time` as the run's detail draws them: a tile wholly out of sight
// left out, and in coarse detail the repeated ones too and the small ones coarser.
void CubeVom::tiles(Unit1State& unit1, int time) const {
    const Layout l = layout(time);
    unit1.sphereMapOn();
    flareTexture->bind();
    struct Shown {
        const Tile* tile;
        float depth;
        GLuint list;
    };
    static std::vector<Shown> shown; // kept: every frame places as many
    shown.clear();
    const platform::Settings& s = platform::settings();
    const TileView view = TileView::ofScreen(s.width, s.height);
    const bool coarse = coarseTiles();
    const std::vector<Tile> placedTiles = placed(l);
    for (const Tile& t : placedTiles) {
        if (coarse && t.repeat) continue;
        const int mesh = meshForTile(view, t.modelview + 12, coarse);
        if (mesh == hiddenTile) continue;
        const GLuint list = mesh == designedMesh ? tileList : coarseTileLists + mesh;
        shown.push_back({&t, -t.modelview[14], list});
    }
    // Nearest first: the fragments of tiles behind them then fail the depth test before
    // they are shaded. The designed picture keeps the designed order.
    if (coarse)
        std::stable_sort(shown.begin(), shown.end(),
                         [](const Shown& a, const Shown& b) { return a.depth < b.depth; });
    // A software renderer rasterises each row handed over on its own threads while this
    // one transforms and lights the next; in one batch the whole frame's tiles would be
    // set up first and rasterised after.
    const size_t row = static_cast<size_t>(l.columns - (coarse && l.lastRepeats ? 1 : 0));
    // Each tile's modelview is the one its placement computed, GL's own to the bit.
    for (size_t k = 0; k < shown.size(); ++k) {
        glLoadMatrixf(shown[k].tile->modelview);
        glCallList(shown[k].list);
        if ((k + 1) % row == 0) software::handOver();
    }
    glLoadIdentity();
    software::handOver();
    unit1.unit1Off();
}

std::vector<CubeVom::Tile> CubeVom::placements(int time) const { return placed(layout(time)); }

std::vector<CubeVom::Tile> CubeVom::placed(const Layout& l) {
    std::vector<Tile> tiles;
    tiles.reserve(static_cast<size_t>(13 * l.columns));
    for (int c = -6; c <= 6; ++c)
        for (int i = 0; i < l.columns; ++i) {
            Placement where;
            l.place(where, c, i);
            Tile t{c, i, l.lastRepeats && i == l.columns - 1, {}};
            std::copy(where.matrix(), where.matrix() + 16, t.modelview);
            tiles.push_back(t);
        }
    return tiles;
}

CubeVom::Layout CubeVom::layout(int time) const {
    switch (method) {
    case 0:
        return grid(time - start, static_cast<float>(time));
    case 1:
        return rings(time);
    case 5:
        return morph(time, false);
    case 6:
        return morph(time, true);
    default:
        return {};
    }
}

// Method 0: 13 x 13 spinning tiles that twist towards the viewer at the crest of
// every sin^2 wave.
CubeVom::Layout CubeVom::grid(int tl, float T) {
    const float wave = std::sin(static_cast<float>(tl) / 2500.0f);
    const float s = wave * wave;
    const bool twist = s >= 0.5f;
    float q = 0;
    if (twist) {
        const float x = (s - 0.5f) * 2;
        q = std::fmin(12 * ((x * x) * (x * x)), 1.0f);
    }
    return {13, false, [=](Placement& place, int c, int i) {
                const int j = i - 6;
                if (twist) {
                    place.rotate(90 * q, 0, 0, 1);
                    place.translate(0, 0, 10.5f * q);
                }
                place.translate(c, j, -12);
                spin(place, 40.0f * ((c + 7) * (j + 7)) + T);
            }};
}

// Method 1: 13 rings of 31 tiles about the view axis, turning with the clock; the last
// tile of a ring, at 360 degrees, lies on the first.
CubeVom::Layout CubeVom::rings(int time) {
    return {31, true, [=](Placement& place, int c, int i) {
                place.translate(0, 0, -12);
                place.rotate(12 * i + ringTurn(time, c), 0, 1, 0);
                place.translate(0, 0.75f * c, -5);
                place.rotate(90, 1, 0, 0);
            }};
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
        glCallList(surfaceList);
    }
    unit1.unit1Off();
}

// Method 4: the faceted sphere, untextured.
void CubeVom::sphere(float T) {
    glPushMatrix();
    glTranslatef(0, 0, -5);
    glRotatef(T / 20, 0, 1, 0);
    glCallList(sphereList);
    glPopMatrix();
}

// Methods 5 and 6: 13 rows of 31 tiles between the grid and the rings; method 5
// goes from grid to rings over the entry, method 6 back.
CubeVom::Layout CubeVom::morph(int time, bool toGrid) const {
    const float p = static_cast<float>(time - start) / static_cast<float>(duration);
    const float e = std::sin(p * 3.1415f * 0.5f);
    const float m = toGrid ? 1 - e : e;
    const float T = static_cast<float>(time);
    return {31, false, [=](Placement& place, int c, int i) {
                const int j = i - 6;
                place.translate((1 - m) * j, (1 - m) * c, -12);
                place.rotate(m * (12 * i + ringTurn(time, c)), 0, 1, 0);
                place.translate(0, 0.75f * m * c, -5 * m);
                const float G = (40.0f * ((c + 7) * (j + 7)) + T) * (1 - m);
                place.rotate(G / 30, 0, 0, 1);
                place.rotate(G / 20, 0, 1, 0);
                place.rotate(G / 10 + 90 * m, 1, 0, 0);
            }};
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
