// Renders the soundtrack to a WAV file; the build encodes it to DATAS/zik.mp3.
#include "Song.h"
#include "Wav.h"
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.wav\n", argv[0]);
        return 2;
    }
    const float peak = 0.85f; // -1.4 dBFS: the encoded file overshoots by a few tenths
    if (!writeWav(argv[1], renderSong(compose(), peak))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
