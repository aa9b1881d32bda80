#!/usr/bin/env python3
"""Exports short spans of the show with the real capture tool and the real ffmpeg, and
reads the results back with ffprobe and ffmpeg: what a person sharing a video gets.
Run from the build folder (beside DATAS), with an X display.

    check_video.py CASE CAPTURE_EXE
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

FROM, TO, FPS = 20000, 21000, 10


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


def probe(path):
    out = run(["ffprobe", "-v", "error", "-count_frames", "-show_streams", "-show_format",
               "-of", "json", path])
    assert out.returncode == 0, out.stderr
    return json.loads(out.stdout)


def pcm(args):
    """Mono 8 kHz signed 16-bit samples that ffmpeg decodes with the given input options."""
    out = subprocess.run(["ffmpeg", "-v", "error"] + args + ["-ac", "1", "-ar", "8000",
                         "-f", "s16le", "-"], capture_output=True)
    assert out.returncode == 0, out.stderr.decode()
    data = out.stdout
    return [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data) - 1, 2)]


def correlation(a, b):
    n = min(len(a), len(b))
    a, b = a[:n], b[:n]
    ma, mb = sum(a) / n, sum(b) / n
    cov = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    va = sum((x - ma) ** 2 for x in a)
    vb = sum((y - mb) ** 2 for y in b)
    return cov / (va * vb) ** 0.5 if va and vb else 0.0


def mean_difference(png_a, png_b):
    """Mean absolute difference of two pictures, 0..1, by ImageMagick."""
    out = run(["compare", "-metric", "MAE", png_a, png_b, "null:"])
    return float(out.stderr.split("(")[1].split(")")[0])


def leftovers(folder):
    return sorted(os.listdir(folder))


def case_span(exe, work):
    """A second of the show at 10 fps, 640x480: H.264 yuv420p, AAC, the span's own
    pictures (upright) and the span's own music."""
    video = os.path.join(work, "span.mp4")
    r = run([exe, "--video", video, "--from", str(FROM), "--to", str(TO), "--fps", str(FPS),
             "--size", "640x480"])
    assert r.returncode == 0, r.stderr
    assert leftovers(work) == ["span.mp4"], leftovers(work)
    assert "frames 10/10 (100.0%)" in r.stderr, r.stderr  # the progress line

    info = probe(video)
    streams = {s["codec_type"]: s for s in info["streams"]}
    v, a = streams["video"], streams["audio"]
    assert v["codec_name"] == "h264" and v["pix_fmt"] == "yuv420p", v
    assert (v["width"], v["height"]) == (640, 480), v
    assert v["r_frame_rate"] == "10/1", v["r_frame_rate"]
    assert int(v["nb_read_frames"]) == 10, v["nb_read_frames"]
    assert abs(float(v["duration"]) - 1.0) < 0.01, v["duration"]
    assert a["codec_name"] == "aac", a
    assert abs(float(a["duration"]) - 1.0) < 0.1, a["duration"]
    assert abs(float(info["format"]["duration"]) - 1.0) < 0.1, info["format"]["duration"]

    # The first and last pictures are the capture tool's own frames at those times.
    frames = os.path.join(work, "frames")
    r = run([exe, "--size", "640x480", "--out-dir", frames, "--at", str(FROM), "--at", "20900"])
    assert r.returncode == 0, r.stderr
    first = os.path.join(work, "first.png")
    last = os.path.join(work, "last.png")
    assert run(["ffmpeg", "-v", "error", "-i", video, "-vf", "select=eq(n\\,0)", "-frames:v", "1",
                first]).returncode == 0
    assert run(["ffmpeg", "-v", "error", "-i", video, "-vf", "select=eq(n\\,9)", "-frames:v", "1",
                last]).returncode == 0
    same_first = mean_difference(first, os.path.join(frames, "frame-020000.png"))
    same_last = mean_difference(last, os.path.join(frames, "frame-020900.png"))
    crossed = mean_difference(first, os.path.join(frames, "frame-020900.png"))
    assert same_first < 0.02 and same_last < 0.02, (same_first, same_last)
    assert crossed > 2 * max(same_first, same_last), (crossed, same_first, same_last)
    flipped = os.path.join(work, "flipped.png")
    assert run(["convert", os.path.join(frames, "frame-020000.png"), "-flip", flipped]).returncode == 0
    assert mean_difference(first, flipped) > 2 * same_first, "the picture is upside down"

    # The sound is the music from 20 s to 21 s, not from its start.
    sound = pcm(["-i", video])
    music = os.path.join("DATAS", "zik.mp3")
    same = correlation(sound, pcm(["-ss", "20", "-t", "1", "-i", music]))
    other = correlation(sound, pcm(["-ss", "0", "-t", "1", "-i", music]))
    assert same > 0.9, (same, other)
    assert abs(other) < 0.5, (same, other)


def assert_refused(r, work, words):
    assert r.returncode == 1, (r.returncode, r.stderr)
    assert words in r.stderr, r.stderr
    # Nothing under the final name, and no half-written file beside it.
    assert leftovers(work) == [], leftovers(work)


def case_no_ffmpeg(exe, work):
    """ffmpeg not on the PATH: exit 1, say so, leave nothing."""
    empty = tempfile.mkdtemp()
    try:
        env = dict(os.environ, PATH=empty)
        r = run([exe, "--video", os.path.join(work, "out.mp4"), "--from", str(FROM),
                 "--to", str(FROM + 500), "--fps", str(FPS), "--size", "640x480"], env=env)
    finally:
        os.rmdir(empty)
    assert_refused(r, work, "ffmpeg is not installed")


def case_ffmpeg_fails(exe, work):
    """ffmpeg starts but cannot write its file: exit 1, say so, leave nothing."""
    r = run([exe, "--video", os.path.join(work, "missing-folder", "out.mp4"), "--from", str(FROM),
             "--to", str(FROM + 500), "--fps", str(FPS), "--size", "640x480"])
    assert_refused(r, work, "ffmpeg failed with exit status 1")


def case_ffmpeg_dies(exe, work):
    """ffmpeg killed half way through its file (it outgrows a file-size limit): exit 1,
    and the partial file is removed rather than left or renamed."""
    video = os.path.join(work, "out.mp4")
    r = run(["bash", "-c", 'ulimit -f 64 && exec "$@"', "capture", exe, "--video", video,
             "--from", str(FROM), "--to", str(FROM + 2000), "--fps", "30"])
    assert_refused(r, work, "ffmpeg was killed by signal")


def case_ffmpeg_not_runnable(exe, work):
    """An ffmpeg on the PATH that cannot be run: the reason, not "not installed"."""
    folder = tempfile.mkdtemp()
    try:
        with open(os.path.join(folder, "ffmpeg"), "w") as f:
            f.write("not a program\n")
        os.chmod(os.path.join(folder, "ffmpeg"), 0o644)
        env = dict(os.environ, PATH=folder)
        r = run([exe, "--video", os.path.join(work, "out.mp4"), "--from", str(FROM),
                 "--to", str(FROM + 500), "--fps", str(FPS), "--size", "640x480"], env=env)
    finally:
        shutil.rmtree(folder)
    assert_refused(r, work, "cannot start ffmpeg (Permission denied)")


CASES = {"span": case_span, "no_ffmpeg": case_no_ffmpeg, "ffmpeg_fails": case_ffmpeg_fails,
         "ffmpeg_dies": case_ffmpeg_dies, "ffmpeg_not_runnable": case_ffmpeg_not_runnable}


def main():
    case, exe = sys.argv[1], os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp(prefix=f"video-{case}-")
    try:
        CASES[case](exe, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"video {case}: passed")


if __name__ == "__main__":
    main()
