#!/usr/bin/env python3
"""Runs the real benchmark over a coarse step and checks what it reports, not how fast:
one JSON object of the documented shape, every section of the scene track in order,
every moment counted once, and the bare reference beside exactly the tile variants.

    check_bench_json.py BENCH_EXE
"""
import json
import subprocess
import sys

STEP = 7000
SHOW = 175625


def main():
    out = subprocess.run([sys.argv[1], "--json", "--step", str(STEP), "--size", "640x480"],
                         capture_output=True, text=True, timeout=300)
    assert out.returncode == 0, out.stderr
    report = json.loads(out.stdout)
    assert set(report) == {"startup_ms", "sections", "show", "peak_rss_mb"}, report.keys()
    assert report["startup_ms"] > 0 and report["peak_rss_mb"] > 0

    sections = report["sections"]
    assert len(sections) == 13, len(sections)
    assert sections[0]["start_ms"] == 0 and sections[-1]["end_ms"] == SHOW
    for before, after in zip(sections, sections[1:]):
        assert before["end_ms"] == after["start_ms"], (before, after)
    moments = list(range(0, SHOW, STEP))
    for s in sections:
        inside = [t for t in moments if s["start_ms"] <= t < s["end_ms"]]
        assert s["frames"] == len(inside), s
        if inside:
            assert 0 < s["median_ms"] <= s["p95_ms"], s
        tiles = s["effect"] in ("CubeVom method 0", "CubeVom method 1", "CubeVom method 5",
                                "CubeVom method 6")
        has_bare = "bare_median_ms" in s
        assert has_bare == (tiles and bool(inside)), s
        if has_bare:
            assert s["bare_median_ms"] > 0 and s["scene_median_ms"] > 0 and s["scene_over_bare"] > 0
    effects = [s["effect"] for s in sections]
    assert effects[3] == "CubeVom method 3" and effects[4] == "Tea" and effects[11] == "Fond", effects

    show = report["show"]
    assert 0 < show["median_ms"] <= show["p95_ms"] <= show["worst_ms"], show

    # Anything else on the command line is refused with the usage.
    bad = subprocess.run([sys.argv[1], "--step", "0"], capture_output=True, text=True)
    assert bad.returncode == 2 and "usage: velmora-bench" in bad.stderr, bad.stderr
    print("bench json: passed")


if __name__ == "__main__":
    main()
