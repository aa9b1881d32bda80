// Composes the soundtrack to the show's moments (the list assetgen_show writes) and
// renders it to a WAV file; the build encodes it to DATAS/zik.mp3. With --stems, it
// renders the stems instead, to OUTPUT-rest.wav, OUTPUT-flashes.wav and so on.
#include "Instruments.h"
#include "Song.h"
#include "Wav.h"
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    const bool split = argc == 4 && std::string(argv[3]) == "--stems";
    if (argc != 3 && !split) {
        std::fprintf(stderr, "usage: %s show.txt output.wav\n       %s show.txt OUTPUT --stems\n",
                     argv[0], argv[0]);
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
    std::vector<std::string> files;
    std::vector<dsp::Stereo> sound;
    if (split) {
        sound = renderStems(score, peak);
        for (const char* name : stemNames)
            files.push_back(std::string(argv[2]) + "-" + name + ".wav");
    } else {
        sound.push_back(renderSong(score, peak));
        files.push_back(argv[2]);
    }
    for (size_t k = 0; k < files.size(); ++k)
        if (!writeWav(files[k], sound[k])) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], files[k].c_str());
            return 1;
        }
    return 0;
}
