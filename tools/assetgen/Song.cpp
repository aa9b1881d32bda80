#include "Song.h"
#include "Effects.h"
#include "Instruments.h"
#include <functional>

using namespace dsp;

namespace {

// A bus's share of the dry mix, the reverb and the echo.
struct Sends {
    float dry, reverb, echo;
};

class Mixer {
public:
    explicit Mixer(size_t frames) : mix(frames), room(frames), echo(frames) {}

    // Plays one part into a scratch bus, ducks it under the kick if asked, and sends it on.
    void part(const std::function<void(Stereo&)>& play, Sends sends,
              const std::vector<float>* duck = nullptr) {
        Stereo bus(mix.size());
        play(bus);
        if (duck) applyGain(bus, *duck);
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

} // namespace

Stereo renderSong(const Score& s, float peak) {
    const size_t frames = sampleAt(s.length);
    const std::vector<float> duck = ducking(s.kick, frames, 0.45f);
    const std::vector<float> duckBass = ducking(s.kick, frames, 0.3f);

    Mixer m(frames);
    m.part([&](Stereo& b) { playKick(s.kick, 0.55f, b); }, {1, 0, 0});
    m.part([&](Stereo& b) { playSnare(s.snare, 0.32f, b); }, {1, 0.25f, 0});
    m.part(
        [&](Stereo& b) {
            playHat(s.hat, 0.03f, 0.25f, b);
            playHat(s.openHat, 0.2f, 0.16f, b);
        },
        {1, 0.05f, 0});
    m.part([&](Stereo& b) { playCrash(s.crash, 0.15f, b); }, {1, 0.2f, 0});
    m.part([&](Stereo& b) { playRiser(s.riser, 0.25f, b); }, {1, 0.3f, 0});
    m.part([&](Stereo& b) { playBass(s.bass, 0.45f, b); }, {1, 0, 0}, &duckBass);
    m.part([&](Stereo& b) { playPad(s.pad, 0.07f, b); }, {1, 0.35f, 0}, &duck);
    m.part([&](Stereo& b) { playArp(s.arp, 0.12f, b); }, {1, 0.25f, 0.3f}, &duck);
    m.part([&](Stereo& b) { playLead(s.lead, 0.17f, b); }, {1, 0.3f, 0.22f});
    m.part([&](Stereo& b) { playCrack(s.flash[0], 0.3f, b); }, {1, 0.15f, 0});
    m.part([&](Stereo& b) { playZap(s.flash[1], 0.3f, b); }, {1, 0.15f, 0.1f});
    m.part([&](Stereo& b) { playBell(s.flash[2], 0.16f, b); }, {1, 0.3f, 0.15f});
    m.part([&](Stereo& b) { playSwell(s.swell, 0.12f, b); }, {1, 0.3f, 0});
    m.part([&](Stereo& b) { playImpact(s.impact, 0.35f, b); }, {1, 0.1f, 0});
    m.part([&](Stereo& b) { playChime(s.chime, 0.08f, b); }, {1, 0.35f, 0.3f});
    Stereo song = m.finish();

    removeOffset(song);
    lowPass(song, 16000);
    fade(song, s);
    // Drive the loudest hits a few dB into the limiter, then set the peak exactly.
    const float loudest = peakOf(song);
    if (loudest > 0) scale(song, 1.5f * peak / loudest);
    limit(song, peak);
    const float after = peakOf(song);
    if (after > 0) scale(song, peak / after);
    return song;
}
