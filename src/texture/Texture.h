#pragma once
#include <GL/gl.h>
#include <string>

// A GL texture made from an image file.
class Texture {
public:
    GLuint id = 0; // GL texture name; 0 until a load defines one or takes a cached one

    Texture() = default;
    virtual ~Texture() = default;
    virtual void load() = 0;
    // Binds the texture; enabling texturing is the caller's business.
    virtual void bind() { glBindTexture(GL_TEXTURE_2D, id); }
};

// A texture from a TGA file (24 or 32 bits, uncompressed or run-length encoded).
class TextureTga : public Texture {
public:
    std::string fileName; // as given, also the texture cache's key

    explicit TextureTga(const char* file) : fileName(file) {}
    ~TextureTga() override = default;
    void load() override;
};

// Decodes a TGA file into one malloc'd block of RGB or RGBA pixels, rows in file order.
// Returns null when the file cannot be read or is not an image it accepts.
unsigned char* loadTga(const char* path, int* format, int* width, int* height);
