#pragma once
#include <string>
#include <GL/gl.h>
#include <cstdint>
#include <vector>

namespace platform {

// A framebuffer object of an exact size (colour and depth) that stands in for the
// window when the window's drawable is not the show's screen size.
class Offscreen {
public:
    Offscreen() = default;
    ~Offscreen();
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    // Needs a current GL context with framebuffer objects; false when unavailable.
    bool create(int width, int height);
    // On the current context: the settings' screen made as this target and drawn into,
    // with the scene's viewport. False with a reason when the GL cannot hold it.
    bool openScreen(std::string& error);
    void release();
    bool valid() const { return fbo != 0; }

    void bind() const;        // draw and read into this target
    static void bindWindow(); // back to the window's own framebuffer

    // Copies the picture onto the window's framebuffer of drawW x drawH pixels,
    // scaled with its aspect kept and black bars around it.
    void present(int drawW, int drawH) const;

    int width = 0;
    int height = 0;

private:
    GLuint fbo = 0;
    GLuint colour = 0;
    GLuint depth = 0;
};

// Reads the bound framebuffer's lower-left w x h pixels as 8-bit RGB, top row first.
std::vector<uint8_t> readRgbTopDown(int w, int h);

} // namespace platform
