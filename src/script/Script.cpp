#include "script/Script.h"
#include "app/Clock.h"
#include "engine/Demo.h"
#include <GL/gl.h>

Script::Script() {
    demo.openMusic("DATAS\\zik.mp3");
    clockReset();
}

bool Script::frameAt(int time) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return demo.play(time);
}

bool Script::frame() {
    const bool running = frameAt(clockElapsedMs());
    if (!running) clockReset();
    return running;
}
