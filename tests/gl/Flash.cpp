// The flash's modes on a frame of known colour, drawn in a state that would spoil the
// quad if the flash kept it: lit, textured in red, behind a depth buffer nearer than it.
#include "effects/Flash.h"
#include "engine/Attrib.h"
#include "engine/Fx.h"
#include "support/GlTest.h"

namespace {

using FlashTest = GlTest;

TEST_F(FlashTest, ModesBlendAsTheirEquationsSay) {
    const GLubyte red[3] = {255, 0, 0};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, red);
    const struct {
        int mode, elapsed, duration;
        double (*result)(double d); // of the frame's channel value d
    } rows[] = {                    // the swell sin(pi p) is 0.5 at p = 1/6, almost 0 at p = 1
                {0, 500, 1000, [](double) { return 1.0; }},
                {0, 0, 1000, [](double d) { return d; }},
                {0, 1000, 1000, [](double d) { return d; }},
                {1, 100, 600, [](double d) { return 0.5 * (1 - d) + d * d; }},
                {2, 100, 600, [](double d) { return 0.25 + d * (1 - d); }},
                {3, 100, 600, [](double d) { return d; }},
                {4, 0, 1000, [](double) { return 0.0; }},
                {4, 999, 1000, [](double d) { return d * 0.999; }},
                {4, 300, 1000, [](double d) { return d * 0.3; }},
                {5, 0, 1000, [](double d) { return d; }},
                {5, 999, 1000, [](double d) { return d * 0.001; }},
                {-1, 500, 1000, [](double d) { return d / 2; }},
                {9, 250, 1000, [](double d) { return d * 0.75; }}};
    Flash flash(1, 0);
    for (const auto& r : rows) {
        for (bool big : {true, false}) {
            open(big);
            glClearDepth(0);
            fill(0.2f, 0.4f, 0.6f);
            glClearDepth(1);
            for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_TEXTURE_2D})
                glEnable(cap);
            AttribSet set;
            set.set(Attrib("mode", r.mode));
            Fx entry(&flash, r.duration, &set);
            entry.start = 5000;
            entry.draw(5000 + r.elapsed);
            const std::vector<uint8_t> f = frame();
            for (size_t i = 0; i < f.size(); i += 9973)
                ASSERT_NEAR(f[i], std::min(255.0, 255 * r.result((i % 3 + 1) * 0.2)), 1.5)
                    << "mode " << r.mode << " at " << r.elapsed << ", big " << big << ", byte "
                    << i;
            EXPECT_TRUE(glOn(GL_LIGHTING) && glOn(GL_TEXTURE_2D) && glOn(GL_DEPTH_TEST));
        }
    }
    AttribSet none; // a set without "mode": the last mode stays
    Fx entry(&flash, 1000, &none);
    entry.draw(0);
    EXPECT_EQ(flash.mode, 9);
}

} // namespace
