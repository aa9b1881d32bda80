#!/usr/bin/env python3
"""Drives the real programs as a user would, each case on an X server of its own:
answers the demo's questions, presses keys, closes its window, grabs the screen, runs
the capture tool and reads back what it wrote. Run from the build folder:

    drive.py CASE BUILD_DIR
"""
import array, json, os, re, shutil, subprocess, sys, tempfile, time

SHOW = 175.625  # seconds
FAST = ["faketime", "-f", "+0 x10"]  # the demo's clocks, and SDL's with them, ten times faster


class Display:
    def __init__(self, width, height, wm=False):
        r, w = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", f"{width}x{height}x24",
                                        "-nolisten", "tcp"], pass_fds=(w,), stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            self.env = dict(os.environ, DISPLAY=":" + f.readline().strip())
        self.wm = wm and subprocess.Popen(["openbox", "--sm-disable"], env=self.env, stderr=subprocess.DEVNULL)
        self.size = (width, height)
        if wm:
            time.sleep(1)

    def close(self):
        for p in filter(None, [self.wm, self.server]):
            p.terminate()
            p.wait()

    def run(self, *cmd):
        return subprocess.run(cmd, env=self.env, capture_output=True, text=True).stdout

    def window(self, title, changed_from=None, timeout=30):
        """(id, width, height, x, y) of the window, once it differs from `changed_from`."""
        end = time.time() + timeout
        while time.time() < end:
            for line in self.run("xwininfo", "-root", "-tree").splitlines():
                m = re.match(r'\s*(0x\w+) "(.*)": .*?(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
                if m and m[2] == title and int(m[3]) > 1:
                    win = (m[1],) + tuple(map(int, m.groups()[2:]))
                    if changed_from is None or win[1:] != changed_from[1:]:
                        return win
            time.sleep(0.1)
        raise AssertionError(f"no window {title!r} (other than {changed_from})")

    def key(self, win, key):
        self.run("xdotool", "key", "--window", win[0], key)

    def grab(self):
        """The screen as a function of (x, y) to RGB."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env,
                              capture_output=True).stdout
        w = self.size[0]
        assert len(data) == w * self.size[1] * 3, "screen grab failed"
        return lambda x, y: tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3])


def colours(shot, x0, y0, x1, y1, step=5):
    return {shot(x, y) for y in range(y0, y1, step) for x in range(x0, x1, step)}


def start_demo(d, build, answers, env=None, fast=True):
    """Starts the demo, answers its two questions (Return is Yes, Escape No)."""
    proc = subprocess.Popen((FAST if fast else []) + [os.path.join(build, "velmora")],
                            env={**d.env, "SDL_AUDIODRIVER": "dummy", **(env or {})}, cwd=build)
    for title, key in zip(["Start FullScreen?", "yes->800x600; no->640->480?"], answers):
        box = d.window(title)
        time.sleep(0.3)  # let the box map and take input
        d.key(box, key)
    return proc, d.window("Morvanta Quorbel")


def wait_exit(proc, timeout):
    begin = time.time()
    try:
        return proc.wait(timeout), time.time() - begin
    except subprocess.TimeoutExpired:
        proc.kill()
        raise AssertionError(f"still running after {timeout} s")


def demo_escape(d, build):
    proc, win = start_demo(d, build, ["Escape", "Escape"])
    assert win[1:3] == (640, 480), f"window {win}"
    time.sleep(1.0)  # ten seconds of show: past the fade-in
    x, y = win[3], win[4]
    assert len(colours(d.grab(), x, y, x + 640, y + 480)) > 50, "no picture in the window"
    d.key(win, "Escape")
    code, took = wait_exit(proc, 5)
    assert code == 0 and took < 2, f"Escape: exit {code} after {took:.1f} s"


def demo_f1_close(d, build):
    proc, win = start_demo(d, build, ["Escape", "Return"], fast=False)
    assert win[1:3] == (800, 600), f"window {win}"
    for want in [(1024, 768, 0, 0), (800, 600)]:
        time.sleep(1.0)
        d.key(win, "F1")
        win = d.window("Morvanta Quorbel", changed_from=win)
        assert win[1:1 + len(want)] == want, f"F1 gave {win}, not {want}"
        time.sleep(1.0)
        seen = len(colours(d.grab(), win[3], win[4], win[3] + win[1], win[4] + win[2]))
        assert seen > 50, f"only {seen} colours after F1: the scene lost its textures"
    subprocess.run(["wmctrl", "-c", "Morvanta Quorbel"], env=d.env)  # the window manager's close
    code, _ = wait_exit(proc, 5)
    assert code == 0, f"closing the window: exit {code}"


def demo_whole_16x9(d, build):
    """Full screen on a 16:9 screen: the 800x600 show fitted 960x720 between black bars,
    played to its own end on the sped-up clock, its music mixed into a file."""
    sound = os.path.join(tempfile.mkdtemp(), "sound.raw")
    proc, win = start_demo(d, build, ["Return", "Return"], {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": sound})
    began = time.time()
    checked = False
    while not checked and proc.poll() is None:  # wait for the background, grey and never black
        shot = d.grab()
        middle = all(max(shot(x, y)) > 0 for x in range(160, 1120, 4) for y in range(0, 720, 60))
        if middle:
            bars = colours(shot, 0, 0, 160, 720, 3) | colours(shot, 1120, 0, 1280, 720, 3)
            assert bars == {(0, 0, 0)}, f"the bars are not black: {sorted(bars)[-3:]}"
            checked = True
    assert checked, "never saw the background fill the middle"
    code, _ = wait_exit(proc, 30)
    took = time.time() - began
    assert code == 0 and SHOW / 10 - 0.5 <= took <= SHOW / 10 + 6, f"exit {code} after {took:.2f} s"
    with open(sound, "rb") as f:  # 16-bit stereo: the loading's silence, then the music
        samples = array.array("h", f.read(44100 * 4 * 20))
    peak = max(map(abs, samples), default=0)
    assert len(samples) == 44100 * 2 * 20 and peak > 3000, f"no music in the first 20 s ({peak})"
    shutil.rmtree(os.path.dirname(sound))


def no_display(build):
    for exe, code in [("velmora", 1), ("velmora-capture", 1)]:
        r = subprocess.run([os.path.join(build, exe), "--at", "0"][:1 if exe == "velmora" else 3],
                           env=dict(os.environ, DISPLAY=":4999"), capture_output=True, text=True, cwd=build)
        lines = [l for l in r.stderr.splitlines() if l.strip()]
        assert r.returncode == code and len(lines) == 1 and "display" in lines[0], (exe, r.returncode, r.stderr)


def capture(build, *args, env=None):
    return subprocess.run([os.path.join(build, "velmora-capture"), *args], capture_output=True, text=True,
                          env=env, cwd=build, timeout=120)


def same_pixels(a, b):
    return subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                          text=True).stderr.strip() == "0"


def capture_frames(build, out):
    r = capture(build, "--at", "175625", "--size", "640x480", "--out-dir", out, "--at", "41000")
    assert r.returncode == 0 and r.stdout.splitlines() == ["frame-175625.png end", "frame-041000.png drawn"], r
    size = subprocess.run(["identify", "-format", "%w %h", os.path.join(out, "frame-041000.png")],
                          capture_output=True, text=True).stdout
    assert size == "640 480", size
    r = capture(build, "--fps", "4", "--from", "1000", "--to", "2000", "--out-dir", out + "/span")
    names = sorted(os.listdir(out + "/span"))
    assert r.returncode == 0 and names == [f"frame-{t:06d}.png" for t in (1000, 1250, 1500, 1750)], names
    # A frame is the same whether it is the first drawn or follows others.
    capture(build, "--at", "30000", "--at", "21499", "--out-dir", out + "/after")
    capture(build, "--at", "21499", "--out-dir", out + "/alone")
    assert same_pixels(out + "/alone/frame-021499.png", out + "/after/frame-021499.png"), "depends on the frame before"


def capture_refusals(build, out):
    for args in (["--size", "1920x1080", "--at", "0"], ["--at", "x"], [], ["--fps", "30", "--at", "5"]):
        r = capture(build, *args)
        assert r.returncode == 2 and "usage: velmora-capture" in r.stderr, (args, r.returncode, r.stderr)
    open(out + "/file", "w").close()
    r = capture(build, "--at", "0", "--out-dir", out + "/file/sub")
    assert r.returncode == 1 and "cannot write" in r.stderr, r
    no_display(build)


def video(build, out, *args, env=None):
    return capture(build, "--video", os.path.join(out, "v.mp4"), "--from", "20000", *args, env=env)


def probe(path):
    r = subprocess.run(["ffprobe", "-v", "error", "-count_frames", "-show_streams", "-of", "json", path],
                       capture_output=True, text=True)
    return {s["codec_type"]: s for s in json.loads(r.stdout)["streams"]}


def pcm(*args):
    data = subprocess.run(["ffmpeg", "-v", "error", *args, "-ac", "1", "-ar", "8000", "-f", "s16le", "-"],
                          capture_output=True).stdout
    return [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data) - 1, 2)]


def correlation(a, b):
    n = min(len(a), len(b))
    ma, mb = sum(a[:n]) / n, sum(b[:n]) / n
    cov = sum((x - ma) * (y - mb) for x, y in zip(a[:n], b[:n]))
    return cov / (sum((x - ma) ** 2 for x in a[:n]) * sum((y - mb) ** 2 for y in b[:n])) ** 0.5


def video_span(build, out):
    """A second at 10 fps, 640x480: H.264 with AAC, the span's own pictures and music."""
    r = video(build, out, "--to", "21000", "--fps", "10", "--size", "640x480")
    assert r.returncode == 0 and os.listdir(out) == ["v.mp4"], (r.stderr, os.listdir(out))
    s = probe(os.path.join(out, "v.mp4"))
    v, a = s["video"], s["audio"]
    assert (v["codec_name"], v["pix_fmt"], v["width"], v["height"], v["nb_read_frames"]) == \
           ("h264", "yuv420p", 640, 480, "10"), v
    assert a["codec_name"] == "aac" and abs(float(a["duration"]) - 1) < 0.1, a
    capture(build, "--size", "640x480", "--out-dir", out, "--at", "20000")
    subprocess.run(["ffmpeg", "-v", "error", "-i", out + "/v.mp4", "-frames:v", "1", out + "/first.png"])
    mae = subprocess.run(["compare", "-metric", "MAE", out + "/first.png", out + "/frame-020000.png", "null:"],
                         capture_output=True, text=True).stderr
    assert float(mae.split("(")[1].split(")")[0]) < 0.02, f"the first picture is not the frame at 20 s: {mae}"
    sound = pcm("-i", out + "/v.mp4")
    music = os.path.join(build, "DATAS", "zik.mp3")
    assert correlation(sound, pcm("-ss", "20", "-t", "1", "-i", music)) > 0.9, "not the music at 20 s"


def video_failures(build, out):
    """Whatever becomes of ffmpeg: exit 1, the reason, and no file left behind."""
    empty, fake = tempfile.mkdtemp(), tempfile.mkdtemp()
    with open(fake + "/ffmpeg", "w") as f:
        f.write("not a program\n")
    os.chmod(fake + "/ffmpeg", 0o644)
    short = ["--to", "20500", "--fps", "10", "--size", "640x480"]
    for why, r in [("ffmpeg is not installed", video(build, out, *short, env=dict(os.environ, PATH=empty))),
                   ("cannot start ffmpeg (Permission denied)", video(build, out, *short, env=dict(os.environ, PATH=fake))),
                   ("ffmpeg failed with exit status 1", video(build, out + "/missing", *short)),
                   ("ffmpeg was killed by signal", subprocess.run(
                       ["bash", "-c", 'ulimit -f 16 && exec "$@"', "-", os.path.join(build, "velmora-capture"),
                        "--video", out + "/v.mp4", "--from", "20000", "--to", "21000", "--fps", "20"],
                       capture_output=True, text=True, cwd=build))]:
        assert r.returncode == 1 and why in r.stderr and os.listdir(out) == [], (why, r.returncode, r.stderr,
                                                                                os.listdir(out))
    shutil.rmtree(empty), shutil.rmtree(fake)


# name: (what it runs on: a screen of width, height and window manager, or a work folder)
CASES = {
    "demo_escape": ((1024, 768, False), demo_escape),
    "demo_f1_close": ((1024, 768, True), demo_f1_close),
    "demo_whole_16x9": ((1280, 720, True), demo_whole_16x9),
    "capture_frames": ("folder", capture_frames),
    "capture_refusals": ("folder", capture_refusals),
    "video_span": ("folder", video_span),
    "video_failures": ("folder", video_failures),
}

if __name__ == "__main__":
    name, build = sys.argv[1], os.path.abspath(sys.argv[2])
    on, case = CASES[name]
    place = Display(*on) if on != "folder" else tempfile.mkdtemp(prefix="e2e-")
    try:
        case(place, build) if on != "folder" else case(build, place)
    except AssertionError as e:
        sys.exit(f"FAILED {name}: {e}")
    finally:
        place.close() if on != "folder" else shutil.rmtree(place, ignore_errors=True)
    print("ok")
