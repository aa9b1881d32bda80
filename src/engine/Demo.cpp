#include "engine/Demo.h"

Demo demo;

Demo::~Demo() {
    music.reset(); // stops and closes the streams, then the audio
    tracks.clear();
}

void Demo::openMusic(const char* file) {
    music = std::make_unique<Music>(sound);
    music->open(file);
}

Track& Demo::track(int n) {
    std::unique_ptr<Track>& t = tracks[n];
    if (!t) t = std::make_unique<Track>();
    return *t;
}

bool Demo::play(int time) {
    if (!started) {
        if (music) music->play(0);
        started = true;
    }
    return draw(time);
}

bool Demo::draw(int time) {
    bool drawn = false;
    for (auto& [number, track] : tracks) {
        if (Effect* e = track->active(time)) {
            e->draw(time);
            drawn = true;
        }
    }
    return drawn;
}
