#pragma once
#include "engine/Effect.h"
#include <GL/gl.h>
#include <functional>
#include <vector>

class TextureTga;
class Unit1State;

// The cube scene: rounded tiles, a lobed surface or a sphere, lit and turning, most
// variants with the flare image sphere-mapped on texture unit 1. "method" picks one
// of seven variants.
class CubeVom : public Effect {
public:
    // Lighting scope of one draw (CubeVomDraw.h).
    class Ctx;

    // The scene's near plane, in units ahead of the viewer.
    static constexpr float nearPlane = 1.0f;

    // A tile that a variant places, as designed: its row c (-6 to 6) and column i, and the
    // modelview matrix it is drawn under, from the identity (column-major, as GL).
    struct Tile {
        int c, i;
        bool repeat; // lies exactly on another tile: only the designed picture draws it
        float modelview[16];
    };

    int method = 0;
    GLuint tileList = 0;
    GLuint surfaceList = 0; // tileList + 1
    GLuint sphereList = 0;  // tileList + 2
    TextureTga* flareTexture = nullptr;
    TextureTga* mapTexture = nullptr; // loaded, but no variant draws with it
    GLuint coarseTileLists = 0;       // cubeMesh::coarseMeshes consecutive lists, finest first

    // Compiles the seven lists and loads "DATAS\flare.tga" and "DATAS\map.tga".
    // Needs a current GL context.
    CubeVom();

    void draw(int time) override;
    void configure(const AttribSet* attribs) override;

    // Every tile that the variant in force places at `time`, in the designed order, found
    // without GL from the method, start and duration the entry handed over; none for the
    // variants without tiles. The draw leaves out what cannot be seen and may draw small
    // tiles coarser; the tools hold it against all of them.
    std::vector<Tile> placements(int time) const;

    // The bare reference the tools hold the scene against: in the scene's own view, the
    // designed tile under each of `tiles`' matrices, lit, sphere-mapped with the flare on
    // unit 1 and back faces culled as the scene draws it, but placed by loading its
    // matrix instead of the scene's pushes, transforms and pops.
    void drawDesignedTiles(const std::vector<Tile>& tiles) const;

    // The point of the lobed surface for parameters (u, v).
    static void surfacePoint(float u, float v, float* x, float* y, float* z);

    // Puts a tile in its place, on GL's matrix and on its own (CubeVomDraw.h).
    class Placement;

private:
    // The transforms that put the tile of row c (-6 to 6) and column i in its place.
    using PlaceTile = std::function<void(Placement& place, int c, int i)>;
    // A tile variant's arrangement at one moment: 13 rows of `columns` tiles.
    struct Layout {
        int columns = 0;          // none: the variant has no tiles
        bool lastRepeats = false; // each row's last tile lies on its first
        PlaceTile place;
    };

    // The scene's own view: depth cleared, its perspective, an identity modelview.
    static void setUpView();
    // The light and material, set under the identity modelview (the light sits 10
    // units behind the viewer). Lighting itself is switched on by Ctx.
    static void setUpLight();

    Layout layout(int time) const;
    // Every tile of `l`, in the designed order.
    static std::vector<Tile> placed(const Layout& l);
    // The tile variants' arrangements; T is the timeline time as a float, tl the time
    // into the entry.
    static Layout grid(int tl, float T);
    static Layout rings(int time);
    Layout morph(int time, bool toGrid) const;

    // The tiles of `l`, flare-mapped, each with the mesh the detail policy gives it,
    // handed to the renderer a row's worth at a time.
    void tiles(Unit1State& unit1, int time) const;
    void surface(Unit1State& unit1, float T);
    void sphere(float T);
};
