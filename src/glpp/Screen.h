#pragma once
#include <GL/gl.h>
#include <cstdint>
#include <vector>

namespace GLPP {

// A 2D projection for screen-space quads. Both matrix stacks are pushed and popped;
// the matrix mode is GL_MODELVIEW afterwards. An empty range gives the identity.
class glppOrtho2D {
public:
    glppOrtho2D(float left, float right, float bottom, float top);
    virtual ~glppOrtho2D();
    glppOrtho2D(const glppOrtho2D&) = delete;
    glppOrtho2D& operator=(const glppOrtho2D&) = delete;
};

} // namespace GLPP

// The one recipe for textures the screen is copied into: `count` names of w x h
// RGBA texels, linear filters, clamped, no data. Leaves the unpack alignment at 1.
void makeScreenTextures(GLuint* names, int count, int w, int h);

// One screen texture of the settings' capture size.
GLuint makeScreenTexture();

// Copies the lower-left width x height pixels of the frame into `name` at texel
// (0, 0). GL_TEXTURE_2D must be enabled by the caller.
void captureScreen(GLuint name);

// The texture coordinates that address the captured region of a screen texture.
struct ScreenExtent {
    float sMax; // width / texWidth
    float tMax; // height / texHeight
};
ScreenExtent screenExtent();

// The four corners of a textured quad, counter-clockwise from the lower left, with
// texture (0, 0)..(s, t); for use inside glBegin(GL_QUADS).
void quadCorners(float x0, float y0, float x1, float y1, float s, float t);

// A box of pixels or texels, bounds included.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool empty() const { return x1 < x0 || y1 < y0; }
};

// How a textured quad over the window meets its texture: the pixel centred at window
// coordinate P samples texel coordinate scale * P + offset on each axis (texel i spans
// i to i + 1).
struct TexelMap {
    double scaleX, offsetX;
    double scaleY, offsetY;
};

// The window pixels (of a width x height window) where such a quad, linearly filtered,
// samples any texel of `lit`: everywhere else it samples zero texels only, and adds
// nothing. Generous by a pixel or two for rounding.
PixelBox reachOf(const PixelBox& lit, const TexelMap& map, int width, int height);

// Fond's 256 x 256 ripple pattern as RGBA bytes, row 0 first.
std::vector<uint8_t> ripplePixels();

// Uploads the ripple pattern into a new texture (repeating) and returns its name.
GLuint makeRippleTexture();
