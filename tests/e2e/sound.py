#!/usr/bin/env python3
"""The music against the show: the built file's form, how many of the show's visible
moments it hits, and whether a recording plays it through in order.
sound.py music BUILD_DIR checks the built music; sound.py stems BUILD_DIR checks each hit
on a stem of its own; sound.py figures BUILD_DIR prints the hit shares at a few onset
thresholds beside the same moments shifted at random."""
import array, json, os, random, subprocess, sys, tempfile
import numpy as np

def decode(path, rate, raw=False, skip=0, seconds=999):
    """The file (or raw 16-bit stereo at 44.1 kHz) as mono 16-bit samples at `rate` Hz,
    from its sample `skip` at 44.1 kHz on."""
    source = ["-f", "s16le", "-ar", "44100", "-ac", "2"] if raw else []
    data = subprocess.run(["ffmpeg", "-v", "error", *source, "-i", path, "-af", f"atrim=start_sample={skip},asetpts=PTS-STARTPTS",
                           "-t", str(seconds), "-ac", "1", "-ar", str(rate), "-f", "s16le", "-"],
                          capture_output=True, check=True).stdout
    return array.array("h", data[:len(data) // 2 * 2])

def onsets(mp3, threshold, *options):
    """aubioonset's onsets in ms, on the music decoded to mono 44.1 kHz."""
    with tempfile.NamedTemporaryFile(suffix=".wav") as wav:
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", mp3, "-ac", "1", "-ar", "44100", wav.name], check=True)
        out = subprocess.run(["aubioonset", "-i", wav.name, "-t", str(threshold), "-T", "ms",
                              *options],
                             capture_output=True, text=True, check=True).stdout
    return [float(x) for x in out.split()]

def moments(show_txt, kinds=("cut", "flash")):
    """The visible flashes (modes 0 to 2 as drawn), the scene cuts and the card changes among
    `kinds`, each as the times it may be heard at: when it shows, and a flash's brightest
    moment if that shows."""
    found = []
    for words in map(str.split, open(show_txt)):
        if words[0] not in kinds:
            continue
        if words[0] in ("cut", "card"):
            found.append([int(words[1])])
        elif words[0] == "flash" and 0 <= int(words[5]) <= 2:
            start, end, shown, hidden = map(int, words[1:5])
            peak = start + (end - start) // 2
            found.append([shown] + ([peak] if shown <= peak < hidden else []))
    return found

def hit_share(events, heard, within=20):
    """The share of `events` with an onset within `within` ms of one of its times."""
    near = lambda t: any(abs(h - t) <= within for h in heard)
    return sum(any(map(near, times)) for times in events) / len(events)

def shifted(events, seed):
    """The same events, each moved by 1 to 3 s either way: what chance scores."""
    rng = random.Random(seed)
    by = [rng.choice([-1, 1]) * rng.uniform(1000, 3000) for _ in events]
    return [[t + d for t in times] for times, d in zip(events, by)]

def likeness(p, q):
    """How alike two runs of samples are over their common length: their correlation, 1 at most."""
    n = min(len(p), len(q))
    pq, pp, qq = (sum(x * y for x, y in zip(a[:n], b[:n])) for a, b in [(p, q), (p, p), (q, q)])
    return pq / ((pp * qq) ** 0.5 or 1)

def first_sound(samples, floor=64):
    return next(i for i, x in enumerate(samples) if abs(x) > floor)

def locate(mp3, heard, near, span=300):
    """Where in the music (ms) the mono samples `heard` play, within `span` ms of `near`,
    and how alike they are there (1 at most): normalised correlation at 44.1 kHz."""
    lo = max(0, near - span)
    m = np.array(decode(mp3, 44100, skip=int(lo * 44.1), seconds=2 * span / 1000 + len(heard) / 44100),
                 float)
    n, h = len(m) + len(heard), np.array(heard, float)
    dots = np.fft.irfft(np.fft.rfft(m, n) * np.conj(np.fft.rfft(h, n)), n)[:len(m) - len(h) + 1]
    c = np.concatenate([[0], np.cumsum(m * m)])
    alike = dots / np.sqrt(np.maximum((c[len(h):] - c[:-len(h)]) * (h @ h), 1))
    return lo + np.argmax(alike) / 44.1, alike.max()

def unlike_seconds(heard, mp3, near=0, rate=8000):
    """The seconds of the music that `heard` (raw, as SDL's disk driver writes it) does not
    play in order from where it begins, found within a second of `near` ms; a restart or a
    stutter shifts every second after it."""
    sound = decode(heard, 44100, True, seconds=30)
    a = first_sound(sound)
    at = locate(mp3, sound[a:a + 11025], near, 1000)[0]
    sound, music = decode(heard, rate, True, a), decode(mp3, rate, skip=round(at * 44.1))
    bad = []
    for s in range(len(music) // rate):
        p, q = sound[s * rate:(s + 1) * rate], music[s * rate:(s + 1) * rate]
        if sum(x * x for x in q) > rate * 100 ** 2 and (len(p) < rate or likeness(p, q) < 0.9):
            bad.append(s)
    return bad

def music(build):
    """176 s of 44.1 kHz stereo, peaks at or below -1 dBFS, and a hit on nine moments in ten."""
    mp3 = os.path.join(build, "DATAS/zik.mp3")
    a = json.loads(subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-of", "json", mp3],
                                  capture_output=True, text=True).stdout)["streams"][0]
    assert (a["sample_rate"], a["channels"]) == ("44100", 2) and abs(float(a["duration"]) - 176) < 0.1, a
    stats = subprocess.run(["ffmpeg", "-i", mp3, "-af", "astats=measure_perchannel=none", "-f", "null", "-"],
                           capture_output=True, text=True).stderr
    peak = float(stats.split("Peak level dB:")[1].split()[0])
    assert peak <= -1, f"peaks at {peak} dBFS"
    share = hit_share(moments(os.path.join(build, "tools/assetgen/show.txt")), onsets(mp3, 0.3))
    assert share >= 0.9, f"onsets on {share:.0%} of the flashes and cuts"

def stems(build):
    """Every flash's hit, every cut's impact and every card's chime on a stem of its own
    kind (the same score and mix, the other voices silent), its attack within 10 ms of
    the moment; the attacks elsewhere (risers and swells leading into hits) counted."""
    show = os.path.join(build, "tools/assetgen/show.txt")
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([os.path.join(build, "tools/assetgen/assetgen_music"), show, f"{folder}/stem",
                        "--stems"], check=True)
        for kind, stem in [("flash", "flashes"), ("cut", "cuts"), ("card", "cards")]:
            # in steps of 64 samples, 1.5 ms
            heard = onsets(f"{folder}/stem-{stem}.wav", 0.3, "-H", "64", "-B", "512")
            events = moments(show, [kind])
            missed = [each for each in events if hit_share([each], heard, within=10) < 1]
            times = [t for each in events for t in each]
            elsewhere = [t for t in heard if hit_share([[t]], times, within=10) < 1]
            assert events and not missed, \
                f"{len(missed)} of {len(events)} {stem} without an attack: {missed}"
            print(f"{stem}: {len(events)} hit, {len(elsewhere)} attacks elsewhere",
                  [round(t) for t in elsewhere])

def figures(build):
    events = moments(os.path.join(build, "tools/assetgen/show.txt"))
    print(f"{len(events)} moments")
    for threshold in [0.3, 0.6, 1.0]:
        heard = onsets(os.path.join(build, "DATAS/zik.mp3"), threshold)
        chance = sum(hit_share(shifted(events, s), heard) for s in range(20)) / 20
        print(f"threshold {threshold}: {len(heard)} onsets, {hit_share(events, heard):.0%} of the moments hit, "
              f"{chance:.0%} shifted at random")

if __name__ == "__main__":
    try:
        {"music": music, "stems": stems, "figures": figures}[sys.argv[1]](os.path.abspath(sys.argv[2]))
    except AssertionError as e:
        sys.exit(f"FAILED {sys.argv[1]}: {e}")
    print("ok")
