// TextureTga and the texture cache: files written with the asset generator's writer.
#include "Image.h"
#include "support/GlTest.h"
#include "support/Scratch.h"
#include "texture/Texture.h"
#include "texture/TextureCache.h"

namespace {

using TextureLoad = GlTest;

// A w x h picture whose texel (x, row) is (x, row, 7 (, 200)).
Image picture(int w, int h, int channels) {
    Image image(w, h, channels);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.at(x, row);
            p[0] = uint8_t(x), p[1] = uint8_t(row), p[2] = 7;
            if (channels == 4) p[3] = 200;
        }
    return image;
}

std::vector<uint8_t> texels(GLuint id, int w, int h) {
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<uint8_t> out(size_t(w) * h * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
}

GLuint cached(const std::string& name) {
    GLuint id = 0;
    return textureCache.find(name, &id) ? id : 0;
}

TEST_F(TextureLoad, DefinesTheImageFirstRowAtTheBottomAndLeavesItBound) {
    Scratch folder;
    for (int channels : {3, 4}) {
        for (bool runLength : {false, true}) {
            const std::string path =
                folder.path + "/odd" + std::to_string(channels) + (runLength ? "r.tga" : ".tga");
            const Image image = picture(3, 5, channels);
            ASSERT_TRUE(writeTga(path, image, runLength));
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // rows of 9 bytes need 1
            glDisable(GL_TEXTURE_2D);
            TextureTga t(path.c_str());
            t.load();
            ASSERT_NE(t.id, 0u);
            EXPECT_TRUE(glOn(GL_TEXTURE_2D));
            EXPECT_EQ(GLuint(glInteger(GL_TEXTURE_BINDING_2D)), t.id);
            EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 1);
            GLint format = 0, wrap[2] = {0, 0}, filter[2] = {0, 0};
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter[0]);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter[1]);
            EXPECT_EQ(format, channels == 4 ? GL_RGBA : GL_RGB);
            EXPECT_EQ(std::vector<GLint>(wrap, wrap + 2), (std::vector<GLint>{GL_CLAMP, GL_CLAMP}));
            EXPECT_EQ(filter[0], GL_LINEAR);
            EXPECT_EQ(filter[1], GL_LINEAR);
            const std::vector<uint8_t> got = texels(t.id, 3, 5);
            for (int row = 0; row < 5; ++row) // row 0 of the file is row 0 (t = 0) of the texture
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(std::vector<int>(got.begin() + (row * 3 + x) * 4,
                                               got.begin() + (row * 3 + x) * 4 + 4),
                              (std::vector<int>{x, row, 7, channels == 4 ? 200 : 255}));
            EXPECT_EQ(cached(path), t.id);
        }
    }
    ASSERT_TRUE(writeTga(folder.path + "/empty.tga", Image(0, 4, 3), true));
    TextureTga empty((folder.path + "/empty.tga").c_str());
    empty.load(); // an empty texture, without a GL error
    EXPECT_NE(empty.id, 0u);
    EXPECT_EQ(glError(), GLenum(GL_NO_ERROR));
}

// Every successful load makes a new texture; the cache keeps the latest of each name as
// written, and stands in when the file can no longer be read.
TEST_F(TextureLoad, TheCacheKeepsTheLatestLoadOfEachName) {
    Scratch folder;
    const std::string path = folder.path + "\\twice.tga", onDisk = folder.path + "/twice.tga";
    ASSERT_TRUE(writeTga(onDisk, picture(2, 2, 3), false));
    TextureTga first(path.c_str()), second(path.c_str());
    first.load();
    second.load();
    ASSERT_NE(first.id, 0u);
    EXPECT_NE(second.id, first.id);
    EXPECT_EQ(texels(first.id, 2, 2), texels(second.id, 2, 2));
    EXPECT_EQ(cached(path), second.id);

    folder.write("twice.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0, 1, 2});
    TextureTga cut(path.c_str());
    cut.load(); // cut short: the earlier texture of the name
    EXPECT_EQ(cut.id, second.id);
    std::filesystem::remove(onDisk);
    TextureTga gone(path.c_str()), otherSpelling(onDisk.c_str());
    gone.load();
    otherSpelling.load();
    EXPECT_EQ(gone.id, second.id);
    EXPECT_EQ(otherSpelling.id, 0u);
    EXPECT_EQ(cached(onDisk), 0u) << "a failed load of a new name adds no entry";
    EXPECT_EQ(cached(path), second.id);
}

} // namespace
