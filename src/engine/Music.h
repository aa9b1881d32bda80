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

    // Without sound the player opens no device and every stream stays closed.
    explicit Music(bool withSound = true);
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Opens `file` (an asset name) as the next stream.
    void open(const std::string& file);
    // Starts stream `index` once; nothing when it does not exist or failed to open.
    void play(int index);
    // How far the playing stream is, in ms of its own time; -1 when none plays.
    double position() const;
};
