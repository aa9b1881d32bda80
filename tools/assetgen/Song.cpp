#include "Song.h"
#include "Effects.h"
#include "Instruments.h"

using namespace dsp;

namespace {

class Mixer {
public:
    explicit Mixer(size_t frames) : mix(frames), room(frames), echo(frames) {}

    // Sends one voice's bus on.
    void add(const Stereo& bus, Sends sends) {
        for (size_t i = 0; i < bus.size(); ++i) {
            mix.l[i] += sends.dry * bus.l[i];
            mix.r[i] += sends.dry * bus.r[i];
            room.l[i] += sends.reverb * bus.l[i];
            room.r[i] += sends.reverb * bus.r[i];
            echo.l[i] += sends.echo * bus.l[i];
            echo.r[i] += sends.echo * bus.r[i];
        }
    }

    Stereo finish() {
        // Dotted-eighth echoes, which also feed the room.
        pingPong(echo, 0.375, 0.38f);
        for (size_t i = 0; i < mix.size(); ++i) {
            mix.l[i] += echo.l[i];
            mix.r[i] += echo.r[i];
            room.l[i] += 0.4f * echo.l[i];
            room.r[i] += 0.4f * echo.r[i];
        }
        reverberate(room);
        for (size_t i = 0; i < mix.size(); ++i) {
            mix.l[i] += room.l[i];
            mix.r[i] += room.r[i];
        }
        return std::move(mix);
    }

private:
    Stereo mix, room, echo;
};

// Raised-cosine fades: in from silence at the start, out to silence at the end.
void fade(Stereo& bus, const Score& s) {
    for (size_t i = 0; i < bus.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double g = 1;
        if (t < s.fadeIn) g = 0.5 - 0.5 * std::cos(pi * t / s.fadeIn);
        if (t >= s.fadeStart)
            g = t >= s.fadeEnd
                    ? 0
                    : 0.5 + 0.5 * std::cos(pi * (t - s.fadeStart) / (s.fadeEnd - s.fadeStart));
        bus.l[i] *= static_cast<float>(g);
        bus.r[i] *= static_cast<float>(g);
    }
}

float peakOf(const Stereo& bus) {
    float peak = 0;
    for (size_t i = 0; i < bus.size(); ++i)
        peak = std::max(peak, std::max(std::fabs(bus.l[i]), std::fabs(bus.r[i])));
    return peak;
}

void scale(Stereo& bus, float g) {
    for (size_t i = 0; i < bus.size(); ++i) {
        bus.l[i] *= g;
        bus.r[i] *= g;
    }
}

// The band played into the mixer that `into` gives each instrument's stem: each bus once,
// its voices played into it in turn, ducked under the kick if its instrument says so.
template <class Into> void play(const Score& s, Into into) {
    const size_t frames = sampleAt(s.length);
    const std::vector<float> deep = ducking(s[Voice::kick], frames, 0.45f);
    const std::vector<float> light = ducking(s[Voice::kick], frames, 0.3f);
    Stereo bus(frames); // one buffer for every bus: a fresh one a bus costs more to zero
    for (size_t k = 0; k < band.size();) {
        const Instrument& first = band[k];
        std::fill(bus.l.begin(), bus.l.end(), 0.0f);
        std::fill(bus.r.begin(), bus.r.end(), 0.0f);
        do {
            band[k].play(s[band[k].voice], band[k].gain, bus);
        } while (++k < band.size() && band[k].sharesBus);
        if (first.duck != Duck::none) applyGain(bus, first.duck == Duck::deep ? deep : light);
        into(first.stem).add(bus, first.sends);
    }
}

// Low-passed and faded: what goes to the master.
Stereo finished(Mixer& m, const Score& s) {
    Stereo song = m.finish();
    removeOffset(song);
    lowPass(song, 16000);
    fade(song, s);
    return song;
}

// Drives the loudest hits a few dB into the limiter, then sets the peak exactly; the two
// gains it applied around the limiter.
std::pair<float, float> master(Stereo& song, float peak) {
    const float loudest = peakOf(song);
    const float drive = loudest > 0 ? 1.5f * peak / loudest : 1;
    if (loudest > 0) scale(song, drive);
    limit(song, peak);
    const float after = peakOf(song);
    const float trim = after > 0 ? peak / after : 1;
    if (after > 0) scale(song, trim);
    return {drive, trim};
}

} // namespace

Stereo renderSong(const Score& s, float peak) {
    Mixer m(sampleAt(s.length));
    play(s, [&](Stem) -> Mixer& { return m; });
    Stereo song = finished(m, s);
    master(song, peak);
    return song;
}

std::vector<Stereo> renderStems(const Score& s, float peak) {
    const size_t frames = sampleAt(s.length);
    std::vector<Mixer> mixers;
    mixers.reserve(stems);
    for (int k = 0; k < stems; ++k)
        mixers.emplace_back(frames); // each made in place: copies of a blank one cost as much
    play(s, [&](Stem stem) -> Mixer& { return mixers[static_cast<int>(stem)]; });
    std::vector<Stereo> out;
    Stereo song(frames); // the stems are a split of the voices, and the mix is linear
    for (Mixer& m : mixers) {
        out.push_back(finished(m, s));
        for (size_t i = 0; i < frames; ++i) {
            song.l[i] += out.back().l[i];
            song.r[i] += out.back().r[i];
        }
    }
    const auto [drive, trim] = master(song, peak);
    for (Stereo& stem : out) {
        scale(stem, drive);
        scale(stem, trim);
    }
    return out;
}
