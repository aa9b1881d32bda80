// The music in the browser, through Web Audio: the page decodes a file once into a buffer
// (Module.velmoraMusic), and each start, move or resume plays that buffer from an offset on
// a fresh source node. The position is the audio context's own clock since that start.
#include "engine/Music.h"
#include "platform/Files.h"
#include <cstdio>
#include <emscripten.h>

// A stream is the page's decoded buffer, by its number.
struct _Mix_Music {
    int buffer;
};

// clang-format off
EM_JS(int, velmora_music_open, (const char* path), {
    return Module.velmoraMusic.open(UTF8ToString(path));
});
EM_JS(void, velmora_music_start, (int buffer, double ms), { Module.velmoraMusic.start(buffer, ms); });
EM_JS(void, velmora_music_stop, (), { Module.velmoraMusic.stop(); });
EM_JS(double, velmora_music_position, (), { return Module.velmoraMusic.position(); });
// clang-format on

Music::Music(bool withSound) { ready = withSound; }

Music::~Music() {
    if (current >= 0) velmora_music_stop();
    for (Mix_Music* stream : streams)
        delete stream;
    streams.clear();
    samples.clear();
    ready = false;
}

void Music::open(const std::string& file) {
    if (!ready) return;
    const std::string path = platform::findAsset(file.c_str()); // says so when it is missing
    const int buffer = path.empty() ? -1 : velmora_music_open(path.c_str());
    if (!path.empty() && buffer < 0)
        std::fprintf(stderr, "velmora: cannot play %s; the show goes on silent\n", path.c_str());
    streams.push_back(buffer < 0 ? nullptr : new Mix_Music{buffer});
}

void Music::play(int index) {
    if (index < 0 || static_cast<size_t>(index) >= streams.size() || !streams[index]) return;
    current = index;
    if (!paused) velmora_music_start(streams[index]->buffer, cue);
}

void Music::seek(int ms) {
    cue = ms;
    if (current >= 0) play(current);
}

void Music::pause() {
    if (current >= 0 && !paused) {
        const double at = velmora_music_position();
        if (at >= 0) cue = static_cast<int>(at + 0.5);
        velmora_music_stop();
    }
    paused = true;
}

void Music::resume() {
    paused = false;
    if (current >= 0) play(current);
}

double Music::position() const {
    if (current < 0) return -1;
    return paused ? cue : velmora_music_position();
}
