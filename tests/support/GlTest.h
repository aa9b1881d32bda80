#pragma once
#include "engine/Effect.h"
#include <GL/gl.h>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

// GL checks share one real context (Mesa under Xvfb) per test executable, opened before
// the first test. Each test starts from the state the context had, drawing into an
// offscreen screen of the show's size.
class GlTest : public ::testing::Test {
public:
    using Rgba = std::array<int, 4>;

protected:
    void SetUp() override;
    void TearDown() override;
    void open(bool big);             // the 800x600 (big) or the 640x480 settings and screen
    static Rgba pixel(int x, int y); // from the lower left
    static void fill(float r, float g, float b);
    static GLenum glError() { return glGetError(); }
    static std::vector<uint8_t> frame(); // RGB, top row first
};

inline bool glOn(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
inline GLint glInteger(GLenum pname) {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(pname, v);
    return v[0];
}

// The GL state that draws change, by name ("... 1" for texture unit 1), the names whose
// values differ, and two starting states: GL's defaults, or everything in the record on
// or away from its default.
using GlState = std::map<std::string, std::vector<double>>;
GlState glState();
std::vector<std::string> changed(const GlState& before, const GlState& after);
void startState(bool on);

// A plain entry: fills a rectangle of its viewport with its colour in a state of its own,
// and notes "x y w h start+duration@time;" of every draw.
struct Paint : Effect {
    float r, g, b, x0 = -1, y0 = -1, x1 = 1, y1 = 1;
    bool scribble = false; // leaves a tiny viewport behind
    bool textured = false; // GL_TEXTURE_2D was on when it drew
    std::string drawn;
    Paint(float red, float green, float blue) : Effect(0), r(red), g(green), b(blue) {}
    void draw(int time) override;
};

// The window (x, y, z) points of the polygons a draw sends to the rasteriser.
std::vector<std::vector<std::array<float, 3>>> feedback(const std::function<void()>& draw);
