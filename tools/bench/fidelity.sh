#!/usr/bin/env bash
# The show's pictures against the same pictures drawn with the cube scene's designed
# meshes, at both screen sizes: velmora-bench --fidelity at 800x600, then at 640x480.
# Run from build/, beside the DATAS folder (under xvfb-run when there is no display).
#   tools/bench/fidelity.sh [BENCH_EXE]
set -euo pipefail

bench=${1:-./velmora-bench}
for size in 800x600 640x480; do
    "$bench" --fidelity --size "$size"
    echo
done
