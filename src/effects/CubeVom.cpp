#include "effects/CubeVom.h"
#include "effects/Detail.h"
#include "engine/Attrib.h"
#include "glpp/Software.h"
#include "platform/Gl.h"
#include "platform/Settings.h"
#include "texture/Texture.h"
#include <algorithm>
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

void spin(CubeVom::Placement& place, float w) {
    place.rotate(w / 30, 0, 0, 1);
    place.rotate(w / 20, 0, 1, 0);
    place.rotate(w / 10, 1, 0, 0);
}

// A ring's turn: rings with odd c turn twice as fast.
float ringTurn(int time, int c) { return static_cast<float>(time * ((c & 1) + 1)) / 100.0f; }

} // namespace

CubeVom::Observer CubeVom::observer = nullptr;

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
    coarseTileLists = glGenLists(coarseMeshes);
    for (int level = 0; level < coarseMeshes; ++level)
        compile(coarseTileLists + level, coarseTileMesh(level));
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

void CubeVom::drawList(GLuint list) const {
    if (observer) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        observer(list, m);
        return;
    }
    glCallList(list);
}

void CubeVom::placeTile(const PlaceTile& place, int c, int i, GLuint list) const {
    glPushMatrix();
    Placement gl(true);
    place(gl, c, i);
    drawList(list);
    glPopMatrix();
}

void CubeVom::observeTiles(int columns, const PlaceTile& place) const {
    for (int c = -6; c <= 6; ++c)
        for (int i = 0; i < columns; ++i)
            placeTile(place, c, i, tileList);
}

void CubeVom::tiles(int columns, const PlaceTile& place) const {
    if (observer) {
        observeTiles(columns, place);
        return;
    }
    struct Tile {
        int c, i;
        float depth;
        GLuint list;
    };
    static std::vector<Tile> shown; // kept: every frame places as many
    shown.clear();
    const platform::Settings& s = platform::settings();
    const TileView view = TileView::ofScreen(s.width, s.height);
    const bool coarse = coarseTiles();
    for (int c = -6; c <= 6; ++c)
        for (int i = 0; i < columns; ++i) {
            Placement where(false);
            place(where, c, i);
            const int mesh = meshForTile(view, where.centre(), coarse);
            if (mesh == hiddenTile) continue;
            const GLuint list = mesh == designedMesh ? tileList : coarseTileLists + mesh;
            shown.push_back({c, i, -where.centre()[2], list});
        }
    // Nearest first: the fragments of tiles behind them then fail the depth test before
    // they are shaded. The designed picture keeps the designed order.
    if (coarse)
        std::stable_sort(shown.begin(), shown.end(),
                         [](const Tile& a, const Tile& b) { return a.depth < b.depth; });
    // A software renderer rasterises each row handed over on its own threads while this
    // one transforms and lights the next; in one batch the whole frame's tiles would be
    // set up first and rasterised after.
    for (size_t k = 0; k < shown.size(); ++k) {
        placeTile(place, shown[k].c, shown[k].i, shown[k].list);
        if ((k + 1) % columns == 0) software::handOver();
    }
    software::handOver();
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
    tiles(13, [&](Placement& place, int c, int i) {
        const int j = i - 6;
        if (twist) {
            place.rotate(90 * q, 0, 0, 1);
            place.translate(0, 0, 10.5f * q);
        }
        place.translate(c, j, -12);
        spin(place, 40.0f * ((c + 7) * (j + 7)) + T);
    });
    unit1.unit1Off();
}

// Method 1: 13 rings of 31 tiles about the view axis, turning with the clock.
void CubeVom::rings(Unit1State& unit1, int time) {
    unit1.sphereMapOn();
    flareTexture->bind();
    // The last tile, at 360 degrees, lies on the first: only the designed scene draws it.
    const int columns = coarseTiles() && !observer ? 30 : 31;
    tiles(columns, [&](Placement& place, int c, int i) {
        place.translate(0, 0, -12);
        place.rotate(12 * i + ringTurn(time, c), 0, 1, 0);
        place.translate(0, 0.75f * c, -5);
        place.rotate(90, 1, 0, 0);
    });
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
        drawList(surfaceList);
    }
    unit1.unit1Off();
}

// Method 4: the faceted sphere, untextured.
void CubeVom::sphere(float T) {
    glPushMatrix();
    glTranslatef(0, 0, -5);
    glRotatef(T / 20, 0, 1, 0);
    drawList(sphereList);
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
    tiles(31, [&](Placement& place, int c, int i) {
        const int j = i - 6;
        place.translate((1 - m) * j, (1 - m) * c, -12);
        place.rotate(m * (12 * i + ringTurn(time, c)), 0, 1, 0);
        place.translate(0, 0.75f * m * c, -5 * m);
        const float G = (40.0f * ((c + 7) * (j + 7)) + T) * (1 - m);
        place.rotate(G / 30, 0, 0, 1);
        place.rotate(G / 20, 0, 1, 0);
        place.rotate(G / 10 + 90 * m, 1, 0, 0);
    });
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
