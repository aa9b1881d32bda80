#pragma once
#include <GL/gl.h>
#include <map>
#include <string>

// The GL texture name of the latest successful load of each image file name. It owns
// no GL resource; names are compared exactly, as given (no path is normalised).
class TextureCache {
public:
    // The recorded name for `fileName`, if there is one.
    bool find(const std::string& fileName, GLuint* name) const;
    // Inserts the entry or overwrites the name of an existing one.
    void record(const std::string& fileName, GLuint name);
    size_t size() const { return names.size(); }

private:
    std::map<std::string, GLuint> names;
};

// The one program-wide cache, used by TextureTga::load.
extern TextureCache textureCache;
