#include "platform/Offscreen.h"
#include "platform/Gl.h"
#include "platform/Presentation.h"
#include "platform/Settings.h"
#include <algorithm>

namespace platform {

namespace {

struct FboApi {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkStatus = nullptr;
    PFNGLBLITFRAMEBUFFEREXTPROC blit = nullptr;
    bool ready = false;
};

template <class F> void lookUp(F& f, const char* name) {
    f = reinterpret_cast<F>(glProcAddress(name));
}

const FboApi& fboApi() {
    static FboApi api;
    static bool looked = false;
    if (!looked) {
        looked = true;
        if (!hasGlExtension("GL_EXT_framebuffer_object")) return api;
        lookUp(api.genFramebuffers, "glGenFramebuffersEXT");
        lookUp(api.deleteFramebuffers, "glDeleteFramebuffersEXT");
        lookUp(api.bindFramebuffer, "glBindFramebufferEXT");
        lookUp(api.genRenderbuffers, "glGenRenderbuffersEXT");
        lookUp(api.deleteRenderbuffers, "glDeleteRenderbuffersEXT");
        lookUp(api.bindRenderbuffer, "glBindRenderbufferEXT");
        lookUp(api.renderbufferStorage, "glRenderbufferStorageEXT");
        lookUp(api.framebufferRenderbuffer, "glFramebufferRenderbufferEXT");
        lookUp(api.checkStatus, "glCheckFramebufferStatusEXT");
        if (hasGlExtension("GL_EXT_framebuffer_blit")) lookUp(api.blit, "glBlitFramebufferEXT");
        api.ready = api.genFramebuffers && api.bindFramebuffer && api.genRenderbuffers &&
                    api.renderbufferStorage && api.framebufferRenderbuffer && api.checkStatus;
    }
    return api;
}

} // namespace

Offscreen::~Offscreen() {
    // The context may already be gone when the object dies with the program.
    if (glContextCurrent()) release();
}

bool Offscreen::openScreen(std::string& error) {
    if (!glHoldsScreen(error)) return false;
    const Settings& s = settings();
    if (!create(s.width, s.height)) {
        error = "the GL driver offers no framebuffer objects";
        return false;
    }
    bind();
    resizeScene(s.width, s.height);
    return true;
}

bool Offscreen::create(int w, int h) {
    release();
    const FboApi& api = fboApi();
    if (!api.ready || w <= 0 || h <= 0) return false;
    width = w;
    height = h;
    api.genFramebuffers(1, &fbo);
    api.bindFramebuffer(GL_FRAMEBUFFER_EXT, fbo);
    api.genRenderbuffers(1, &colour);
    api.bindRenderbuffer(GL_RENDERBUFFER_EXT, colour);
    api.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_RGBA8, w, h);
    api.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT,
                                colour);
    api.genRenderbuffers(1, &depth);
    api.bindRenderbuffer(GL_RENDERBUFFER_EXT, depth);
    api.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, w, h);
    api.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                depth);
    api.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
    const bool complete = api.checkStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    api.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    if (!complete) release();
    return complete;
}

void Offscreen::release() {
    const FboApi& api = fboApi();
    if (fbo) api.deleteFramebuffers(1, &fbo);
    if (colour) api.deleteRenderbuffers(1, &colour);
    if (depth) api.deleteRenderbuffers(1, &depth);
    fbo = colour = depth = 0;
}

void Offscreen::bind() const {
    if (fbo) fboApi().bindFramebuffer(GL_FRAMEBUFFER_EXT, fbo);
}

void Offscreen::bindWindow() {
    const FboApi& api = fboApi();
    if (api.bindFramebuffer) api.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
}

void Offscreen::present(int drawW, int drawH) const {
    const FboApi& api = fboApi();
    if (!fbo || !api.blit || drawW <= 0 || drawH <= 0) return;
    // The largest rectangle of the picture's proportions that fits, centred.
    const ScreenSize out = fitted({width, height}, drawW, drawH);
    const int outW = out.width, outH = out.height;
    const int x = (drawW - outW) / 2;
    const int y = (drawH - outH) / 2;

    api.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glViewport(0, 0, drawW, drawH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    api.bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, fbo);
    api.blit(0, 0, width, height, x, y, x + outW, y + outH, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    api.bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, 0);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

std::vector<uint8_t> readRgbTopDown(int w, int h) {
    std::vector<uint8_t> rows(static_cast<size_t>(w) * h * 3);
    if (rows.empty()) return rows;
    GLint packAlign = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlign);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<uint8_t> bottomUp(rows.size());
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlign);
    const size_t stride = static_cast<size_t>(w) * 3;
    for (int y = 0; y < h; ++y)
        std::copy_n(bottomUp.data() + stride * (h - 1 - y), stride, rows.data() + stride * y);
    return rows;
}

} // namespace platform
