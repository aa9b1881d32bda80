#pragma once
#include "engine/Effect.h"
#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

// GL checks share one real context (Mesa under Xvfb) per test executable, opened before
// the first test. Each test starts from GL's state as the context had it, drawing into
// an offscreen screen of the show's size.
class GlTest : public ::testing::Test {
public:
    using Rgba = std::array<int, 4>;

protected:
    void SetUp() override;
    void TearDown() override;

    // Switches to the 800x600 (big) or 640x480 settings and their screen.
    void open(bool big);

    static Rgba pixel(int x, int y); // x, y from the lower left
    static void fill(float r, float g, float b);
    static GLenum glError() { return glGetError(); }
    static std::vector<uint8_t> frame(); // RGB, top row first, the whole screen
};

inline bool glOn(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
inline GLint glInteger(GLenum pname) {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(pname, v);
    return v[0];
}
std::ostream& operator<<(std::ostream& os, const GlTest::Rgba& p);

// The GL state that draws change, by name, and the names whose values differ.
using GlState = std::map<std::string, std::vector<double>>;
GlState glState();
std::vector<std::string> changed(const GlState& before, const GlState& after);
// A starting state for a draw: everything at GL's defaults (false) or everything that
// the state record holds switched on or set off its default (true).
void startState(bool on);

// A plain effect for transitions: fills a rectangle of its viewport with one colour in
// its own state, and records the viewport and the timing it was drawn with.
struct Paint : Effect {
    float r, g, b;
    float x0 = -1, y0 = -1, x1 = 1, y1 = 1;
    bool scribble = false; // leaves a tiny viewport behind
    std::string drawn;     // "x y w h start+duration@time;" per draw
    bool textured = false; // whether GL_TEXTURE_2D was on when it drew
    Paint(float red, float green, float blue) : Effect(0), r(red), g(green), b(blue) {}
    void draw(int time) override;
};

// The polygons a draw sends to the rasteriser, each as its window (x, y, z) points.
using Polygons = std::vector<std::vector<std::array<float, 3>>>;
Polygons feedback(const std::function<void()>& draw);
