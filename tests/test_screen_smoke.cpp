#include "support/GlTest.h"
#include "platform/Settings.h"

using Smoke = GlTest;

TEST_F(Smoke, OffscreenScreenHasTheSettingsSize) {
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 800);
    EXPECT_EQ(vp[3], 600);
    fill(1, 0, 0);
    EXPECT_EQ(pixel(799, 599)[0], 255);
    open(false);
    EXPECT_EQ(platform::settings().width, 640);
    EXPECT_EQ(platform::settings().texHeight, 512);
}
