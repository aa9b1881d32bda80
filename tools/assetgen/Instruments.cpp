#include "Instruments.h"

using namespace dsp;

namespace {

constexpr float twoPi = static_cast<float>(2 * pi);

// Every note gets its own noise and phases, the same on every run.
uint32_t seedOf(const Note& n, uint32_t salt) {
    return static_cast<uint32_t>(n.start * rate) * 2654435761u ^ salt ^
           static_cast<uint32_t>(n.pitch * 97);
}

// Calls voice(i, t) for every sample of a note and its tail that lies inside `out`.
template <class Synth> void sound(const Note& n, double tail, const Stereo& out, Synth voice) {
    const size_t first = sampleAt(n.start);
    const size_t count = sampleAt(n.length + tail);
    for (size_t i = 0; i < count && first + i < out.size(); ++i)
        voice(first + i, static_cast<double>(i) / rate);
}

// Detuned saws.
void playPad(const std::vector<Note>& notes, float gain, Stereo& out) {
    const Adsr env{0.9, 1.5, 0.75, 0.9};
    const float detune[3] = {-0.11f, 0.0f, 0.09f}; // semitones
    for (const Note& n : notes) {
        Rng rng(seedOf(n, 1));
        Saw saw[3];
        float inc[3];
        for (int k = 0; k < 3; ++k) {
            saw[k].phase = 0.5f * (rng.next() + 1);
            inc[k] = static_cast<float>(hz(n.pitch + detune[k]) / rate);
        }
        Svf left, right;
        Envelope level(env, n.length);
        sound(n, env.tail(), out, [&](size_t i, double t) {
            if ((i & 31) == 0) {
                // A slow sweep keeps the held chords moving.
                const double lfo = std::sin(2 * pi * 0.13 * (n.start + t) + n.pitch);
                const double cutoff = (300 + 2800 * n.tone * n.tone) * (1 + 0.25 * lfo);
                left.set(cutoff, 0.9);
                right.set(cutoff * 1.05, 0.9);
            }
            const float a = saw[0].next(inc[0]), b = saw[1].next(inc[1]), c = saw[2].next(inc[2]);
            left.tick(a + 0.6f * b);
            right.tick(c + 0.6f * b);
            const float e = level.next() * n.velocity * gain;
            out.addPair(i, left.lp * e, right.lp * e);
        });
    }
}

// Saw and sine.
void playBass(const std::vector<Note>& notes, float gain, Stereo& out) {
    const Adsr env{0.004, 0.3, 0.6, 0.05};
    for (const Note& n : notes) {
        const float inc = static_cast<float>(hz(n.pitch) / rate);
        Saw saw;
        float phase = 0;
        Svf filter;
        Envelope level(env, n.length);
        sound(n, env.tail(), out, [&](size_t i, double t) {
            if ((i & 15) == 0) filter.set(90 + (250 + 2200 * n.tone) * std::exp(-t / 0.11), 1.4);
            filter.tick(0.7f * saw.next(inc) + 0.8f * std::sin(twoPi * phase));
            phase += inc;
            if (phase >= 1) phase -= 1;
            const float e = level.next() * n.velocity * gain;
            out.add(i, std::tanh(1.4f * filter.lp) * e, 0);
        });
    }
}

// A plucked pulse.
void playArp(const std::vector<Note>& notes, float gain, Stereo& out) {
    const Adsr env{0.002, 0.18, 0.0, 0.08};
    for (const Note& n : notes) {
        const float inc = static_cast<float>(hz(n.pitch) / rate);
        const float inc2 = static_cast<float>(hz(n.pitch + 0.07) / rate);
        Pulse pulse;
        Saw saw;
        Svf filter;
        Envelope level(env, n.length);
        sound(n, env.tail(), out, [&](size_t i, double t) {
            if ((i & 15) == 0)
                filter.set(250 + 400 * n.tone + 6000 * n.tone * n.tone * std::exp(-t / 0.08), 1.8);
            filter.tick(pulse.next(inc, 0.3f) + 0.5f * saw.next(inc2));
            const float e = level.next() * n.velocity * gain;
            out.add(i, filter.lp * e, n.pan);
        });
    }
}

// Two-operator FM.
void playLead(const std::vector<Note>& notes, float gain, Stereo& out) {
    const Adsr env{0.015, 0.5, 0.65, 0.25};
    for (const Note& n : notes) {
        float phase[2] = {0, 0};
        float inc[2] = {0, 0}, index = 0;
        Envelope level(env, n.length);
        sound(n, env.tail(), out, [&](size_t i, double t) {
            if ((i & 15) == 0) {
                // Vibrato grows in once the note has spoken; the brightness settles.
                const double depth = 0.12 * std::clamp((t - 0.3) / 0.4, 0.0, 1.0);
                const double vibrato = depth * std::sin(2 * pi * 5.2 * t);
                for (int k = 0; k < 2; ++k)
                    inc[k] = static_cast<float>(hz(n.pitch + vibrato + 0.08 * k) / rate);
                index =
                    static_cast<float>((0.6 + 2.4 * n.tone) * (0.4 + 0.6 * std::exp(-t / 0.25)));
            }
            float v[2];
            for (int k = 0; k < 2; ++k) {
                // Carrier and modulator share the frequency and so the phase.
                phase[k] += inc[k];
                if (phase[k] >= 1) phase[k] -= 1;
                v[k] = std::sin(twoPi * phase[k] + index * std::sin(twoPi * phase[k]));
            }
            const float e = level.next() * n.velocity * gain;
            out.addPair(i, (v[0] + 0.5f * v[1]) * e, (v[1] + 0.5f * v[0]) * e);
        });
    }
}

void playKick(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 2));
        double phase = 0;
        Decay drop(0.03), settle(0.3), body(0.26), click(0.0015);
        Note hit = n;
        hit.length = 0;
        sound(hit, 0.5, out, [&](size_t i, double t) {
            // The pitch drops from a thump to a low boom.
            phase += (44 + 130 * drop.next() + 20 * settle.next()) / rate;
            const double boom = std::sin(2 * pi * phase) * body.next() * std::min(1.0, t * 1000);
            const double tick = 0.25 * rng.next() * click.next();
            out.add(i, static_cast<float>(std::tanh(1.6 * (boom + tick))) * n.velocity * gain, 0);
        });
    }
}

void playSnare(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 3));
        Svf high, low;
        high.set(1500, 0.7);
        low.set(6000 + 4000 * n.tone, 0.7);
        Decay skin(0.05), wires(0.14);
        Note hit = n;
        hit.length = 0;
        sound(hit, 0.35, out, [&](size_t i, double t) {
            const double body =
                (0.6 * std::sin(2 * pi * 185 * t) + 0.3 * std::sin(2 * pi * 330 * t)) * skin.next();
            high.tick(rng.next());
            low.tick(high.hp);
            const double noise = 0.9 * low.lp * wires.next();
            out.add(i, static_cast<float>(body + noise) * n.velocity * gain, 0.05f);
        });
    }
}

void playHat(const std::vector<Note>& hits, float decay, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 4));
        Svf high, ring;
        high.set(7500, 0.8);
        ring.set(10000, 3);
        Decay fall(decay);
        Note hit = n;
        hit.length = 0;
        sound(hit, decay * 7, out, [&](size_t i, double) {
            high.tick(rng.next());
            ring.tick(high.hp);
            const float v = (high.hp + 0.5f * ring.bp) * fall.next();
            out.add(i, v * n.velocity * gain, n.pan);
        });
    }
}

void playCrash(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng left(seedOf(n, 5)), right(seedOf(n, 6));
        Svf hl, hr;
        hl.set(3500, 0.7);
        hr.set(3500, 0.7);
        Decay fall(1.1);
        Note hit = n;
        hit.length = 0;
        sound(hit, 4, out, [&](size_t i, double t) {
            hl.tick(left.next());
            hr.tick(right.next());
            const float e =
                fall.next() * static_cast<float>(std::min(1.0, t * 500)) * n.velocity * gain;
            out.addPair(i, hl.hp * e, hr.hp * e);
        });
    }
}

// A noise sweep.
void playRiser(const std::vector<Note>& sweeps, float gain, Stereo& out) {
    for (const Note& n : sweeps) {
        Rng left(seedOf(n, 7)), right(seedOf(n, 8));
        Svf fl, fr;
        sound(n, 0, out, [&](size_t i, double t) {
            const double x = t / n.length;
            if ((i & 15) == 0) {
                const double cutoff = 200 * std::pow(40.0, x);
                fl.set(cutoff, 2.5);
                fr.set(cutoff * 1.1, 2.5);
            }
            fl.tick(left.next());
            fr.tick(right.next());
            // Swells, then stops short on the beat where the next section lands.
            const double end = std::min(1.0, (n.length - t) * 100);
            const float e = static_cast<float>(x * x * end) * n.velocity * gain;
            out.addPair(i, fl.bp * e, fr.bp * e);
        });
    }
}

// The white flash.
void playCrack(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 9));
        Svf high;
        high.set(3000, 0.7);
        // A longer flash rings a little longer.
        Decay snap(0.015), air(0.05 + 0.25 * std::min(1.0, n.length)), body(0.1), click(0.006);
        double phase = 0;
        Note hit = n;
        hit.length = 0;
        sound(hit, 0.3 + 6 * (0.05 + 0.25 * std::min(1.0, n.length)), out, [&](size_t i, double t) {
            // A snap that falls to a low knock under the noise.
            phase += (160 + 1400 * std::exp(-t / 0.006)) / rate;
            high.tick(rng.next());
            const double v =
                (0.8 * snap.next() + 0.35 * air.next() + 0.8 * click.next()) * high.hp +
                0.5 * std::sin(2 * pi * phase) * body.next();
            out.add(i, static_cast<float>(v) * n.velocity * gain, n.pan);
        });
    }
}

// Falling FM.
void playZap(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 10));
        const double f0 = hz(n.pitch);
        double phase = 0;
        Decay fall(0.2), click(0.003);
        Note hit = n;
        hit.length = 0;
        sound(hit, 1.2, out, [&](size_t i, double t) {
            // Down from five octaves above the note, its overtones closing as it falls.
            phase += f0 * (1 + 30 * std::exp(-t / 0.02)) / rate;
            const double index = 3 * std::exp(-t / 0.08);
            const double v =
                std::sin(2 * pi * phase + index * std::sin(4 * pi * phase)) * fall.next() +
                0.5 * rng.next() * click.next();
            out.add(i, static_cast<float>(v) * n.velocity * gain, -0.15f);
        });
    }
}

// Struck metal.
void playBell(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 11));
        const double f = hz(n.pitch);
        Decay ring(0.9), bright(0.3), click(0.004);
        Note hit = n;
        hit.length = 0;
        sound(hit, 5.5, out, [&](size_t i, double t) {
            // An inharmonic modulator: struck metal rather than a string.
            const double index = 0.3 + 2.5 * bright.next();
            const double body = std::sin(2 * pi * f * t + index * std::sin(2 * pi * 3.5 * f * t));
            const double shine = std::sin(2 * pi * 2.01 * f * t) * 0.3;
            const float e = ring.next();
            const double c = 0.4 * rng.next() * click.next();
            out.addPair(i, static_cast<float>((body + c) * e) * n.velocity * gain,
                        static_cast<float>((body + shine + c) * e) * n.velocity * gain);
        });
    }
}

// Up to a flash's peak.
void playSwell(const std::vector<Note>& swells, float gain, Stereo& out) {
    for (const Note& n : swells) {
        Rng left(seedOf(n, 12)), right(seedOf(n, 13));
        Svf fl, fr;
        Saw saw;
        const float inc = static_cast<float>(hz(n.pitch - 12) / rate);
        sound(n, 0, out, [&](size_t i, double t) {
            // As bright as the flash: sin squared, at its height halfway.
            const double s = std::sin(pi * t / n.length);
            const double e = s * s;
            if ((i & 15) == 0) {
                const double cutoff = 600 + 7000 * n.tone * e;
                fl.set(cutoff, 1.5);
                fr.set(cutoff * 1.1, 1.5);
            }
            const float tonal = 0.3f * saw.next(inc);
            fl.tick(left.next() + tonal);
            fr.tick(right.next() + tonal);
            const float g = static_cast<float>(e) * n.velocity * gain;
            out.addPair(i, fl.bp * g, fr.bp * g);
        });
    }
}

// A cut.
void playImpact(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        Rng rng(seedOf(n, 14));
        Svf high;
        high.set(2000, 0.7);
        double phase = 0;
        Decay boom(0.5), crack(0.02), click(0.006);
        Note hit = n;
        hit.length = 0;
        sound(hit, 3, out, [&](size_t i, double t) {
            // A deep drop under a short crack.
            phase += (38 + 110 * std::exp(-t / 0.04)) / rate;
            high.tick(rng.next());
            const double v = std::tanh(1.5 * std::sin(2 * pi * phase) * boom.next()) +
                             (0.6 * crack.next() + 0.8 * click.next()) * high.hp;
            out.add(i, static_cast<float>(v) * n.velocity * gain, 0);
        });
    }
}

// A card.
void playChime(const std::vector<Note>& hits, float gain, Stereo& out) {
    for (const Note& n : hits) {
        const double f = hz(n.pitch);
        Decay low(0.8), high(0.35);
        Note hit = n;
        hit.length = 0;
        sound(hit, 5, out, [&](size_t i, double t) {
            // Glass: a fundamental and a partial 2.76 times above it.
            const double attack = std::min(1.0, t / 0.003);
            const double v = attack * (std::sin(2 * pi * f * t) * low.next() +
                                       0.5 * std::sin(2 * pi * 2.76 * f * t) * high.next());
            out.add(i, static_cast<float>(v) * n.velocity * gain, n.pan);
        });
    }
}

void playClosedHat(const std::vector<Note>& hits, float gain, Stereo& out) {
    playHat(hits, 0.03f, gain, out);
}

void playOpenHat(const std::vector<Note>& hits, float gain, Stereo& out) {
    playHat(hits, 0.2f, gain, out);
}

} // namespace

const char* const stemNames[stems] = {"rest", "flashes", "cuts", "cards"};

const std::vector<Instrument> band = {
    {Voice::kick, playKick, 0.55f, {1, 0, 0}, Duck::none, false, Stem::rest},
    {Voice::snare, playSnare, 0.32f, {1, 0.25f, 0}, Duck::none, false, Stem::rest},
    {Voice::hat, playClosedHat, 0.25f, {1, 0.05f, 0}, Duck::none, false, Stem::rest},
    {Voice::openHat, playOpenHat, 0.16f, {1, 0.05f, 0}, Duck::none, true, Stem::rest},
    {Voice::crash, playCrash, 0.15f, {1, 0.2f, 0}, Duck::none, false, Stem::rest},
    {Voice::riser, playRiser, 0.25f, {1, 0.3f, 0}, Duck::none, false, Stem::rest},
    {Voice::bass, playBass, 0.45f, {1, 0, 0}, Duck::light, false, Stem::rest},
    {Voice::pad, playPad, 0.07f, {1, 0.35f, 0}, Duck::deep, false, Stem::rest},
    {Voice::arp, playArp, 0.12f, {1, 0.25f, 0.3f}, Duck::deep, false, Stem::rest},
    {Voice::lead, playLead, 0.17f, {1, 0.3f, 0.22f}, Duck::none, false, Stem::rest},
    {Voice::crack, playCrack, 0.3f, {1, 0.15f, 0}, Duck::none, false, Stem::flashes},
    {Voice::zap, playZap, 0.3f, {1, 0.15f, 0.1f}, Duck::none, false, Stem::flashes},
    {Voice::bell, playBell, 0.16f, {1, 0.3f, 0.15f}, Duck::none, false, Stem::flashes},
    {Voice::swell, playSwell, 0.12f, {1, 0.3f, 0}, Duck::none, false, Stem::flashes},
    {Voice::impact, playImpact, 0.35f, {1, 0.1f, 0}, Duck::none, false, Stem::cuts},
    {Voice::chime, playChime, 0.08f, {1, 0.35f, 0.3f}, Duck::none, false, Stem::cards},
};
