#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Velmora; with "web", also
# those that build the page and test it in a headless browser (make web, make test), so
# that make run does not wait for them. Idempotent: does nothing when all are there.
#   install-deps.sh [web]
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl2-dev libsdl2-mixer-dev
    libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev libegl-dev libgles-dev
    libgtest-dev
    libpng-dev libfreetype-dev fonts-dejavu-core
    xvfb xauth x11-utils xdotool imagemagick openbox python3 python3-numpy
    lame mpg123 ffmpeg faketime wmctrl aubio-tools
    dpkg-dev desktop-file-utils lintian appstream man-db
    clang libclang-rt-14-dev
)
if [ "${1:-}" = web ]; then
    packages+=(emscripten chromium chromium-driver python3-selenium)
fi

# One query for all: those it does not list as installed are missing.
installed=" $(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
              awk '/ install ok installed$/ {printf "%s ", $1}' || true)"
missing=()
for p in "${packages[@]}"; do
    [[ "$installed" == *" $p "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
# Another install in progress holds the lock: wait for it rather than fail.
$sudo apt-get -o DPkg::Lock::Timeout=600 update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q \
    --no-install-recommends "${missing[@]}"
