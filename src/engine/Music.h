#pragma once
#include <memory>
#include <string>
#include <vector>

typedef struct _Mix_Music Mix_Music;

// Streams music files in the background through SDL_mixer. Between the open and the
// close, nothing here waits on the sound device: the music is started, moved, paused
// and resumed by orders that the mixing thread takes at the end of each buffer it
// mixes, and it publishes the position it has reached; both go through atomics. The
// close waits for the mixing thread a bounded time.
class Music {
public:
    std::vector<void*> samples;      // samples to free at shutdown; none are ever added
    std::vector<Mix_Music*> streams; // stream i at index i; null when its open failed
    bool ready = false;              // the audio device is open
    int current = -1;                // the stream started last, or none
    int cue = 0;                     // ms into the music where a start begins
    bool paused = false;             // the listener paused it; a start begins paused

    // Without sound the player opens no device and every stream stays closed.
    explicit Music(bool withSound = true);
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Opens `file` (an asset name) as the next stream.
    void open(const std::string& file);
    // Starts stream `index` once, at the cue; nothing when it does not exist or failed to open.
    void play(int index);

    // Moves the music to `ms`: the stream started last goes on from there, and starts
    // again there when it has ended; before any start, the next start begins there.
    // Where the music is already playing, it goes on from where `ms` has got to by the
    // time the mixer takes the order.
    void seek(int ms);

    // Holds the music where it is, and lets it go on. The mixer takes either at the end of
    // a buffer: a seek to the show's moment just after makes it exact.
    void pause();
    void resume();

    // The audio device went away (SDL_AUDIODEVICEREMOVED): the mixer goes on into nothing
    // at a pace of its own, which the pictures no longer follow.
    void lose();

    // Where the stream started last is, in ms: where the buffer the mixer handed out last
    // begins, and how long ago that was; -1 when none plays, while a start or a move is on its way
    // to the mixer, or once the device is lost.
    double position() const;

    struct Deck; // what this thread and the mixing thread share

private:
    void order(int ms);

    std::shared_ptr<Deck> deck;
    unsigned orders = 0; // orders given, the latest by number
    bool lost = false;
};
