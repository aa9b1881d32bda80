#include "texture/Texture.h"
#include "platform/Gl.h"
#include "texture/TextureCache.h"
#include <cstdlib>

// Every successful load decodes the file and makes a new GL texture, even for a file
// name loaded before; the cache only stands in when the file cannot be read any more.
void TextureTga::load() {
    textureCache.find(fileName, &id);
    int format = 0;
    int width = 0;
    int height = 0;
    unsigned char* pixels = loadTga(fileName.c_str(), &format, &width, &height);
    if (!pixels) return;

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &id);
    textureCache.record(fileName, id);
    // Left enabled and bound on purpose: a loader's caller draws with it next.
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, id);
    platform::setTextureParameters(GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, static_cast<GLenum>(format),
                 GL_UNSIGNED_BYTE, pixels);
    std::free(pixels);
}
