// Composes the soundtrack to the show's moments (the list assetgen_show writes) and
// renders it to a WAV file; the build encodes it to DATAS/zik.mp3. With --stem, it
// renders one stem instead: the hits on the show's moments alone, or the rest.
#include "Song.h"
#include "Wav.h"
#include <cstdio>
#include <string>

namespace {
bool isHit(Voice v) {
    return v == Voice::crack || v == Voice::zap || v == Voice::bell || v == Voice::swell ||
           v == Voice::impact || v == Voice::chime;
}
} // namespace

int main(int argc, char** argv) {
    const std::string stem = argc == 5 ? argv[4] : "";
    if (!(argc == 3 ||
          (argc == 5 && std::string(argv[3]) == "--stem" && (stem == "hits" || stem == "rest")))) {
        std::fprintf(stderr, "usage: %s show.txt output.wav [--stem hits|rest]\n", argv[0]);
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
    VoiceSet heard = {};
    for (int v = 0; v < voices; ++v)
        heard[v] = isHit(static_cast<Voice>(v)) == (stem == "hits");
    if (!writeWav(argv[2],
                  stem.empty() ? renderSong(score, peak) : renderStem(score, peak, heard))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
