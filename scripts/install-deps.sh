#!/usr/bin/env bash
# Installs the Debian packages Ornelle needs to build, run and test, skipping
# those already present. Uses sudo when not run as root.
set -euo pipefail

# dpkg-dev brings dpkg-shlibdeps, which the Debian package's dependencies
# are read with.
# qt6-svg-dev writes the SVG figures; libegl-dev and Mesa's EGL
# (libegl-mesa0) draw the EPS figure of --export where no display runs.
packages=(build-essential cmake ninja-build pkg-config dpkg-dev
          qt6-base-dev libqt6opengl6-dev qt6-svg-dev libgl2ps-dev libglu1-mesa-dev libgl1-mesa-dri
          libegl-dev libegl-mesa0 libgtest-dev libbenchmark-dev)
# The package test also validates the desktop entry and the AppStream data
# and the MIME type (update-mime-database) and looks for the installed
# program's window (xwininfo, xprop); the export test reads the EPS and
# PDF figures back with Ghostscript.
if [ "${1:-}" = "--tests" ]; then
    packages+=(xvfb xauth openbox xdotool clang libclang-rt-14-dev desktop-file-utils appstream shared-mime-info x11-utils ghostscript)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
