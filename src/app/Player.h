#pragma once
#include "app/Entry.h"
#include <GL/gl.h>

class Music;

// The keys that drive the show while it plays, whatever the platform calls them.
enum class Control { Pause, Back, Forward, Home };

// The show as the viewer drives it: frames on the show's clock, which Space stops and
// starts and the arrows and Home move, the music kept at the same moment. While paused
// no frame is drawn: the last one, held, is shown again when the window needs it.
// Its keys come as events, not through the key table that Escape and F1 use: in order
// and each counted, where a table that keeps whether a key was struck since the last
// frame would merge two Spaces, or Left then Right, pressed during one slow frame.
class Player {
public:
    Player(FrameStep step, Music* music); // music may be null
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    bool paused() const;

    // One frame at the clock's time; false on the frame that found nothing left to draw.
    bool frame();

    // Takes a control key (Space, Left, Right, Home). False when it ended the show.
    bool press(Control key);

    // Moves the show and its music to `ms`; while paused, draws and holds that frame.
    // False when that frame found nothing left to draw.
    bool jump(int ms);

    // Shows the held frame again.
    void showStill();

private:
    bool togglePause();
    void hold();

    FrameStep step;
    Music* music;
    GLuint still = 0; // the held frame, a screen texture made at the first pause
};
