#include "engine/Music.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>

namespace {
bool initialised = false; // this player started the audio subsystem and the mixer

// How long the close waits for the mixing thread: a device that takes no samples holds
// it in a write for as long as it likes, and the program must still end.
const Uint32 closeWaitMs = 400;

// Sample frames a buffer: a short buffer keeps the music within a few ms of the pictures.
const int bufferFrames = 1024;
} // namespace

// Orders are written by the program's thread and taken by the mixing thread; the
// position is written by the mixing thread. Neither thread ever waits for the other.
struct Music::Deck {
    std::atomic<Mix_Music*> stream{nullptr};
    std::atomic<uint64_t> order{0};   // (number << 32) | ms: the latest order to move
    std::atomic<double> orderedAt{0}; // the counter's ms when that order's ms was the show's
    std::atomic<bool> hold{false};    // the music stands
    std::atomic<unsigned> taken{0};   // the number of the latest order the mixer took
    // The buffer handed out last: where it begins in the music, in sample frames, plus 1
    // (0: no music) in bits 32 to 62; whether it plays on, in bit 63; and the counter's
    // whole ms when it was handed out, in bits 0 to 31. One word, so that the three agree.
    std::atomic<uint64_t> handed{0};
    // The mixing thread's own.
    int rate = 44100;
    int frameBytes = 4;
    bool flowing = false; // the music played in the buffer being mixed
    int64_t end = -1;     // where the music is at the end of what has been mixed

    // The mixer's post-mix hook: a buffer has been mixed and is to be handed out.
    static void mixed(void* self, Uint8*, int bytes) { static_cast<Deck*>(self)->take(bytes); }

    void take(int bytes) {
        const int64_t mixed = bytes / frameBytes;
        if (flowing) end = Mix_PlayingMusic() ? end + mixed : -1;
        int64_t heard = flowing && end >= 0 ? end - mixed : end; // where this buffer begins
        const uint64_t o = order.load(std::memory_order_acquire);
        const unsigned number = static_cast<unsigned>(o >> 32);
        if (number != taken.load(std::memory_order_relaxed)) {
            // Where the show will be when the next buffer, the first from there, is handed out.
            double ms = static_cast<int32_t>(o & 0xffffffffu);
            if (!hold.load()) ms += platform::nowMs() - orderedAt.load() + mixed * 1000.0 / rate;
            const double seconds = ms / 1000.0;
            const bool moved = Mix_PlayingMusic() && Mix_SetMusicPosition(seconds) == 0;
            const bool started = moved || Mix_FadeInMusicPos(stream.load(), 1, 0, seconds) == 0;
            end = started ? static_cast<int64_t>(ms * rate / 1000) : -1;
            heard = started && !hold.load() ? end - mixed : end;
            taken.store(number, std::memory_order_release);
        }
        const bool stand = hold.load();
        if (stand != (Mix_PausedMusic() != 0)) stand ? Mix_PauseMusic() : Mix_ResumeMusic();
        flowing = Mix_PlayingMusic() && !stand;
        const uint64_t moving = heard >= 0 && !stand ? 1ull << 63 : 0;
        handed.store(moving | static_cast<uint64_t>(heard + 1) << 32 |
                         static_cast<uint32_t>(platform::nowMs()),
                     std::memory_order_release);
    }
};

Music::Music(bool withSound) : deck(std::make_shared<Deck>()) {
    if (!withSound) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "velmora: no sound (%s)\n", SDL_GetError());
        return;
    }
    initialised = true;
    if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0)
        std::fprintf(stderr, "velmora: no MP3 decoder (%s)\n", Mix_GetError());
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, bufferFrames) != 0) {
        std::fprintf(stderr, "velmora: cannot open the audio device (%s)\n", Mix_GetError());
        return;
    }
    Mix_AllocateChannels(32);
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    deck->rate = rate;
    deck->frameBytes = channels * SDL_AUDIO_BITSIZE(format) / 8;
    Mix_SetPostMix(&Deck::mixed, deck.get());
    ready = true;
}

namespace {
// What the closing thread needs: the streams to stop and close, whether the device is
// open, the deck the mixer may read until the device is closed, and a word when done.
struct Closing {
    std::vector<Mix_Music*> streams;
    bool opened;
    std::shared_ptr<Music::Deck> deck;
    SDL_sem* done;
};

// Stops and closes the streams, then the device and the mixer, in that order. On an SDL
// thread: like the mixing thread, it takes no SIGPIPE from a device that went away.
int shutDown(void* data) {
    Closing& c = *static_cast<Closing*>(data);
    for (Mix_Music* stream : c.streams) {
        if (!stream) continue;
        Mix_HaltMusic();
        Mix_FreeMusic(stream);
    }
    if (c.opened) Mix_CloseAudio(); // waits for the mixing thread
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SemPost(c.done);
    return 0;
}
} // namespace

Music::~Music() {
    if (initialised) {
        // Waited for a bounded time: if the device holds the mixing thread, the program
        // ends without it, and what the two threads read stays.
        auto* closing = new Closing{streams, ready, deck, SDL_CreateSemaphore(0)};
        SDL_Thread* thread =
            closing->done ? SDL_CreateThread(shutDown, "music close", closing) : nullptr;
        if (!thread) {
            shutDown(closing); // no thread to spare: close here, as best we can
        } else {
            SDL_DetachThread(thread);
            if (SDL_SemWaitTimeout(closing->done, closeWaitMs) != 0) {
                std::fprintf(stderr, "velmora: the sound device takes no more sound; "
                                     "ending without closing it\n");
                closing = nullptr;
            }
        }
        if (closing) {
            if (closing->done) SDL_DestroySemaphore(closing->done);
            delete closing;
        }
        initialised = false;
    }
    streams.clear();
    samples.clear();
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

void Music::order(int ms) {
    ++orders;
    deck->orderedAt.store(platform::nowMs());
    deck->order.store(static_cast<uint64_t>(orders) << 32 | static_cast<uint32_t>(ms),
                      std::memory_order_release);
}

void Music::play(int index) {
    if (index < 0 || static_cast<size_t>(index) >= streams.size() || !streams[index]) return;
    current = index;
    deck->stream.store(streams[index]);
    order(cue);
}

void Music::seek(int ms) {
    cue = ms;
    if (current >= 0) order(ms);
}

void Music::pause() {
    paused = true;
    deck->hold.store(true);
}

void Music::resume() {
    paused = false;
    deck->hold.store(false);
}

void Music::lose() { lost = true; }

double Music::position() const {
    if (lost || current < 0 || deck->taken.load(std::memory_order_acquire) != orders) return -1;
    const uint64_t h = deck->handed.load(std::memory_order_acquire);
    const int64_t begins = static_cast<int64_t>((h >> 32) & 0x7fffffff) - 1;
    if (begins < 0) return -1;
    const double ms = static_cast<double>(begins) * 1000.0 / deck->rate;
    if (!(h >> 63)) return ms;
    // The device plays the buffer on from there as the counter runs, a buffer's length at
    // most: a device that takes no more leaves the music standing at the buffer's end.
    const uint32_t since = static_cast<uint32_t>(platform::nowMs()) - static_cast<uint32_t>(h);
    return ms + std::min(static_cast<double>(since), bufferFrames * 1000.0 / deck->rate);
}
