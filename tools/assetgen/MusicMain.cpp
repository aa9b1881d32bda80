// Composes the soundtrack to the show's moments (the list assetgen_show writes) and
// renders it to a WAV file; the build encodes it to DATAS/zik.mp3.
#include "Song.h"
#include "Wav.h"
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s show.txt output.wav\n", argv[0]);
        return 2;
    }
    Show show;
    Score score;
    std::string error;
    if (!readShow(argv[1], show, error) || !compose(show, score, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    const float peak = 0.7f; // -3.1 dBFS: the encoded file overshoots by over a decibel
    if (!writeWav(argv[2], renderSong(score, peak))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
