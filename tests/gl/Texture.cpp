// TextureTga and the texture cache, on files written with the asset generator's writer.
#include "Image.h"
#include "support/GlTest.h"
#include "support/Scratch.h"
#include "texture/Texture.h"
#include "texture/TextureCache.h"

namespace {

using TextureLoad = GlTest;

std::vector<uint8_t> texels(GLuint id, int w, int h) {
    glBindTexture(GL_TEXTURE_2D, id);
    std::vector<uint8_t> out(size_t(w) * h * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
}

GLuint cached(const std::string& name) {
    GLuint id = 0;
    return textureCache.find(name, &id) ? id : 0;
}

// Rows of 3 texels, 9 bytes, which arrive intact only with an unpack alignment of 1.
TEST_F(TextureLoad, DefinesTheImageWithItsFirstRowAtTheBottomAndLeavesItBound) {
    Scratch folder;
    Image image(3, 5, 3);
    std::vector<uint8_t> want;
    for (int row = 0; row < 5; ++row)
        for (int x = 0; x < 3; ++x) {
            image.at(x, row)[0] = uint8_t(x), image.at(x, row)[1] = uint8_t(row);
            want.insert(want.end(), {uint8_t(x), uint8_t(row), 0, 255});
        }
    const std::string path = folder.path + "/odd.tga";
    ASSERT_TRUE(writeTga(path, image, false));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    TextureTga t(path.c_str());
    t.load();
    EXPECT_TRUE(glOn(GL_TEXTURE_2D));
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), GLint(t.id));
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 1);
    GLint p[3];
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &p[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &p[1]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &p[2]);
    EXPECT_EQ(std::vector<GLint>(p, p + 3), (std::vector<GLint>{GL_RGB, GL_CLAMP, GL_LINEAR}));
    EXPECT_EQ(texels(t.id, 3, 5), want);
    EXPECT_EQ(cached(path), t.id);
    ASSERT_TRUE(writeTga(folder.path + "/empty", Image(0, 4, 3), true));
    TextureTga empty((folder.path + "/empty").c_str());
    empty.load(); // an empty texture, without an error
    EXPECT_NE(empty.id, 0u);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// Every successful load makes a new texture; the cache keeps the latest of each name as
// written, and stands in when the file can no longer be read.
TEST_F(TextureLoad, TheCacheKeepsTheLatestLoadOfEachName) {
    Scratch folder;
    const std::string path = folder.path + "\\twice.tga", onDisk = folder.path + "/twice.tga";
    ASSERT_TRUE(writeTga(onDisk, Image(2, 2, 3), false));
    TextureTga first(path.c_str()), second(path.c_str()), cut(path.c_str()), gone(path.c_str()),
        otherSpelling(onDisk.c_str());
    first.load();
    second.load();
    EXPECT_NE(second.id, first.id);
    EXPECT_EQ(texels(first.id, 2, 2), texels(second.id, 2, 2));
    EXPECT_EQ(cached(path), second.id);
    folder.write("twice.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0, 1});
    cut.load(); // cut short: the earlier texture of the name
    std::filesystem::remove(onDisk);
    gone.load();
    otherSpelling.load();
    EXPECT_EQ(
        std::vector<GLuint>({cut.id, gone.id, otherSpelling.id, cached(path), cached(onDisk)}),
        std::vector<GLuint>({second.id, second.id, 0, second.id, 0}));
}

} // namespace
