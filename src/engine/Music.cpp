#include "engine/Music.h"
#include "platform/Files.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdio>

namespace {
bool initialised = false; // this player started the audio subsystem and the mixer
}

Music::Music(bool withSound) {
    if (!withSound) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "velmora: no sound (%s)\n", SDL_GetError());
        return;
    }
    initialised = true;
    if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0)
        std::fprintf(stderr, "velmora: no MP3 decoder (%s)\n", Mix_GetError());
    // A short buffer keeps the music within a few tens of ms of the pictures.
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        std::fprintf(stderr, "velmora: cannot open the audio device (%s)\n", Mix_GetError());
        return;
    }
    Mix_AllocateChannels(32);
    ready = true;
}

Music::~Music() {
    for (Mix_Music* stream : streams) {
        if (!stream) continue;
        Mix_HaltMusic();
        Mix_FreeMusic(stream);
    }
    streams.clear();
    samples.clear();
    if (ready) Mix_CloseAudio();
    if (initialised) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised = false;
    }
    ready = false;
}

namespace {
Mix_Music* load(const std::string& file) {
    FILE* f = platform::openAsset(file.c_str(), "rb"); // says so when it cannot
    if (!f) return nullptr;
    SDL_RWops* rw = SDL_RWFromFP(f, SDL_TRUE);
    if (!rw) {
        std::fclose(f);
        return nullptr;
    }
    Mix_Music* stream = Mix_LoadMUS_RW(rw, 1); // frees rw, and so closes f, on every path
    if (!stream)
        std::fprintf(stderr, "velmora: cannot play %s (%s); the show goes on silent\n",
                     platform::assetPath(file.c_str()).c_str(), Mix_GetError());
    return stream;
}
} // namespace

void Music::open(const std::string& file) {
    if (!ready) return;
    streams.push_back(load(file));
}

void Music::play(int index) {
    if (index < 0 || static_cast<size_t>(index) >= streams.size() || !streams[index]) return;
    current = index;
    Mix_FadeInMusicPos(streams[index], 1, 0, cue / 1000.0);
    if (paused) Mix_PauseMusic(); // a start unpauses
}

void Music::seek(int ms) {
    cue = ms;
    if (current < 0) return;
    // Once the music has ended, the mixer holds none to move: start it again instead.
    if (!Mix_PlayingMusic() || Mix_SetMusicPosition(ms / 1000.0) != 0) play(current);
}

void Music::pause() {
    paused = true;
    if (current >= 0) Mix_PauseMusic();
}

void Music::resume() {
    paused = false;
    if (current >= 0) Mix_ResumeMusic();
}

int Music::position() const {
    if (current < 0 || !Mix_PlayingMusic()) return -1;
    const double seconds = Mix_GetMusicPosition(streams[current]);
    return seconds < 0 ? -1 : static_cast<int>(seconds * 1000 + 0.5);
}
