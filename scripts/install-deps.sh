#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Velmora.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl2-dev libsdl2-mixer-dev
    libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev
    libgtest-dev
    libpng-dev libfreetype-dev fonts-dejavu-core
    xvfb xauth x11-utils xdotool imagemagick openbox python3 python3-numpy
    lame mpg123 ffmpeg faketime wmctrl aubio-tools
    dpkg-dev desktop-file-utils lintian appstream man-db
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
