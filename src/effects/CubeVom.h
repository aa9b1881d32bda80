#pragma once
#include "engine/Effect.h"
#include "glpp/Guards.h"
#include <GL/gl.h>
#include <cstddef>
#include <functional>
#include <vector>

class TextureTga;
class Unit1State;

// The cube scene: rounded tiles, a lobed surface or a sphere, lit and turning, most
// variants with the flare image sphere-mapped on texture unit 1. "method" picks one
// of seven variants.
class CubeVom : public Effect {
public:
    // One vertex of a mesh as the display list emits it.
    struct Vertex {
        float p[3]; // position
        float n[3]; // normal
    };
    // Quads, four vertices each in emission order, then triangles.
    struct Mesh {
        std::vector<Vertex> vertices;
        std::vector<Vertex> triangles; // three vertices each; none in the designed meshes
        bool white = false;            // the list sets the colour to white
        std::size_t quads() const { return vertices.size() / 4; }
    };

    // Lighting scope of one draw.
    class Ctx : public GLPP::glppEnable<GL_DEPTH_TEST>,
                public GLPP::glppEnable<GL_LIGHTING>,
                public GLPP::glppEnable<GL_LIGHT0>,
                public GLPP::glppEnable<GL_CULL_FACE> {
    public:
        Ctx() = default;
        ~Ctx() override = default;
    };

    // Sees every mesh that a draw places instead of the renderer: called with the list
    // (tileList, surfaceList or sphereList) and the modelview matrix it would be drawn
    // under, read back from GL. While it is set the draw neither draws nor flushes, and
    // places every tile as designed, in the designed order. The benchmark's bare reference
    // is built on it.
    using Observer = void (*)(GLuint list, const GLfloat* modelview);
    static Observer observer;

    // The rounded tile: an inner box whose edges and corners are rounded by tileRounding
    // to these outer half-extents.
    static constexpr float tileRounding = 0.06f;
    static constexpr float tileHalfWidth = 0.375f;  // x and z
    static constexpr float tileHalfHeight = 0.075f; // y
    // The scene's near plane, in units ahead of the viewer.
    static constexpr float nearPlane = 1.0f;

    // Puts one tile in its place: every transform goes to GL, when asked, and onto a
    // copy of the modelview matrix kept here, whose last column is then the tile's centre
    // in eye space. The scene places its tiles from the identity.
    class Placement {
    public:
        explicit Placement(bool toGl) : gl(toGl) {}
        void translate(float x, float y, float z);
        void rotate(float degrees, float x, float y, float z);
        const float* centre() const { return m + 12; }

    private:
        bool gl;
        float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // column-major, as GL
    };

    int method = 0;
    GLuint tileList = 0;
    GLuint surfaceList = 0; // tileList + 1
    GLuint sphereList = 0;  // tileList + 2
    TextureTga* flareTexture = nullptr;
    TextureTga* mapTexture = nullptr; // loaded, but no variant draws with it
    GLuint coarseTileLists = 0;       // coarseMeshes consecutive lists, finest first

    // Compiles the seven lists and loads "DATAS\flare.tga" and "DATAS\map.tga".
    // Needs a current GL context.
    CubeVom();

    void draw(int time) override;
    void configure(const AttribSet* attribs) override;

    // Whether `list`, as the observer sees it, is the tile.
    bool isTile(GLuint list) const { return list == tileList; }
    // The bare reference the tools hold the scene against: in the scene's own view, the
    // designed tile under each of `modelviews` (as the observer saw them), lit,
    // sphere-mapped with the flare on unit 1 and back faces culled as the scene draws it,
    // but placed by loading its matrix instead of the scene's pushes, transforms and pops.
    void drawDesignedTiles(const std::vector<const GLfloat*>& modelviews) const;

    // The scene's own view: depth cleared, its perspective, an identity modelview.
    static void setUpView();
    // The light and material, set under the identity modelview (the light sits 10
    // units behind the viewer). Lighting itself is switched on by Ctx.
    static void setUpLight();

    // The meshes, built without GL.
    static Mesh tileMesh(); // 614 quads
    // Coarse tile `level` (0 to coarseMeshes - 1), finest first.
    static Mesh coarseTileMesh(int level);
    // The tile with the vertices of its rounded quarter circles at the given angles
    // (degrees, from 0 to 90, rising) with their true normals, and its corners patched
    // with a few triangles that meet the edges point for point.
    static Mesh coarseTileMesh(const std::vector<float>& quarter);
    static Mesh surfaceMesh(); // 1681 quads
    static Mesh sphereMesh();  // 512 quads
    // The point of the lobed surface for parameters (u, v).
    static void surfacePoint(float u, float v, float* x, float* y, float* z);
    // Unit normal of the quad's plane from V0, V1 and V3; a fixed unit normal where
    // the quad is degenerate.
    static void flatNormal(const float* v0, const float* v1, const float* v3, float* n);

private:
    // The transforms that put the tile of row c (-6 to 6) and column i in its place.
    using PlaceTile = std::function<void(Placement& place, int c, int i)>;

    // glCallList of one of the lists, or its report to the observer.
    void drawList(GLuint list) const;
    // The tile of row c and column i put in its place by `place` and drawn with `list`.
    void placeTile(const PlaceTile& place, int c, int i, GLuint list) const;
    // The 13 rows of `columns` tiles that `place` puts, each with the mesh the detail
    // policy gives it, handed to the renderer a row's worth at a time.
    void tiles(int columns, const PlaceTile& place) const;
    // The same for the observer: every tile, as designed.
    void observeTiles(int columns, const PlaceTile& place) const;

    // The variants; T is the timeline time as a float, tl the time into the entry.
    void grid(Unit1State& unit1, int tl, float T);
    void rings(Unit1State& unit1, int time);
    void surface(Unit1State& unit1, float T);
    void sphere(float T);
    void morph(Unit1State& unit1, int time, bool toGrid);
};

// The state of texture unit 1 over one draw. Its destructor turns unit 1's texturing
// off, makes unit 0 active and then writes back the states it recorded on unit 1,
// which therefore land on unit 0.
class Unit1State {
public:
    Unit1State();
    ~Unit1State();
    Unit1State(const Unit1State&) = delete;
    Unit1State& operator=(const Unit1State&) = delete;

    // Sphere-mapped texturing on unit 1, which stays active.
    void sphereMapOn();
    // Unit 1 texturing and generation off, then unit 0 active.
    void unit1Off();

    GLint savedUnit;
    GLPP::glppSwitch<GL_TEXTURE_2D>* texture2D;
    GLPP::glppSwitch<GL_TEXTURE_GEN_S>* texGenS;
    GLPP::glppSwitch<GL_TEXTURE_GEN_T>* texGenT;
};
