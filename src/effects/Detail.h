#pragma once
#include <string>

// How finely the cube scene draws its tiles, and the rule that picks each tile's mesh.
//
//   designed  every tile with its designed mesh: the picture as designed;
//   coarse    a tile whose rounding is small on screen with a coarser mesh, chosen by
//             the radius of its rounding projected in real pixels of the screen (so a
//             taller screen draws finer meshes), the nearest tiles first;
//   auto      the live demo: designed while its frames fit, coarse while they do not.
//
// In every mode a tile wholly out of sight is left out, which changes no pixel.
enum class Detail { Designed, Coarse, Auto };

// The one call that selects the detail of the run. Designed until a program selects
// another: pictures made offline are the designed picture.
void selectDetail(Detail detail);
Detail selectedDetail();

// Reads "designed", "coarse" and, where `withAuto`, "auto"; what it takes, for messages.
bool readDetail(const std::string& text, bool withAuto, Detail& out);
const char* detailTakes(bool withAuto);

// Whether the tiles drawn now are coarse: in coarse detail, and in auto while it says so.
bool coarseTiles();

// Times the draw of one frame from its construction to its end, the renderer finished,
// for auto, which then picks the next frame's tiles from it. Inert in the other modes.
class DrawTiming {
public:
    DrawTiming();
    ~DrawTiming();
    DrawTiming(const DrawTiming&) = delete;
    DrawTiming& operator=(const DrawTiming&) = delete;

private:
    double begin = -1; // ms on the steady clock; negative when not timing
};

// Auto's choice from the draw times of the frames it chose for: designed tiles while the
// recent frames fit the budget; coarse when they did not; designed again only after
// holding coarse for a while, and only once the designed draw is estimated well inside
// the budget. The estimate is the coarse draw time scaled by how much slower the
// designed frames were than the coarse ones when it last went coarse.
class AutoDetail {
public:
    static constexpr int recent = 5;           // frames judged together, by their median
    static constexpr double hold = 5000;       // ms spent coarse before trying designed again
    static constexpr double roomToSpare = 0.7; // designed again below this share of the budget

    explicit AutoDetail(double budgetMs) : budget(budgetMs) {}

    bool coarse() const { return isCoarse; }
    // A frame drawn as coarse() said took `drawMs`; `nowMs` is the clock, from any origin.
    void frameDrawn(double drawMs, double nowMs);

private:
    double budget;
    bool isCoarse = false;
    double times[recent] = {};
    int count = 0;          // frames in `times` since the last switch, up to `recent`
    int next = 0;           // where the next time goes
    double designedMs = 0;  // the designed frames' median when it went coarse
    double slower = 0;      // designed over coarse, learnt after the switch; 0 until then
    double coarseSince = 0; // the clock when it went coarse

    void restart();
};

// The budget of the live demo's frames: 60 a second.
constexpr double frameBudgetMs = 1000.0 / 60;

// The scene's view in real pixels of the screen: its perspective, from the one set-up.
struct TileView {
    float tanUp;     // tangent of half the view's angle upwards
    float tanAcross; // the same across: tanUp times the aspect
    float focal;     // pixels a unit spans at distance 1: half the screen's height / tanUp
    float zNear;     // the near plane's distance

    static TileView ofScreen(int width, int height);
};

// The meshes a tile may be drawn with, and the radius of its rounding on screen, in real
// pixels, from which each is used: the designed tile from designedFrom on, else the first
// coarse mesh (finest first) whose threshold the radius reaches.
constexpr int coarseMeshes = 4;
extern const float designedFrom;
extern const float coarseFrom[coarseMeshes];

// What draws a tile centred at `centre` in eye space (looking down -z): hidden when it
// lies wholly out of sight, designedMesh when not `coarse` or where its size on screen
// has no bound (its centre nearer than the near plane), else a coarse mesh by the radius
// of its rounding on screen.
constexpr int hiddenTile = -1;
constexpr int designedMesh = coarseMeshes;
int meshForTile(const TileView& view, const float* centre, bool coarse);

// The coarse mesh (0 to coarseMeshes - 1) for a rounding of `pixels` on screen, or
// designedMesh.
int meshForRounding(float pixels);
