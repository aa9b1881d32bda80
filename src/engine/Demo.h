#pragma once
#include "engine/Music.h"
#include "engine/Track.h"
#include <map>
#include <memory>

// The sequencer: numbered tracks drawn in ascending order, and the music.
class Demo {
public:
    std::unique_ptr<Music> music;
    bool started = false;
    std::map<int, std::unique_ptr<Track>> tracks;
    bool sound = true; // off for rendering to files: the music is then never opened

    Demo() = default;
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    void openMusic(const char* file);
    Track& track(int n);

    // Draws one frame; false when no track had anything to draw.
    bool play(int time);
    // The same frame, the music left alone.
    bool draw(int time);
};

// The one program-wide sequencer.
extern Demo demo;
