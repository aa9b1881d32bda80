#include "app/Entry.h"
#include "effects/Detail.h"
#include "script/Script.h"

int main() {
    selectDetail(Detail::Auto); // the live demo: designed tiles where the frames afford them
    return runVelmora([] {
        Script* script = new Script(); // lives as long as the program
        return FrameStep([script] { return script->frame(); });
    });
}
