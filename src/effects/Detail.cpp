#include "effects/Detail.h"
#include "effects/AutoDetail.h"
#include "effects/DrawTiming.h"
#include "platform/Clock.h"
#include <GL/gl.h>

namespace {

Detail selected = Detail::Designed;

AutoDetail& live() {
    static AutoDetail chooser(frameBudgetMs);
    return chooser;
}

} // namespace

void selectDetail(Detail detail) { selected = detail; }

Detail selectedDetail() { return selected; }

bool readDetail(const std::string& text, bool withAuto, Detail& out) {
    if (text == "designed")
        out = Detail::Designed;
    else if (text == "coarse")
        out = Detail::Coarse;
    else if (text == "auto" && withAuto)
        out = Detail::Auto;
    else
        return false;
    return true;
}

const char* detailTakes(bool withAuto) {
    return withAuto ? "auto, designed or coarse" : "designed or coarse";
}

bool coarseTiles() {
    return selected == Detail::Coarse || (selected == Detail::Auto && live().coarse());
}

DrawTiming::DrawTiming() {
    if (selected == Detail::Auto) begin = platform::nowMs();
}

DrawTiming::~DrawTiming() {
    if (begin < 0 || selected != Detail::Auto) return;
    glFinish(); // the draw itself, without the wait for the screen's refresh
    const double now = platform::nowMs();
    live().frameDrawn(now - begin, now);
}
