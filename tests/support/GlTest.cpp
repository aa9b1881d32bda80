#include "support/GlTest.h"
#include "platform/Headless.h"
#include <SDL.h>
#include <ostream>
#include <string>

bool openTestContext(bool big, std::string& error) {
    // With many test processes starting at once, the one X server of the suite now
    // and then refuses a connection; a moment later it takes it.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0) SDL_Delay(200);
        if (platform::openHeadless(big, error)) return true;
    }
    return false;
}

void GlTest::open(bool big) {
    platform::closeHeadless();
    std::string error;
    ASSERT_TRUE(openTestContext(big, error)) << error;
}

void GlTest::TearDown() { platform::closeHeadless(); }

GlTest::Rgba GlTest::pixel(int x, int y) {
    uint8_t p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

void GlTest::fill(float r, float g, float b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
}

std::ostream& operator<<(std::ostream& os, const GlTest::Rgba& p) {
    return os << "(" << p[0] << ", " << p[1] << ", " << p[2] << ", " << p[3] << ")";
}
