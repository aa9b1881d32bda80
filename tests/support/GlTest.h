#pragma once
#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Opens the offscreen GL context of app/Headless.h for a test, riding out a
// connection the shared X server refuses for a moment.
bool openTestContext(bool big, std::string& error);

// A real GL context (Mesa under Xvfb) drawing into an offscreen screen of the
// chosen settings' size, opened afresh for every test.
class GlTest : public ::testing::Test {
public:
    using Rgba = std::array<int, 4>;

protected:
    void SetUp() override { open(true); }
    void TearDown() override;

    // Re-opens the context for the 800x600 (big) or 640x480 settings.
    void open(bool big);

    static Rgba pixel(int x, int y); // x, y from the lower left
    static void fill(float r, float g, float b);
    static GLenum glError() { return glGetError(); }
};

// Whether a capability is enabled, and one integer of GL state, for checks.
inline bool glOn(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
inline GLint glInteger(GLenum pname) {
    GLint v = 0;
    glGetIntegerv(pname, &v);
    return v;
}

// Prints an RGBA pixel in failure messages.
std::ostream& operator<<(std::ostream& os, const GlTest::Rgba& p);
