#include "texture/TextureCache.h"

TextureCache textureCache;

bool TextureCache::find(const std::string& fileName, GLuint* name) const {
    const auto entry = names.find(fileName);
    if (entry == names.end()) return false;
    *name = entry->second;
    return true;
}

void TextureCache::record(const std::string& fileName, GLuint name) { names[fileName] = name; }
