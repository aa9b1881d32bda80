#include "platform/Window.h"
#include "platform/Gl.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include <GL/freeglut.h>
#include <cstdio>

namespace platform {

namespace {

bool keys[SDL_NUM_SCANCODES];   // true while the key (by scancode) is down
bool struck[SDL_NUM_SCANCODES]; // pressed since the loop last cleared it
bool active = true;             // false while the window is minimised
bool fullscreen = true;         // the mode asked of createWindow
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;

Offscreen screen; // used only while the drawable differs from the show's size
bool useOffscreen = false;

void updatePresentation() {
    int drawW = 0, drawH = 0;
    SDL_GL_GetDrawableSize(window, &drawW, &drawH);
    const Settings& s = settings();
    const bool differs = drawW != s.width || drawH != s.height;
    if (differs && !screen.valid()) screen.create(s.width, s.height);
    useOffscreen = differs && screen.valid();
    if (!useOffscreen) Offscreen::bindWindow();
}

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

// Starts freeglut once a GL context exists (it needs the display SDL opened).
void initGlut() {
    static bool done = false;
    if (done) return;
    done = true;
    int argc = 1;
    char name[] = "velmora";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
}

} // namespace

bool openDisplay(std::string& error) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    error = std::string("cannot open the X display (") + SDL_GetError() +
            "); set DISPLAY or use xvfb-run";
    return false;
}

void closeDisplay() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

Answer askYesNo(const char* text, const char* caption, bool warning) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData box = {warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
                                    nullptr,
                                    caption,
                                    text,
                                    2,
                                    buttons,
                                    nullptr};
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return Answer::Other;
    return answer == 1 ? Answer::Yes : answer == 0 ? Answer::No : Answer::Other;
}

void reportError(const char* text, const char* caption) {
    std::fprintf(stderr, "velmora: %s (%s)\n", text, SDL_GetError());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

void resizeScene(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    loadPerspective(static_cast<double>(width) / height, static_cast<double>(0.1f));
}

bool createWindow(const char* title, int width, int height, int bits, bool fullscreenFlag) {
    fullscreen = fullscreenFlag;
    requestGlContext(bits);

    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (fullscreen) {
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags | SDL_WINDOW_FULLSCREEN);
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
    if (!window)
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, flags);
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
    updatePresentation();
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
        screen.release();
        useOffscreen = false;
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
    if (SDL_SetWindowFullscreen(window, wanted ? SDL_WINDOW_FULLSCREEN : 0) != 0) {
        std::fprintf(stderr, "velmora: cannot switch full screen (%s)\n", SDL_GetError());
        return false;
    }
    fullscreen = wanted;
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    updatePresentation();
    return true;
}

bool handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        return false;
    case SDL_KEYDOWN:
        if (!event.key.repeat) {
            keys[event.key.keysym.scancode] = true;
            struck[event.key.keysym.scancode] = true;
        }
        break;
    case SDL_KEYUP:
        keys[event.key.keysym.scancode] = false;
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
            updatePresentation();
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

bool keyPressed(SDL_Scancode key) { return keys[key] || struck[key]; }

void clearKey(SDL_Scancode key) {
    keys[key] = false;
    struck[key] = false;
}

void beginFrame() {
    if (useOffscreen) screen.bind();
}

void endFrame() {
    if (useOffscreen) {
        int drawW = 0, drawH = 0;
        SDL_GL_GetDrawableSize(window, &drawW, &drawH);
        screen.present(drawW, drawH);
    }
    SDL_GL_SwapWindow(window);
}

} // namespace platform
