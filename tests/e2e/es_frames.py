#!/usr/bin/env python3
"""velmora-capture-es against velmora-capture: no system GL linked, the same --help, and
the show's landmarks (the rings under the glow, a text card, a wipe, the outlined scene,
the moving background) within the fidelity bounds: no frame below 40 dB PSNR, their
median at least 50 dB.
    es_frames.py BUILD_DIR"""
import os, re, statistics, subprocess, sys, tempfile

MOMENTS = [7000, 31000, 41000, 60000, 72000, 130000]

def run(*cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=300, **kw)

def main(build):
    tools = [os.path.join(build, t) for t in ("velmora-capture", "velmora-capture-es")]
    linked = run("ldd", tools[1]).stdout
    assert not re.search(r"lib(GL|GLX|GLU|glut|GLESv2)\.so", linked), f"a system GL linked:\n{linked}"
    helps = [run(t, "--help").stdout.replace("velmora-capture-es", "velmora-capture") for t in tools]
    assert helps[0] == helps[1] and helps[0], "the two tools' --help differ"
    out = tempfile.mkdtemp(prefix="es-frames-")
    at = [a for t in MOMENTS for a in ("--at", str(t))]
    for tool, folder in zip(tools, ("gl", "es")):
        r = run(tool, "--size", "640x480", "--out-dir", os.path.join(out, folder), *at, cwd=build)
        assert r.returncode == 0, (tool, r.stderr)
    db = {}
    for t in MOMENTS:
        name = f"frame-{t:06d}.png"
        r = run("compare", "-metric", "PSNR", *(os.path.join(out, f, name) for f in ("gl", "es")), "null:")
        said = r.stderr.split()[0]
        db[t] = float("inf") if said == "inf" else float(said)
    subprocess.run(["rm", "-rf", out])
    print(" ".join(f"{t}:{d:.1f}" for t, d in db.items()))
    assert min(db.values()) >= 40, f"a frame below 40 dB: {db}"
    assert statistics.median(db.values()) >= 50, f"median below 50 dB: {db}"

if __name__ == "__main__":
    try:
        main(os.path.abspath(sys.argv[1]))
    except AssertionError as e:
        sys.exit(f"FAILED: {e}")
    print("ok")
