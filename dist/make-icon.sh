#!/bin/sh
# make-icon.sh CAPTURE OUT: the icon is the moment the title appears, its middle square
# at 256 pixels a side. Run from the build folder, beside DATAS; needs an X display,
# or xvfb-run to make one.
set -eu
capture=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "${DISPLAY:-}" ]; then
    "$capture" --size 640x480 --at 41000 --out-dir "$work" >/dev/null
else
    xvfb-run -a -s "-screen 0 1024x768x24" \
        "$capture" --size 640x480 --at 41000 --out-dir "$work" >/dev/null
fi
convert "$work/frame-041000.png" -gravity center -crop 480x480+0+0 +repage \
    -resize 256x256 -strip "$out"
