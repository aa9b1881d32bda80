#include "app/Entry.h"
#include "script/Script.h"

int main() {
    return runVelmora([] {
        Script* script = new Script(); // lives as long as the program
        return FrameStep([script] { return script->frame(); });
    });
}
