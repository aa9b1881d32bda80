#include "platform/Window.h"
#include "platform/Settings.h"
#include <GL/freeglut.h>
#include <cstdio>

namespace platform {

namespace {

bool active = true;                            // false while the window is minimised
bool fullscreen = true;                        // the mode asked of createWindow
Uint32 fullscreenMode = SDL_WINDOW_FULLSCREEN; // or the desktop's own mode
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;

// The GL context every window asks for: double-buffered, a depth buffer, colour
// channels for `bits` per pixel, and a compatibility profile (never a core one).
void requestGlContext(int bits) {
    const int channel = bits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// Starts freeglut, whose solids the effects draw into the context, once the first
// context is current (freeglut opens its own connection to the display SDL uses).
void initGlut() {
    static bool done = false;
    if (done) return;
    done = true;
    int argc = 1;
    char name[] = "velmora";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
}

// A window of the show's size where that leaves room on the desktop for the window's
// frame; else the largest of its proportions that does, the picture scaled into it.
void sizeForDesktop() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return;
    const Settings& s = settings();
    const int roomW = usable.w * 9 / 10, roomH = usable.h * 9 / 10;
    if (s.width <= roomW && s.height <= roomH) return;
    const ScreenSize size = fitted({s.width, s.height}, roomW, roomH);
    SDL_SetWindowSize(window, size.width, size.height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void fitToDrawable() {
    int drawW = 0, drawH = 0;
    SDL_GL_GetDrawableSize(window, &drawW, &drawH);
    fitScreen(drawW, drawH);
}

} // namespace

void* glProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

bool glContextCurrent() { return SDL_GL_GetCurrentContext() != nullptr; }

void keepDesktopMode() { fullscreenMode = SDL_WINDOW_FULLSCREEN_DESKTOP; }

bool createWindow(const char* title, int width, int height, int bits, bool fullscreenFlag) {
    fullscreen = fullscreenFlag;
    requestGlContext(bits);

    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (fullscreen) {
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags | fullscreenMode);
        if (!window) {
            if (askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                         "Use Windowed Mode Instead?",
                         "Pago GL", true) != Answer::Yes) {
                reportError("Program Will Now Close.", "ERROR");
                return false;
            }
            fullscreen = false;
        }
    }
    if (!window) {
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags);
        if (window) sizeForDesktop();
    }
    if (!window) {
        killWindow();
        reportError("Window Creation Error.", "ERROR");
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        killWindow();
        reportError("Can't Create A GL Rendering Context.", "ERROR");
        return false;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        killWindow();
        reportError("Can't Activate The GL Rendering Context.", "ERROR");
        return false;
    }
    SDL_GL_SetSwapInterval(1); // some drivers refuse; frames then run free
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    SDL_RaiseWindow(window);
    initGlut();
    fitToDrawable();
    resizeScene(settings().width, settings().height);
    return true;
}

bool createHiddenWindow(int width, int height, std::string& error) {
    requestGlContext(32);
    window =
        SDL_CreateWindow("velmora", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window) context = SDL_GL_CreateContext(window);
    if (!window || !context || SDL_GL_MakeCurrent(window, context) != 0) {
        error = std::string("cannot create a GL context (") + SDL_GetError() + ")";
        killWindow();
        return false;
    }
    initGlut();
    return true;
}

void killWindow() {
    if (context) {
        releaseScreen();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    SDL_ShowCursor(SDL_ENABLE);
}

bool toggleFullscreen() {
    const bool wanted = !fullscreen;
    if (SDL_SetWindowFullscreen(window, wanted ? fullscreenMode : 0) != 0) {
        std::fprintf(stderr, "velmora: cannot switch full screen (%s)\n", SDL_GetError());
        return false;
    }
    fullscreen = wanted;
    if (!fullscreen) sizeForDesktop();
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    fitToDrawable();
    return true;
}

bool handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        noteKey(event.key);
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            active = false;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            active = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The show's screen stays width x height; only the way it reaches the window changes.
            fitToDrawable();
            resizeScene(settings().width, settings().height);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            return false;
        }
        break;
    }
    return true;
}

bool windowActive() { return active; }

void endFrame() {
    int drawW = 0, drawH = 0;
    SDL_GL_GetDrawableSize(window, &drawW, &drawH);
    presentFrame(drawW, drawH);
    SDL_GL_SwapWindow(window);
}

} // namespace platform
