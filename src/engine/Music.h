#pragma once
#include <string>
#include <vector>

typedef struct _Mix_Music Mix_Music;

// Streams music files in the background through SDL_mixer.
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
    void seek(int ms);

    // Holds the music where it is, and lets it go on.
    void pause();
    void resume();

    // Where the stream started last is, in ms; -1 when none plays or its decoder cannot tell.
    int position() const;
};
