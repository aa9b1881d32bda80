#!/usr/bin/env bash
# Compares two folders of capture frames, file by file: passes when every frame of the
# first has a twin in the second and no channel of any pixel differs by more than
# TOLERANCE (default 2, of 255): a speed change that passes left every picture alone.
#   tools/bench/compare-frames.sh BEFORE_DIR AFTER_DIR
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 BEFORE_DIR AFTER_DIR" >&2; exit 2; }
before=$1 after=$2
tolerance=${TOLERANCE:-2}
command -v compare >/dev/null || { echo "$0: needs ImageMagick's compare" >&2; exit 2; }

frames=0 bad=0 worst=0 worstName=none
for a in "$before"/*.png; do
    [ -e "$a" ] || { echo "$0: no frames in $before" >&2; exit 2; }
    name=$(basename "$a")
    b=$after/$name
    frames=$((frames + 1))
    if [ ! -e "$b" ]; then
        echo "missing: $name"
        bad=$((bad + 1))
        continue
    fi
    # The peak absolute error, normalised to 0..1 in parentheses; as 0..255 here.
    out=$(compare -metric PAE "$a" "$b" null: 2>&1)
    norm=${out##*(}
    norm=${norm%)*}
    diff=$(awk -v n="$norm" 'BEGIN { if (n !~ /^[0-9.e+-]+$/) print -1; else printf "%d", n * 255 + 0.5 }')
    if [ "$diff" -lt 0 ]; then
        echo "cannot compare $name: $out"
        bad=$((bad + 1))
        continue
    fi
    if [ "$diff" -gt "$worst" ]; then worst=$diff worstName=$name; fi
    if [ "$diff" -gt "$tolerance" ]; then
        echo "differs by $diff: $name"
        bad=$((bad + 1))
    fi
done
echo "$frames frames, worst difference $worst ($worstName), $bad beyond $tolerance"
[ "$bad" -eq 0 ]
