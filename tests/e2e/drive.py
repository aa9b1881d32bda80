#!/usr/bin/env python3
"""Drives the real program under an X server of its own, as a user would:
answers the start-up questions, presses keys, closes the window, grabs the screen."""
import argparse
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


class Display:
    """An Xvfb of the given size; the number is chosen by the server itself.
    With wm=True a window manager runs on it, as on a desktop."""

    def __init__(self, width, height, wm=False):
        r, w = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            self.name = ":" + f.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name)
        self.wm = None
        if wm:
            self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1.0)

    def close(self):
        if self.wm:
            self.wm.terminate()
            self.wm.wait()
        self.server.terminate()
        self.server.wait()

    def run(self, *cmd):
        return subprocess.run(cmd, env=self.env, capture_output=True, text=True).stdout

    def windows(self):
        """(id, title, width, height, x, y) of every named window."""
        found = []
        for line in self.run("xwininfo", "-root", "-tree").splitlines():
            m = re.match(r'\s*(0x[0-9a-f]+) "(.*)": .*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)', line)
            if m:
                found.append((m.group(1), m.group(2), int(m.group(3)), int(m.group(4)),
                              int(m.group(7)), int(m.group(8))))
        return found

    def wait_window(self, title, timeout=20.0, width=None):
        end = time.time() + timeout
        while time.time() < end:
            for win in self.windows():
                if win[1] == title and win[2] > 1 and (width is None or win[2] == width):
                    return win
            time.sleep(0.1)
        raise AssertionError(f"no window titled {title!r} appeared; windows: {self.windows()}")

    def wait_change(self, title, old, timeout=15.0):
        """The window once its geometry differs from `old`."""
        end = time.time() + timeout
        while time.time() < end:
            for win in self.windows():
                if win[1] == title and win[2:] != old[2:]:
                    time.sleep(0.5)  # let the program draw at the new size
                    return self.wait_window(title)
            time.sleep(0.1)
        raise AssertionError(f"window {title!r} kept its geometry {old[2:]}")

    def key(self, window, key):
        self.run("xdotool", "key", "--window", window[0], key)

    def grab(self):
        """The whole screen as (width, height, RGB bytes)."""
        out = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True).stdout
        geometry = self.run("xdpyinfo")
        w, h = map(int, re.search(r"dimensions:\s+(\d+)x(\d+)", geometry).groups())
        assert len(out) == w * h * 3, "screen grab failed"
        return w, h, out


def pixel(shot, x, y):
    w, _, data = shot
    i = (y * w + x) * 3
    return tuple(data[i:i + 3])


def colours_in(shot, x0, y0, x1, y1, step=7):
    return {pixel(shot, x, y) for y in range(y0, y1, step) for x in range(x0, x1, step)}


def start(display, exe, answers, extra_env=None):
    env = dict(display.env, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
    env.update(extra_env or {})
    # The program's own messages go to this test's log, where a failure shows them.
    proc = subprocess.Popen([exe], env=env)
    for title, key in zip(["Start FullScreen?", "yes->800x600; no->640->480?"], answers):
        box = display.wait_window(title)
        time.sleep(0.2)  # let the box map and take input
        display.key(box, key)
        # the box must go away before the next question or the window appears
        end = time.time() + 10
        while any(w[0] == box[0] for w in display.windows()) and time.time() < end:
            time.sleep(0.05)
    return proc


def wait_exit(proc, timeout):
    begin = time.time()
    try:
        code = proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        raise AssertionError(f"the program did not exit within {timeout} s")
    return code, time.time() - begin


def is_picture(shot, x0, y0, x1, y1):
    """The test show's checkerboard: both of its colours are on screen."""
    cs = colours_in(shot, x0, y0, x1, y1)
    greenish = any(g > 150 and r < 90 for r, g, b in cs)
    reddish = any(r > 150 and g < 90 for r, g, b in cs)
    return greenish and reddish


def case_windowed(exe):
    d = Display(1024, 768)
    try:
        proc = start(d, exe, ["Escape", "Escape"])
        win = d.wait_window("Morvanta Quorbel")
        assert (win[2], win[3]) == (640, 480), f"window is {win[2]}x{win[3]}, not 640x480"
        time.sleep(1.5)
        shot = d.grab()
        x, y = win[4], win[5]
        assert is_picture(shot, x + 10, y + 10, x + 630, y + 470), "the window shows no picture"
        d.key(win, "Escape")
        code, took = wait_exit(proc, 5)
        assert code == 0, f"Escape gave exit code {code}"
        assert took < 1.0, f"Escape took {took:.2f} s to end the program"
    finally:
        d.close()


def case_fullscreen(exe):
    d = Display(800, 600)
    try:
        proc = start(d, exe, ["Return", "Return"])
        win = d.wait_window("Morvanta Quorbel")
        assert (win[2], win[3]) == (800, 600), f"window is {win[2]}x{win[3]}, not 800x600"
        assert (win[4], win[5]) == (0, 0), f"full-screen window at {win[4]},{win[5]}"
        time.sleep(1.5)
        shot = d.grab()
        for cx, cy in [(5, 5), (790, 5), (5, 590), (790, 590)]:
            assert pixel(shot, cx, cy) != (0, 0, 0), f"corner {cx},{cy} is black"
        subprocess.run([os.path.join(os.path.dirname(exe), "closewindow"), win[0]], env=d.env)
        code, _ = wait_exit(proc, 5)
        assert code == 0, f"closing the window gave exit code {code}"
    finally:
        d.close()


def case_f1(exe):
    d = Display(1024, 768, wm=True)
    try:
        proc = start(d, exe, ["Escape", "Return"])
        win = d.wait_window("Morvanta Quorbel")
        assert (win[2], win[3]) == (800, 600)
        time.sleep(0.5)
        d.key(win, "F1")
        full = d.wait_change("Morvanta Quorbel", win)
        assert (full[4], full[5]) == (0, 0), f"F1 did not go full screen: {full}"
        shot = d.grab()
        assert is_picture(shot, full[4] + 10, full[5] + 10, full[4] + full[2] - 10,
                          full[5] + full[3] - 10), "no textured picture after going full screen"
        d.key(full, "F1")
        back = d.wait_change("Morvanta Quorbel", full)
        assert (back[2], back[3]) == (800, 600), f"F1 back gave {back}"
        shot = d.grab()
        assert is_picture(shot, back[4] + 10, back[5] + 10, back[4] + 790, back[5] + 590), \
            "no textured picture after leaving full screen"
        assert proc.poll() is None, "the program ended on F1"
        d.key(back, "Escape")
        code, _ = wait_exit(proc, 5)
        assert code == 0
    finally:
        d.close()


def case_ends(exe):
    d = Display(1024, 768)
    try:
        proc = start(d, exe, ["Escape", "Escape"], {"VELMORA_TESTSHOW_MS": "2000"})
        d.wait_window("Morvanta Quorbel")
        code, took = wait_exit(proc, 15)
        assert code == 0, f"the end of the show gave exit code {code}"
    finally:
        d.close()


def case_nodisplay(exe):
    env = dict(os.environ, DISPLAY=":4999")
    r = subprocess.run([exe], env=env, capture_output=True, text=True, timeout=30)
    assert r.returncode != 0, "a start without a display reported success"
    lines = [l for l in r.stderr.splitlines() if l.strip()]
    assert len(lines) == 1 and "display" in lines[0], f"unclear message: {r.stderr!r}"


def variety(shot, x0, y0, x1, y1):
    """How many distinct colours a region shows: a textured scene has many."""
    return len(colours_in(shot, x0, y0, x1, y1, step=5))


def case_show_escape(exe):
    d = Display(1024, 768)
    try:
        proc = start(d, exe, ["Escape", "Escape"])
        win = d.wait_window("Morvanta Quorbel")
        time.sleep(4.0)  # past the start of the fade-in from black
        shot = d.grab()
        x, y = win[4], win[5]
        lit = [c for c in colours_in(shot, x, y, x + 640, y + 480) if max(c) > 40]
        assert lit, "the show is still black after four seconds"
        d.key(win, "Escape")
        code, took = wait_exit(proc, 5)
        assert code == 0, f"Escape gave exit code {code}"
        assert took < 1.0, f"Escape took {took:.2f} s"
    finally:
        d.close()


def case_show_close(exe):
    d = Display(1024, 768)
    try:
        proc = start(d, exe, ["Escape", "Escape"])
        win = d.wait_window("Morvanta Quorbel")
        time.sleep(2.0)
        subprocess.run([os.path.join(os.path.dirname(exe), "tests", "closewindow"), win[0]],
                       env=d.env)
        code, _ = wait_exit(proc, 5)
        assert code == 0, f"closing the window gave exit code {code}"
    finally:
        d.close()


def case_show_f1(exe):
    d = Display(1024, 768, wm=True)
    try:
        proc = start(d, exe, ["Escape", "Return"])
        win = d.wait_window("Morvanta Quorbel")
        time.sleep(6.0)  # the rings turn in full light from five seconds on
        before = d.grab()
        x, y = win[4], win[5]
        seen = variety(before, x, y, x + 800, y + 600)
        assert seen > 50, f"only {seen} colours before F1"
        d.key(win, "F1")
        full = d.wait_change("Morvanta Quorbel", win)
        time.sleep(1.0)
        after = d.grab()
        shown = variety(after, full[4], full[5], full[4] + full[2], full[5] + full[3])
        assert shown > 50, f"only {shown} colours after F1: the scene lost its textures"
        assert proc.poll() is None, "the program ended on F1"
        d.key(full, "Escape")
        code, _ = wait_exit(proc, 5)
        assert code == 0
    finally:
        d.close()


def case_show_music(exe):
    d = Display(1024, 768)
    raw = os.path.abspath("e2e-show-music.raw")
    try:
        if os.path.exists(raw):
            os.remove(raw)
        proc = start(d, exe, ["Escape", "Escape"],
                     {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": raw})
        win = d.wait_window("Morvanta Quorbel")
        time.sleep(4.0)
        d.key(win, "Escape")
        code, _ = wait_exit(proc, 5)
        assert code == 0
        with open(raw, "rb") as f:
            first_second = f.read(44100 * 4)  # 16-bit stereo
        assert len(first_second) == 44100 * 4, "less than a second of sound came out"
        samples = [int.from_bytes(first_second[i:i + 2], "little", signed=True)
                   for i in range(0, len(first_second), 2)]
        peak = max(abs(v) for v in samples)
        assert peak > 300, f"the first second of music is silent (peak {peak})"
    finally:
        d.close()


def case_show_whole(exe):
    d = Display(1024, 768)
    try:
        proc = start(d, exe, ["Escape", "Escape"])
        d.wait_window("Morvanta Quorbel")
        code, took = wait_exit(proc, 240)
        assert code == 0, f"the end of the show gave exit code {code}"
        # the clock starts once everything is loaded, a moment after the window appears
        assert 175.0 <= took <= 185.0, f"the show ended after {took:.1f} s, not 175.6 s"
    finally:
        d.close()


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    ap = argparse.ArgumentParser()
    ap.add_argument("case", choices=sorted(CASES))
    ap.add_argument("exe")
    args = ap.parse_args()
    try:
        CASES[args.case](os.path.abspath(args.exe))
    except AssertionError as e:
        print(f"FAILED: {e}", file=sys.stderr)
        sys.exit(1)
    print("ok")
