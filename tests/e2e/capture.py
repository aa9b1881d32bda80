#!/usr/bin/env python3
"""Runs velmora-capture as a user would and checks what it writes and says."""
import os
import shutil
import subprocess
import sys
import tempfile

EXE = None


def run(*args, env=None):
    return subprocess.run([EXE, *args], capture_output=True, text=True, env=env, timeout=300)


def identify(path):
    out = subprocess.run(["identify", "-format", "%w %h %[channels] %z", path],
                         capture_output=True, text=True).stdout.split()
    return out


def same_pixels(a, b):
    r = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return r.stderr.strip() == "0"


def case_frames(out):
    r = run("--at", "175625", "--size", "640x480", "--out-dir", out, "--at", "41000")
    assert r.returncode == 0, r.stderr
    assert r.stdout.splitlines() == ["frame-175625.png end", "frame-041000.png drawn"], r.stdout
    w, h, channels, depth = identify(os.path.join(out, "frame-041000.png"))
    assert (w, h, depth) == ("640", "480", "8") and channels.startswith("srgb"), (w, h, channels)


def case_span(out):
    r = run("--fps", "4", "--from", "1000", "--to", "2000", "--out-dir", out)
    assert r.returncode == 0, r.stderr
    names = sorted(os.listdir(out))
    assert names == [f"frame-{t:06d}.png" for t in (1000, 1250, 1500, 1750)], names


def case_repeatable(out):
    # A frame is the same whether it is the first one drawn or follows others.
    a, b = os.path.join(out, "a"), os.path.join(out, "b")
    assert run("--at", "21499", "--out-dir", a).returncode == 0
    assert run("--at", "30000", "--at", "21499", "--out-dir", b).returncode == 0
    assert same_pixels(os.path.join(a, "frame-021499.png"), os.path.join(b, "frame-021499.png")), \
        "the frame depends on what was drawn before it"


def case_bad_arguments(out):
    for args in (["--size", "1920x1080", "--at", "0"], ["--at", "x"], [], ["--fps", "30", "--at", "5"]):
        r = run(*args)
        assert r.returncode == 2, (args, r.returncode)
        assert "usage: velmora-capture" in r.stderr, r.stderr
    assert not os.listdir(out)


def case_no_display(out):
    env = dict(os.environ, DISPLAY=":4999")
    r = run("--at", "0", "--out-dir", out, env=env)
    assert r.returncode == 1, r.returncode
    lines = [l for l in r.stderr.splitlines() if l.strip()]
    assert len(lines) == 1 and "display" in lines[0], r.stderr


def case_unwritable(out):
    blocker = os.path.join(out, "file")
    open(blocker, "w").close()
    r = run("--at", "0", "--out-dir", os.path.join(blocker, "sub"))
    assert r.returncode == 1 and "cannot write" in r.stderr, (r.returncode, r.stderr)


CASES = {n[5:]: f for n, f in globals().items() if n.startswith("case_")}

if __name__ == "__main__":
    case, EXE = sys.argv[1], os.path.abspath(sys.argv[2])
    out = tempfile.mkdtemp(prefix="capture-", dir=".")
    try:
        CASES[case](out)
    except AssertionError as e:
        print(f"FAILED: {e}", file=sys.stderr)
        sys.exit(1)
    finally:
        shutil.rmtree(out, ignore_errors=True)
    print("ok")
